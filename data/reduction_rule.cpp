#include "data/reduction_rule.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

#include "data/picture_commands.h"
#include "platform/platform.h"

namespace rizari {

namespace {

// The terminals whose size the reduction knows: their size when none is given (gnuplot's
// documentation; pbm and sixelgd as gnuplot 5.4 draws them), whether they make pixels, and
// whether they draw with antialiased edges (cairo; the libgd terminals do not).
struct TerminalSize {
    std::string_view name;
    PixelArea size;
    bool raster;
    bool antialiased;
};

constexpr TerminalSize kTerminalSizes[] = {
    {"pngcairo", {640, 480}, true, true},   {"png", {640, 480}, true, false},      {"gif", {640, 480}, true, false},
    {"jpeg", {640, 480}, true, false},      {"sixelgd", {640, 480}, true, false},  {"pbm", {640, 480}, true, false},
    {"svg", {600, 480}, false, true},       {"pdfcairo", {360, 216}, false, true}, {"epscairo", {360, 216}, false, true},
    {"wxt", {640, 384}, false, true},
};
// Any other terminal, when the reduction is turned on for it.
constexpr PixelArea kOtherTerminalSize{640, 480};
// The window's terminal.
constexpr std::string_view kWindowTerminal = "wxt";
constexpr double kCentimetresPerInch = 2.54;
// Sizes beyond this many pixels a side are no picture the reduction plans for.
constexpr double kLargestSide = 1e6;

// A size in pixels rounded to whole ones; none when a side is below one pixel, too large or NaN.
std::optional<PixelArea> wholePixels(double width, double height)
{
    const auto fits = [](double side) { return side >= 1 && side <= kLargestSide; };
    if (!fits(width) || !fits(height)) return std::nullopt;
    return PixelArea{static_cast<int>(std::lround(width)), static_cast<int>(std::lround(height))};
}

const TerminalSize* findTerminal(std::string_view name)
{
    for (const TerminalSize& t : kTerminalSizes)
        if (t.name == name) return &t;
    return nullptr;
}

// The words of a terminal text, split at blanks and commas; a quoted text is one word.
std::vector<std::string_view> wordsOf(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == ',') {
            ++i;
        } else if (c == '"' || c == '\'') {
            const std::size_t end = text.find(c, i + 1);
            const std::size_t stop = end == std::string_view::npos ? text.size() : end + 1;
            words.push_back(text.substr(i, stop - i));
            i = stop;
        } else {
            const std::size_t stop = std::min(text.find_first_of(" \t,", i), text.size());
            words.push_back(text.substr(i, stop - i));
            i = stop;
        }
    }
    return words;
}

// One length of a size option in pixels: a number with "cm" or "in" (or "inch") attached or as the
// next word; `at` moves past what was read. None when it is not a length.
std::optional<double> pixelsAt(const std::vector<std::string_view>& words, std::size_t& at)
{
    if (at >= words.size()) return std::nullopt;
    const std::string_view word = words[at++];
    double value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
    std::string_view unit(end, static_cast<std::size_t>(word.data() + word.size() - end));
    if (unit.empty() && at < words.size() && (words[at] == "cm" || words[at] == "in" || words[at] == "inch")) unit = words[at++];
    if (unit.empty()) return value;
    if (unit == "in" || unit == "inch") return value * kPixelsPerInch;
    if (unit == "cm") return value * kPixelsPerInch / kCentimetresPerInch;
    return std::nullopt;
}

// The size a raster terminal's text gives; its default when it gives none; none when its size
// option cannot be read.
std::optional<PixelArea> rasterSizeIn(std::string_view terminal, PixelArea fallback)
{
    const std::vector<std::string_view> words = wordsOf(terminal);
    std::optional<PixelArea> size = fallback;
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i] != "size") continue;
        std::size_t at = i + 1;
        const auto width = pixelsAt(words, at);
        const auto height = pixelsAt(words, at);
        if (!width || !height) return std::nullopt;
        size = wholePixels(*width, *height);
        if (!size) return std::nullopt;
    }
    return size;
}

// The picture's size in pixels, whether the output makes pixels and whether its edges are
// antialiased; none when the size cannot be known.
struct Picture {
    PixelArea size;
    bool raster;
    bool antialiased;
};

std::optional<Picture> pictureOf(const OutputState& out)
{
    if (out.type == PlotOutputType::Window) return Picture{findTerminal(kWindowTerminal)->size, false, true};
    const std::string_view terminal = out.terminal ? std::string_view(*out.terminal) : std::string_view();
    const TerminalSize* known = findTerminal(terminalName(terminal));
    const bool raster = known && known->raster, antialiased = known && known->antialiased;
    // sizeOutput's size comes after the terminal's own options, so it wins.
    if (out.size) {
        const auto size = wholePixels(out.size->pixelWidth(), out.size->pixelHeight());
        if (!size) return std::nullopt;
        return Picture{*size, raster, antialiased};
    }
    if (!raster) return Picture{known ? known->size : kOtherTerminalSize, false, antialiased};
    const auto size = rasterSizeIn(terminal, known->size);
    if (!size) return std::nullopt;
    return Picture{*size, true, antialiased};
}

// Whether the reduction is on for this output.
bool reductionWanted(const OutputState& out, bool raster)
{
    if (out.reduceLargeData) return *out.reduceLargeData;
    const auto chosen = platform::getEnv("RIZARI_REDUCE");
    if (chosen == "1") return true;
    if (chosen == "0") return false;
    return raster && out.type != PlotOutputType::Window;
}

// Why the plot's axes are not those the reduction plans for; empty when they are: a 2D plot on x
// and y autoscaled or given explicit ranges, and nothing that could change the mapping of x to
// pixels behind the library's back.
std::string_view axesNotPlanned(const PlotState& s)
{
    const AxesState& a = s.axes;
    if (s.dimension != 2) return "the plot is 3D";
    if (s.view.polar) return "the plot is polar";
    for (const std::string& command : s.text.nativeCommands)
        if (changesPicture(command)) return "a native command can change the axes or the picture's size";
    if (!s.draw.shapes.empty()) return "shapes set the ranges";
    for (const AxisIndex axis : {AxisX, AxisY})
        if (!a.range[axis] && !a.autoscaled.contains(axis)) return "an axis has neither autoscale nor a range";
    return {};
}

std::optional<std::array<double, 2>> rangeOf(const AxesState& a, AxisIndex axis)
{
    if (!a.range[axis]) return std::nullopt;
    return std::array<double, 2>{a.range[axis]->min, a.range[axis]->max};
}

// A filled curve is thinned when it is filled to a horizontal line: "x1", "x2" (the axes), or
// "y=VALUE" (also "y1=" and "y2="), maybe after "above" or "below". Not the default, "closed", nor
// a fill to a vertical line or a point.
bool filledToHorizontalLine(const OptText& option)
{
    if (!option) return false;
    const std::vector<std::string_view> words = wordsOf(*option);
    std::size_t at = 0;
    if (at < words.size() && (words[at] == "above" || words[at] == "below")) ++at;
    if (at + 1 != words.size()) return false;
    const std::string_view line = words[at];
    return line == "x1" || line == "x2" || line.starts_with("y=") || line.starts_with("y1=") || line.starts_with("y2=");
}

// The points of the set as the reduction reads them; none for a set it cannot read, with the
// reason when there is one to tell.
std::optional<std::size_t> pointsOf(const DataSet& set, std::string_view& why)
{
    if (set.pointCount == kMatrixPointCount) {
        // A table is drawn with its first two columns as x and y; a filled curve fills between the
        // second and third.
        if (!set.values || set.matrix.cols < 2 || set.matrix.rows <= 0) return std::nullopt;
        if (set.matrix.cols > 2 && set.plotType == PlotType::FilledCurves) why = "a filled table of three or more columns";
        return static_cast<std::size_t>(set.matrix.rows);
    }
    if ((!set.values && !set.borrowed) || set.pointCount <= 0) return std::nullopt;
    if (!readableElementType(set.elementType)) why = "8-bit values are written as characters";
    return static_cast<std::size_t>(set.pointCount);
}

// Whether a colour text has an alpha channel that lets what lies below show: "#AARRGGBB" or
// "0xAARRGGBB" with AA above 0.
bool translucent(const std::optional<ColorText>& color)
{
    if (!color) return false;
    std::string_view text = color->view();
    if (text.starts_with("#")) text.remove_prefix(1);
    else if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
    else return false;
    return text.size() == 8 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos && text.substr(0, 2) != "00";
}

// Why the style and options of the set are not what the reduction assumes; empty when they are.
std::string_view drawnNotAsReduced(const DataSet& set)
{
    if (set.fileOption) return "it has column options";
    if (set.smooth) return "smooth is set";
    if (set.axes && (set.axes->find("x2") != std::string::npos || set.axes->find("y2") != std::string::npos))
        return "it is drawn on the x2 or y2 axes";
    const auto style = reducedStyle(set.plotType);
    if (!style) return "its style is drawn from every point";
    if (set.plotType == PlotType::FilledCurves && !filledToHorizontalLine(set.styleOption)) return "it is not filled to a horizontal line";
    // Marks and impulses are strokes of their own: translucent ones darken each other.
    const bool strokes = *style == ReducedStyle::Points || *style == ReducedStyle::Dots || *style == ReducedStyle::LinesPoints ||
                         *style == ReducedStyle::Impulses;
    if (strokes && (translucent(set.lineColor) || translucent(set.pointColor))) return "its colour is translucent";
    return {};
}

}  // namespace

std::optional<ReducedStyle> reducedStyle(int plotType)
{
    switch (plotType) {
    case PlotType::Lines: return ReducedStyle::Lines;
    case PlotType::Steps:
    case PlotType::FSteps:
    case PlotType::HiSteps: return ReducedStyle::Steps;
    case PlotType::LinesPoints: return ReducedStyle::LinesPoints;
    case PlotType::Impulses: return ReducedStyle::Impulses;
    case PlotType::Points: return ReducedStyle::Points;
    case PlotType::Dots: return ReducedStyle::Dots;
    case PlotType::FilledCurves: return ReducedStyle::FilledCurve;
    default: return std::nullopt;
    }
}

ThinningPlan thinningPlan(const PlotState& cell, const OutputState& output, const DataSet& set)
{
    std::string_view why;
    const auto points = pointsOf(set, why);
    if (!points) return {};
    const auto picture = pictureOf(output);
    const bool raster = picture && picture->raster;
    if (!reductionWanted(output, raster)) return {};
    const auto wholeFor = [](std::string_view reason) { return ThinningPlan{std::nullopt, reason}; };
    if (!why.empty()) return wholeFor(why);
    if (why = drawnNotAsReduced(set); !why.empty()) return wholeFor(why);
    if (why = axesNotPlanned(cell); !why.empty()) return wholeFor(why);
    if (!picture) return wholeFor("the picture's size cannot be read");
    const AxesState& a = cell.axes;
    const bool logX = a.logAxes.contains(AxisX), logY = a.logAxes.contains(AxisY);
    // A filled curve's ramp covers the same area only where edges are antialiased: without, the
    // ramp's steps fill whole pixels and the area comes out darker. Its baseline is a line of the
    // linear axes.
    if (set.plotType == PlotType::FilledCurves && !picture->antialiased) return wholeFor("filled curves are thinned for cairo terminals only");
    if (set.plotType == PlotType::FilledCurves && (logX || logY)) return wholeFor("filled curves are thinned on linear axes only");
    // A cell of a grid has its share of the picture; a plot larger than its terminal more.
    const std::array<double, 2>& share = cell.frame.size;
    const auto area = wholePixels(std::ceil(picture->size.width * share[0]), std::ceil(picture->size.height * share[1]));
    if (!area) return wholeFor("the picture's size cannot be read");
    if (*points <= static_cast<std::size_t>(kReductionThresholdPerPixel) * static_cast<std::size_t>(area->width))
        return wholeFor("it has at most 40 points per pixel column");
    return {ReductionTarget{set.plotType, area->width, area->height, rangeOf(a, AxisX), rangeOf(a, AxisY), logX, logY}, {}};
}

std::optional<ReductionTarget> reductionTarget(const PlotState& cell, const OutputState& output, const DataSet& set)
{
    return thinningPlan(cell, output, set).target;
}

void CPlot::reduceLargeData(std::optional<bool> on) { impl_->state.output.reduceLargeData = on; }

}  // namespace rizari
