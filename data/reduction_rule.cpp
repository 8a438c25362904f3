#include "data/reduction_rule.h"

#include <cmath>
#include <string_view>
#include <vector>

#include "data/picture_commands.h"
#include "data/plot_command.h"
#include "script/engine_colors.h"
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
    if (out.type == Output::Window) return Picture{defaultPixels(&windowTerminal()), false, true};
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
    return raster && out.type != Output::Window;
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
    const std::vector<std::string_view> words = optionWords(*option);
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
    if (const auto& matrix = set.matrix) {
        // A table is drawn with its first two columns as x and y; a filled curve fills between the
        // second and third.
        if (!set.values || matrix->cols < 2 || matrix->rows <= 0) return std::nullopt;
        if (matrix->cols > 2 && set.plotType == Style::FilledCurves) why = "a filled table of three or more columns";
        return static_cast<std::size_t>(matrix->rows);
    }
    if ((!set.values && !set.borrowed) || set.pointCount <= 0) return std::nullopt;
    if (!readableElementType(set.elementType.code())) why = "8-bit values are written as characters";
    return static_cast<std::size_t>(set.pointCount);
}

bool translucent(const std::optional<ColorText>& color) { return color && translucentColor(color->view()); }

// Why the style and options of the set are not what the reduction assumes; empty when they are.
std::string_view drawnNotAsReduced(const DataSet& set)
{
    if (set.fileOption) return "it has column options";
    if (set.smooth) return "smooth is set";
    if (set.axes && (set.axes->find("x2") != std::string::npos || set.axes->find("y2") != std::string::npos))
        return "it is drawn on the x2 or y2 axes";
    const auto style = reducedStyle(set.plotType);
    if (!style) return "its style is drawn from every point";
    if (set.plotType == Style::FilledCurves && !filledToHorizontalLine(set.styleOption)) return "it is not filled to a horizontal line";
    // Marks and impulses are strokes of their own: translucent ones darken each other.
    const bool strokes = *style == ReducedStyle::Points || *style == ReducedStyle::Dots || *style == ReducedStyle::LinesPoints ||
                         *style == ReducedStyle::Impulses;
    if (strokes && (translucent(set.lineColor) || translucent(set.pointColor))) return "its colour is translucent";
    return {};
}

// Whether the terminal's options or a native command can scale the lines or marks that gnuplot's
// cairo terminals draw a pixel per unit: their widths, their point size, their options.
bool strokesScaled(const PlotState& cell, const OutputState& out)
{
    const auto scales = [](std::string_view word) {
        return word.starts_with("lw") || word.starts_with("linew") || word.starts_with("ps") || word.starts_with("poi") ||
               word.starts_with("termo");
    };
    const std::string terminal = out.terminal.value_or("");
    for (const std::string_view word : optionWords(terminal))
        if (scales(word)) return true;
    for (const std::string& command : cell.text.nativeCommands)
        for (const std::string_view word : optionWords(command))
            if (scales(word)) return true;
    return false;
}

// The width of the set's line and the radius of its marks in pixels where they are known: on a
// cairo raster terminal gnuplot's line width is in pixels, and the points style's filled circle
// (point type 7) is three pixels a unit of point size, plus half the line width. 0 where they are
// not.
struct Strokes {
    double lineWidth = 0;
    double markRadius = 0;
};
Strokes strokesOf(const PlotState& cell, const OutputState& out, const Picture& picture, const DataSet& set)
{
    constexpr int kFilledCircle = 7;
    constexpr double kCirclePixels = 3;
    if (!picture.raster || !picture.antialiased || set.lineWidth <= 0 || strokesScaled(cell, out)) return {};
    const double pointSize = set.pointSize && *set.pointSize > 0 ? *set.pointSize : 1;
    const bool circles = set.plotType == Style::Points && set.pointType == kFilledCircle;
    return {set.lineWidth, circles ? kCirclePixels * pointSize + set.lineWidth / 2 : 0};
}

// The colour of a set of opaque dots where the library knows it for sure: a colour that the set's
// clause names in hexadecimal digits or by one of gnuplot's names, or gnuplot's default colour of
// its line type when nothing can redefine it (native commands, a monochrome terminal). Only then can its dots be drawn as an
// image of their shades (data/dot_shades.h).
std::optional<Rgb> dotColorOf(const PlotState& cell, const OutputState& out, const DataSet& set)
{
    if (set.plotType != Style::Dots) return std::nullopt;
    if (const ColorText* named = namedColor(set)) return opaqueColor(named->view());
    if (!cell.text.nativeCommands.empty()) return std::nullopt;
    const std::string terminal = out.terminal.value_or("");
    for (const std::string_view word : optionWords(terminal))
        if (word.starts_with("mono")) return std::nullopt;
    // Each clause of the plot command takes the next line type.
    const auto position = static_cast<int>(&set - cell.dataSets.data());
    return defaultLineTypeColor(set.lineType.value_or(position + 1));
}

}  // namespace

std::optional<ReducedStyle> reducedStyle(KeptCode<Style> plotType)
{
    const std::optional<Style> style = plotType.known();
    if (!style) return std::nullopt;
    switch (*style) {
    case Style::Lines: return ReducedStyle::Lines;
    case Style::Steps:
    case Style::FSteps:
    case Style::HiSteps: return ReducedStyle::Steps;
    case Style::LinesPoints: return ReducedStyle::LinesPoints;
    case Style::Impulses: return ReducedStyle::Impulses;
    case Style::Points: return ReducedStyle::Points;
    case Style::Dots: return ReducedStyle::Dots;
    case Style::FilledCurves: return ReducedStyle::FilledCurve;
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
    if (set.plotType == Style::FilledCurves && !picture->antialiased) return wholeFor("filled curves are thinned for cairo terminals only");
    if (set.plotType == Style::FilledCurves && (logX || logY)) return wholeFor("filled curves are thinned on linear axes only");
    // A cell of a grid has its share of the picture; a plot larger than its terminal more.
    const std::array<double, 2>& share = cell.frame.size;
    const auto area = wholePixels(std::ceil(picture->size.width * share[0]), std::ceil(picture->size.height * share[1]));
    if (!area) return wholeFor("the picture's size cannot be read");
    if (*points <= static_cast<std::size_t>(kReductionThresholdPerPixel) * static_cast<std::size_t>(area->width))
        return wholeFor("it has at most 40 points per pixel column");
    const Strokes strokes = strokesOf(cell, output, *picture, set);
    const auto dotColor = strokes.lineWidth > 0 ? dotColorOf(cell, output, set) : std::nullopt;
    return {ReductionTarget{set.plotType, area->width, area->height, rangeOf(a, AxisX), rangeOf(a, AxisY), logX, logY, strokes.lineWidth,
                            strokes.markRadius, std::nullopt, false, dotColor},
            {}};
}

std::optional<ReductionTarget> reductionTarget(const PlotState& cell, const OutputState& output, const DataSet& set)
{
    return thinningPlan(cell, output, set).target;
}

bool wantsLayout(const ReductionTarget& target)
{
    const bool linear = !target.logX && !target.logY;
    // Marks are known by their radius on the cairo terminals, which also draw dots a line wide.
    const bool marks = target.plotType == Style::Points && target.markRadius > 0;
    const bool dots = target.plotType == Style::Dots && target.lineWidth > 0;
    return linear && (marks || dots);
}

void CPlot::reduceLargeData(std::optional<bool> on) { impl_->state.output.reduceLargeData = on; }

}  // namespace rizari
