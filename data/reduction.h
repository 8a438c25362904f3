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
//  * Point marks, dots and impulses are strokes of their own whose antialiased edges darken each
//    other: a few per pixel cell keep the picture.
//  * A filled curve is one polygon filled once: per bucket, a ramp through the quantiles of the
//    curve's heights covers the same area at each height.
// Points are bucketed over the data's own x range (the axes, autoscaled, are at least as wide),
// a few buckets per pixel column; the points that set the autoscaled ranges are always kept.
#pragma once

#include <cstddef>
#include <cstring>
#include <optional>

namespace rizari {

// The x and y values of a data set's points as its block holds them: point i's x at
// xs + i * stride, its y at ys + i * stride (doubles).
class PointColumns {
public:
    PointColumns(const unsigned char* xs, const unsigned char* ys, std::size_t stride, std::size_t count)
        : xs_(xs), ys_(ys), stride_(stride), count_(count)
    {
    }
    std::size_t size() const { return count_; }
    double x(std::size_t i) const { return at(xs_, i); }
    double y(std::size_t i) const { return at(ys_, i); }

private:
    double at(const unsigned char* column, std::size_t i) const
    {
        double v;
        std::memcpy(&v, column + i * stride_, sizeof v);
        return v;
    }
    const unsigned char* xs_;
    const unsigned char* ys_;
    std::size_t stride_;
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

// Buckets per pixel column of the joined styles (twice as many for the steps).
inline constexpr int kBucketsPerPixel = 4;
// A data set is reduced only above this many finite points per pixel column: below it the
// reduction would keep too large a share to pay off, and every ordinary data set stays whole.
inline constexpr int kReductionThresholdPerPixel = 40;

// The receiver of the kept points, in drawing order.
class KeptPoints {
public:
    virtual ~KeptPoints() = default;
    virtual void original(std::size_t i) = 0;    // point i as the data set holds it
    virtual void extra(double x, double y) = 0;  // a point of the reduction's own
};

// Hands `out` the points of a picture of `area` in `style` and returns their number; none, with
// nothing handed out, when the data set is to be written whole: at most the threshold of finite
// points, no spread in x or y, a value gnuplot leaves out of the picture (beyond ±1e300), a
// missing point that breaks the line, x out of order for a joined style, or a counter grid for the
// point styles that would take more than a few MiB.
std::optional<std::size_t> reducePoints(const PointColumns& points, ReducedStyle style, MissingPoints missing,
                                        PixelArea area, KeptPoints& out);

}  // namespace rizari
