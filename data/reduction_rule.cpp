#include "data/reduction_rule.h"

#include <cmath>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "script/terminals.h"

namespace rizari {

namespace {

// Any other terminal, when the reduction is turned on for it.
constexpr PixelArea kOtherTerminalSize{640, 480};
// Sizes beyond this many pixels a side are no picture the reduction plans for.
constexpr double kLargestSide = 1e6;

// A size in pixels rounded to whole ones; none when a side is below one pixel, too large or NaN.
std::optional<PixelArea> wholePixels(double width, double height)
{
    const auto fits = [](double side) { return side >= 1 && side <= kLargestSide; };
    if (!fits(width) || !fits(height)) return std::nullopt;
    return PixelArea{static_cast<int>(std::lround(width)), static_cast<int>(std::lround(height))};
}

// The terminal's size when none is given, in pixels (lengths at 72 per inch).
PixelArea defaultPixels(const Terminal* terminal)
{
    const bool inPixels = terminal && (terminal->unit == SizeUnit::Pixels || terminal->unit == SizeUnit::Lengths);
    if (!inPixels || terminal->defaultSize.width <= 0) return kOtherTerminalSize;
    const double scale = terminal->unit == SizeUnit::Lengths ? kPixelsPerInch : 1;
    return *wholePixels(terminal->defaultSize.width * scale, terminal->defaultSize.height * scale);
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
    if (out.type == PlotOutputType::Window) return Picture{defaultPixels(&windowTerminal()), false, true};
    const TerminalText terminal(out.terminal ? std::string_view(*out.terminal) : std::string_view());
    const Terminal* known = terminal.terminal;
    const bool raster = known && known->raster, antialiased = known && known->antialiased;
    // sizeOutput's size comes after the terminal's own options, so it wins.
    if (out.size) {
        const auto size = wholePixels(out.size->pixelWidth(), out.size->pixelHeight());
        if (!size) return std::nullopt;
        return Picture{*size, raster, antialiased};
    }
    if (!raster) return Picture{defaultPixels(known), false, antialiased};
    const SizeOption given = sizeOption(terminal);
    if (given.state == SizeOption::State::Absent) return Picture{defaultPixels(known), true, antialiased};
    const auto size = given.state == SizeOption::State::Given ? wholePixels(given.size.width, given.size.height) : std::nullopt;
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
    const std::vector<std::string_view> words = optionWords(*option);
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
