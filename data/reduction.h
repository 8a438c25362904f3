// Thinning a large 2D data set to the points its raster picture can show. gnuplot's time grows
// with the points it draws (a million antialiased segments take minutes), not with the pixels; a
// few points per pixel column, chosen with care, draw the same picture in a fraction of a second.
//
// What gnuplot with a cairo terminal does, and the reduction keeps (measured with gnuplot 5.4):
//  * A "lines" data set is one path, stroked once: overlapping segments do not darken each other.
//    Coordinates are whole units of 1/200 pixel, and a segment that is exactly vertical or
//    horizontal and longer than a pixel is moved onto the pixel grid. Each kept point therefore
//    keeps its original neighbours, so that gnuplot takes the same decision for it; dense smooth
//    stretches, which gnuplot draws as a fine staircase, are drawn as one.
//  * A line two pixels wide whose noise draws a solid band is drawn with its strokes cut where
//    they enter the band's interior (data/reduction_band.h).
//  * Point marks, dots and impulses are strokes of their own whose antialiased edges darken each
//    other: a few per pixel cell keep the picture. With the plot's layout, which a run of its
//    script tells, marks and dots land on known pixels (data/pixel_grid.h): a filled circle that
//    the solid cores of kept ones cover is left out, and a pixel keeps the dots that set its shade.
//  * A filled curve is one polygon filled once: per bucket, a ramp through the quantiles of the
//    curve's heights covers the same area at each height.
// Points are bucketed over the visible x range (the data's own when x is autoscaled: the axes are
// at least as wide), a few buckets per pixel column, in log space on a log axis; the points that
// set the autoscaled ranges are always kept. With an explicit x range, points beyond it are left
// out but for one beyond each edge, so that a line enters and leaves the frame as before (gnuplot
// autoscales y over the points inside the x range only).
//
// The values are read where they lie, in their own element type; the joined styles read each
// point once, while the column statistics that the digits rule needs are gathered on the way.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "data/column_digits.h"
#include "data/dot_shades.h"
#include "plot/data_set.h"
#include "rizari/codes.h"

namespace rizari {

// One column of values as they lie in memory: entry i, of the element type, at base + i * stride.
struct ValueColumn {
    const unsigned char* base = nullptr;
    std::size_t stride = sizeof(double);
    int elementType = ElementType::Double;
};

// Whether the reduction reads values of this element type (8-bit entries are written as
// characters, which gnuplot does not read as their numbers).
bool readableElementType(int elementType);

// Entry i of a column, as a double.
double valueAt(const ValueColumn& column, std::size_t i);

// The x and y values of a data set's points.
class PointColumns {
public:
    PointColumns(ValueColumn x, ValueColumn y, std::size_t count) : x_(x), y_(y), count_(count) {}
    // Doubles: point i's x at xs + i * stride, its y at ys + i * stride.
    PointColumns(const unsigned char* xs, const unsigned char* ys, std::size_t stride, std::size_t count)
        : PointColumns({xs, stride, ElementType::Double}, {ys, stride, ElementType::Double}, count)
    {
    }
    std::size_t size() const { return count_; }
    double x(std::size_t i) const { return valueAt(x_, i); }
    double y(std::size_t i) const { return valueAt(y_, i); }
    const ValueColumn& xColumn() const { return x_; }
    const ValueColumn& yColumn() const { return y_; }

private:
    ValueColumn x_;
    ValueColumn y_;
    std::size_t count_;
};

// How a style's points reach the picture, as far as the reduction is concerned.
enum class ReducedStyle {
    Lines,        // joined points
    Steps,        // joined, the style drawing its own risers (steps, fsteps, histeps)
    LinesPoints,  // joined points with a mark on each
    Impulses,
    Points,
    Dots,
    FilledCurve,  // filled down (or up) to a horizontal line
};

// What gnuplot does with a point that the writer leaves out (NaN): joins its neighbours, or, as
// in a table written as given, breaks the line there.
enum class MissingPoints { Joined, Break };

// The most pixels the plot area of a data set can span: the terminal's share of its plot.
struct PixelArea {
    int width = 0;
    int height = 0;
};

// An explicit range of an axis, as given (either end may be the larger).
struct AxisSpan {
    double from = 0;
    double to = 0;
};

// The picture a data set is thinned for: its pixels and the axes' mapping.
struct PictureAxes {
    PixelArea area;
    std::optional<AxisSpan> xRange;  // none: autoscaled to the data
    std::optional<AxisSpan> yRange;
    bool logX = false;
    bool logY = false;
    double lineWidth = 0;   // the width of a line in pixels where it is known, else 0
    double markRadius = 0;  // the radius of a mark (a filled circle) in pixels where it is known, else 0
    std::optional<PlotLayout> layout;  // where gnuplot puts the plot area, when it told
    bool extremesOnly = false;         // hand out only the points that set the ranges
    bool dotsAsImage = false;          // dots may be drawn as an image of their shades (data/dot_shades.h)
};

// Buckets per pixel column of the joined styles (twice as many for the steps).
inline constexpr int kBucketsPerPixel = 4;
// A data set is reduced only above this many finite points per pixel column: below it the
// reduction would keep too large a share to pay off, and every ordinary data set stays whole.
inline constexpr int kReductionThresholdPerPixel = 40;

// The receiver of the kept points, in drawing order.
class KeptPoints {
public:
    virtual ~KeptPoints() = default;
    // The statistics of the columns as far as the reduction read them, before the first point.
    virtual void statistics(const ColumnStats& /*x*/, const ColumnStats& /*y*/) {}
    virtual void original(std::size_t i) = 0;    // point i as the data set holds it
    virtual void extra(double x, double y) = 0;  // a point of the reduction's own
};

// What a reduction did: the number of points handed out, or why none were (the data set is to be
// written whole; no reason when it is only small).
struct Thinning {
    std::optional<std::size_t> kept;
    std::string_view whyWhole;
    std::optional<DotShades> shades;  // the dots drawn as an image, beside the kept points
};

// Hands `out` the points of a picture in `style` when it thins the data set, else nothing: at most
// the threshold of drawn points, no spread in x or y, a value gnuplot leaves out of the picture
// (beyond ±1e300), a value at or below 0 on a log axis, a missing point that breaks the line, x
// out of order for a joined style, or a counter grid for the point styles that would take more
// than a few MiB.
Thinning reducePoints(const PointColumns& points, ReducedStyle style, MissingPoints missing, const PictureAxes& axes,
                      KeptPoints& out);

}  // namespace rizari
