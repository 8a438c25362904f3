// The plot styles, one row per PlotType code: the keywords of the plot (2D) and splot (3D)
// commands, the extra arguments plotType takes, and where the style takes a text option or a box
// fill. plotType, the plot commands, the entry point and the runner all read this table; a new
// style is one more row.
#pragma once

#include "rizari/codes.h"

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
    int code;
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
    {PlotType::Lines, "lines", "lines", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {PlotType::Impulses, "impulses", "impulses", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {PlotType::Steps, "steps", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {PlotType::FSteps, "fsteps", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {PlotType::Points, "points", "points", StyleExtras::PointTypeSize, kAcceptsTwo, false},
    {PlotType::LinesPoints, "linespoints", "linespoints", StyleExtras::LinesPoints, kAcceptsFour, false},
    {PlotType::Dots, "dots", "dots", StyleExtras::LineTypeWidth, kAcceptsOne | kAcceptsTwo, false},
    {PlotType::HiSteps, "histeps", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {PlotType::BoxErrorBars, "boxerrorbars", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, true},
    {PlotType::Boxes, "boxes", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, true},
    {PlotType::BoxXYErrorBars, "boxxyerrorbars", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, true},
    {PlotType::Candlesticks, "candlesticks", "points", StyleExtras::Option, kAcceptsOne, true},
    {PlotType::FinanceBars, "financebars", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {PlotType::FilledCurves, "filledcurves", "points", StyleExtras::OptionFillColor, kAcceptsOne | kAcceptsTwo, true},
    {PlotType::Vectors, "vectors", "points", StyleExtras::Option, kAcceptsOne, false},
    {PlotType::XErrorBars, "xerrorbars", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {PlotType::XYErrorBars, "xyerrorbars", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {PlotType::YErrorBars, "yerrorbars", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {PlotType::XErrorLines, "xerrorlines", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {PlotType::XYErrorLines, "xyerrorlines", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {PlotType::YErrorLines, "yerrorlines", "points", StyleExtras::LineTypeWidth, kAcceptsTwo, false},
    {PlotType::PM3D, "pm3d", "pm3d", StyleExtras::None, 0, false},
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

// The row of a code, or null for a code outside the table.
constexpr const PlotStyle* findPlotStyle(int code)
{
    for (const PlotStyle& style : kPlotStyles)
        if (style.code == code) return &style;
    return nullptr;
}

// What a stored code outside the table is drawn as.
inline constexpr const char* kUnknownStyleKeyword = "points";

}  // namespace rizari
