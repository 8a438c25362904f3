#include "data/reduction_rule.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

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

// The plot draws with the ranges that autoscaling gives the data: no range, log scale or polar
// mapping of its own, and nothing that could set one behind the library's back.
bool autoscaledToData(const PlotState& s)
{
    const AxesState& a = s.axes;
    return s.dimension == 2 && !s.view.polar && s.text.nativeCommands.empty() && s.draw.shapes.empty() &&
           a.autoscaled.contains(AxisX) && a.autoscaled.contains(AxisY) && !a.range[AxisX] && !a.range[AxisY] &&
           !a.logAxes.contains(AxisX) && !a.logAxes.contains(AxisY);
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

// The points of the set as the reduction reads them: none for sets it leaves whole.
std::optional<std::size_t> pointsOf(const DataSet& set)
{
    if (!set.values) return std::nullopt;
    if (set.pointCount == kMatrixPointCount) {
        // A table is drawn with its first two columns as x and y.
        if (set.matrix.cols < 2 || set.matrix.rows <= 0) return std::nullopt;
        return static_cast<std::size_t>(set.matrix.rows);
    }
    if (set.elementType != ElementType::Double || set.pointCount <= 0) return std::nullopt;
    return static_cast<std::size_t>(set.pointCount);
}

// The style and options of the set draw what the reduction assumes.
bool drawnAsReduced(const DataSet& set)
{
    if (set.fileOption || set.smooth) return false;
    if (set.axes && (set.axes->find("x2") != std::string::npos || set.axes->find("y2") != std::string::npos)) return false;
    if (!reducedStyle(set.plotType)) return false;
    return set.plotType != PlotType::FilledCurves || filledToHorizontalLine(set.styleOption);
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

std::optional<ReductionTarget> reductionTarget(const PlotState& cell, const OutputState& output, const DataSet& set)
{
    const auto points = pointsOf(set);
    if (!points || !drawnAsReduced(set) || !autoscaledToData(cell)) return std::nullopt;
    const auto picture = pictureOf(output);
    if (!picture || !reductionWanted(output, picture->raster)) return std::nullopt;
    // A filled curve's ramp covers the same area only where edges are antialiased: without, the
    // ramp's steps fill whole pixels and the area comes out darker.
    if (set.plotType == PlotType::FilledCurves && !picture->antialiased) return std::nullopt;
    // A cell of a grid has its share of the picture; a plot larger than its terminal more.
    const std::array<double, 2>& share = cell.frame.size;
    const auto area = wholePixels(std::ceil(picture->size.width * share[0]), std::ceil(picture->size.height * share[1]));
    if (!area) return std::nullopt;
    const ReductionTarget target{set.plotType, area->width, area->height};
    if (*points <= static_cast<std::size_t>(kReductionThresholdPerPixel) * static_cast<std::size_t>(target.width)) return std::nullopt;
    return target;
}

void CPlot::reduceLargeData(std::optional<bool> on) { impl_->state.output.reduceLargeData = on; }

}  // namespace rizari
