// One data set of a plot: its values (or the name of a data file) and its drawing style.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "plot/color_text.h"
#include "plot/typed_codes.h"
#include "plot/value_block.h"

namespace rizari {

using OptText = std::optional<std::string>;

// A caller's text that may be null: null is no text.
inline OptText optionalText(const char* text) { return text ? OptText(text) : std::nullopt; }

// The line and point types of the members, as ints: kNoLineType asks for no " lt" (or " pt")
// clause. The state keeps such a type as none.
inline constexpr int kNoLineType = -999;
constexpr std::optional<int> givenLineType(int type) { return type == kNoLineType ? std::nullopt : std::optional(type); }
// Point type 0 writes no " pt" clause either.
constexpr std::optional<int> givenPointType(int type) { return type == 0 ? std::nullopt : givenLineType(type); }
// A point size below 0 is none: no " ps" clause and no point colour.
constexpr std::optional<double> givenPointSize(double size) { return size < 0 ? std::nullopt : std::optional(size); }

// Bytes per entry of an element type; 0 for a code of no element type.
constexpr std::size_t elementSize(KeptCode<Element> elementType)
{
    const std::optional<Element> known = elementType.known();
    if (!known) return 0;
    switch (*known) {
    case Element::Char:
    case Element::UChar: return 1;
    case Element::Short:
    case Element::UShort: return 2;
    case Element::Int:
    case Element::UInt:
    case Element::Long:
    case Element::ULong:
    case Element::Float: return 4;
    case Element::Double: return 8;
    }
    return 0;
}

// How boxes (and filled curves) are filled and bordered, plot-wide or for one data set. Each part
// is written only once it was given; a later call replaces the part it gives.
struct BoxStyle {
    struct Border {
        std::optional<int> lineType;  // none: no border at all
    };
    std::optional<KeptCode<Fill>> fill;
    std::optional<double> density;
    std::optional<int> pattern;
    std::optional<Border> border;

    bool given() const { return fill || density || pattern || border; }
};

struct MatrixShape {
    int rows = 0;
    int cols = 0;
};

// Where gnuplot puts a plot's area in its picture, as a run of the plot's own script told: the
// axes' ranges as it set them, and the area's edges, the picture's size and a pixel in the
// terminal's units.
struct PlotLayout {
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    int left = 0, right = 0, bottom = 0, top = 0;
    int width = 0, height = 0;  // the picture's last column and row
    int pixel = 1;

    bool operator==(const PlotLayout&) const = default;
};

// The picture a temporary data file was thinned for (data/reduction.h): the data set's style, the
// most pixels its plot area can span and its axes' mapping (explicit ranges, as given, and log
// scales); the line's width and the radius of its marks (filled circles) in pixels where the
// terminal's are known, and the plot's layout where gnuplot told it. Files thinned for equal
// targets hold the same points.
struct ReductionTarget {
    KeptCode<Style> plotType = Style::Lines;
    int width = 0;
    int height = 0;
    std::optional<std::array<double, 2>> xRange, yRange;
    bool logX = false;
    bool logY = false;
    double lineWidth = 0;
    double markRadius = 0;
    std::optional<PlotLayout> layout;
    bool extremesOnly = false;  // only the points that set the ranges: the data of the layout's probe
    std::optional<std::uint32_t> dotColor;  // opaque dots' colour (0xRRGGBB) where known: they may be drawn as an image

    bool operator==(const ReductionTarget&) const = default;
};

// How a data set's temporary file was written: for which picture, and how many points it kept
// (none when the data set was written whole after all: small, or, as whyWhole says, its values
// not drawn as the reduction assumes).
struct DotShades;  // data/dot_shades.h
struct Reduction {
    ReductionTarget target;
    std::optional<std::size_t> keptPoints;
    std::string_view whyWhole;
    // Dots drawn as an image of their shades, plotted just before the data set: where it lies
    // (with the shades until they are written), and its temporary file.
    std::shared_ptr<const DotShades> shades;
    OptText shadeFile;
};

// The caller's columns that a 2D data set draws from in place of a copy of its own: x and y, each
// of pointCount entries of the data set's element type. The caller keeps them alive (and as they
// should be drawn) until the plot is drawn.
struct BorrowedColumns {
    const void* x = nullptr;
    const void* y = nullptr;
};

// A number no other data set of the process had before.
inline std::uint64_t newDataSetIdentity()
{
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

struct DataSet {
    // Tells this data set from any other later put in its place: a handle that kept it (the
    // typed front's Series) knows when it is gone.
    std::uint64_t identity = newDataSetIdentity();

    // Raw entries of the element type's width: 2D the n x values then the n y values; 3D also
    // the n z values; a matrix its rows one after the other. None for a data file, or for
    // borrowed columns.
    std::optional<ValueBlock> values;
    std::optional<BorrowedColumns> borrowed;
    OptText fileName;
    bool temporaryFile = false;  // fileName was made by plotting() and goes with the data set
    // The picture the temporary file was thinned for; none when it was written for any picture.
    // A later plotting() for another picture writes the file anew.
    std::optional<Reduction> reduction;
    OptText fileOption;

    // A matrix (CPlot::data): its rows of values, one after the other. Any other data set has
    // pointCount points (negative in the record of an add refused for its count).
    std::optional<MatrixShape> matrix;
    int pointCount = 0;
    // A data set added in space: its points have z values, over a grid of gridXCount distinct x
    // values (1 for a space curve). None for one added in the plane, which lies at z = 0 in 3D.
    std::optional<int> gridXCount;
    KeptCode<Element> elementType = Element::Double;

    KeptCode<Style> plotType = Style::Lines;
    std::optional<int> lineType;  // none: no " lt" clause
    double lineWidth = 0;  // fractional widths come from the C++ front (Series::lineWidth)
    std::optional<ColorText> lineColor;
    std::optional<int> pointType;   // none: no " pt" clause
    std::optional<double> pointSize;  // none: no " ps" clause and no point colour
    std::optional<ColorText> pointColor;
    BoxStyle boxes;
    std::optional<double> binWidth;  // a histogram: boxes as wide as its bins, counted from 0 up

    OptText legend;
    bool takesQueuedLegend = true;
    OptText axes;
    OptText smooth;
    OptText styleOption;

    // Its points as drawn: a matrix's rows, or the points of any other data set.
    int drawnPoints() const { return matrix ? matrix->rows : pointCount; }
};

}  // namespace rizari
