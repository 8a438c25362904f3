// The plot styles, one row per PlotType code: the keywords of the plot (2D) and splot (3D)
// commands, the extra arguments plotType takes, and where the style takes a text option or a box
// fill. plotType, the plot commands, the entry point and the runner all read this table; a new
// style is one more row.
#pragma once

#include "plot/typed_codes.h"

namespace rizari {

// What plotType stores from its extra arguments, for the counts the style lists.
enum class StyleExtras {
    LineTypeWidth,     // 1: line type; 2: line type and line width
    PointTypeSize,     // 2: point type (also as line type) and point size
    LinesPoints,       // 4: line type, line width, point type, point size
    Option,            // 1: the option text written after the keyword
    OptionFillColor,   // 1: option text; 2: option text and fill colour
    None,              // nothing: the code switches the whole plot to 3D
};

struct PlotStyle {
    Style style;
    const char* keyword2D;
    const char* keyword3D;
    StyleExtras extras;
    unsigned acceptedCounts;  // a mask of the counts of extra arguments accepted (0 always is)
    bool boxFill;     // the data set's box fill clause follows the keyword

    constexpr bool accepts(int count) const { return count == 0 || (count > 0 && count < 8 && (acceptedCounts >> count & 1u)); }
    // Candlesticks, filled curves and vectors take texts; the other styles ints.
    constexpr bool takesText() const { return extras == StyleExtras::Option || extras == StyleExtras::OptionFillColor; }
};

// Masks of accepted counts: bit k stands for k extra arguments.
inline constexpr unsigned kAcceptsOne = 1u << 1, kAcceptsTwo = 1u << 2, kAcceptsFour = 1u << 4;

inline constexpr PlotStyle kPlotStyles[] = {
    {Style::Lines, "lines", "lines", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {Style::Impulses, "impulses", "impulses", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {Style::Steps, "steps", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {Style::FSteps, "fsteps", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {Style::Points, "points", "points", StyleExtras::PointTypeSize, kAcceptsTwo, false},
    {Style::LinesPoints, "linespoints", "linespoints", StyleExtras::LinesPoints, kAcceptsFour, false},
    {Style::Dots, "dots", "dots", StyleExtras::LineTypeWidth, kAcceptsOne | kAcceptsTwo, false},
    {Style::HiSteps, "histeps", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {Style::BoxErrorBars, "boxerrorbars", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, true},
    {Style::Boxes, "boxes", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, true},
    {Style::BoxXYErrorBars, "boxxyerrorbars", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, true},
    {Style::Candlesticks, "candlesticks", "points", StyleExtras::Option, kAcceptsOne, true},
    {Style::FinanceBars, "financebars", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {Style::FilledCurves, "filledcurves", "points", StyleExtras::OptionFillColor, kAcceptsOne | kAcceptsTwo, true},
    {Style::Vectors, "vectors", "points", StyleExtras::Option, kAcceptsOne, false},
    {Style::XErrorBars, "xerrorbars", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {Style::XYErrorBars, "xyerrorbars", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {Style::YErrorBars, "yerrorbars", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {Style::XErrorLines, "xerrorlines", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {Style::XYErrorLines, "xyerrorlines", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {Style::YErrorLines, "yerrorlines", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {Style::PM3D, "pm3d", "pm3d", StyleExtras::None, 0, false},
};

// The most extra arguments any style takes.
constexpr int mostStyleExtras()
{
    int most = 0;
    for (const PlotStyle& style : kPlotStyles)
        for (int count = 1; count < 8; ++count)
            if (style.accepts(count) && count > most) most = count;
    return most;
}
inline constexpr int kMostStyleExtras = mostStyleExtras();

// The row of a style, or null for a code outside the table.
constexpr const PlotStyle* findPlotStyle(KeptCode<Style> plotType)
{
    for (const PlotStyle& row : kPlotStyles)
        if (plotType == row.style) return &row;
    return nullptr;
}

// What a stored code outside the table is drawn as.
inline constexpr const char* kUnknownStyleKeyword = "points";

}  // namespace rizari
