// The styles of one data set, through a Series handle.
#include <cmath>

#include "data/plot_styles.h"
#include "data/styles.h"
#include "front/refusals.h"
#include "plot/lifecycle.h"
#include "plot/plot_state.h"
#include "rizari/plot.h"

namespace rizari {

namespace {

// The data set of a series (Series::plot() has found it there), for the styles that CPlot sets
// only together with others (its line type with the width and colour, its point type with the
// size).
DataSet& dataSetOf(CPlot& plot, int number) { return *dataSetByNumber(PlotAccess::state(plot), number); }

void requirePositive(const char* where, double amount)
{
    if (!std::isfinite(amount) || amount <= 0) front::refuse(where, "not a finite number above 0");
}

}  // namespace

Series& Series::legend(std::string_view text)
{
    front::refusing([&] { plot().legend(front::CText(text).get(), number_); });
    return *this;
}

Series& Series::style(Style style)
{
    front::refusing([&] { plot().plotType(static_cast<int>(style), number_); });
    return *this;
}

Series& Series::style(Style style, std::string_view option)
{
    const PlotStyle* known = findPlotStyle(style);
    if (!known || !known->takesText()) front::refuse("Series::style", "only Candlesticks, FilledCurves and Vectors take an option");
    const front::CText text(option);
    PlotTypeExtra extra;
    extra.count = 1;
    extra.texts[0] = text.get();
    front::refusing([&] { plot().plotType(static_cast<int>(style), number_, extra); });
    return *this;
}

Series& Series::lineWidth(double width)
{
    requirePositive("Series::lineWidth", width);
    setLineWidth(dataSetOf(plot(), number_), width);
    return *this;
}

Series& Series::lineType(int type)
{
    setLineType(dataSetOf(plot(), number_), type);
    return *this;
}

Series& Series::color(std::string_view color)
{
    setLineColor(dataSetOf(plot(), number_), color);
    return *this;
}

Series& Series::pointType(int type)
{
    setPointType(dataSetOf(plot(), number_), type);
    return *this;
}

Series& Series::pointSize(double size)
{
    requirePositive("Series::pointSize", size);
    setPointSize(dataSetOf(plot(), number_), size);
    return *this;
}

Series& Series::axes(Axis x, Axis y)
{
    if ((x != Axis::X && x != Axis::X2) || (y != Axis::Y && y != Axis::Y2))
        front::refuse("Series::axes", "x must be Axis::X or Axis::X2, y Axis::Y or Axis::Y2");
    return axes(x == Axis::X ? (y == Axis::Y ? "x1y1" : "x1y2") : (y == Axis::Y ? "x2y1" : "x2y2"));
}

Series& Series::axes(std::string_view pair)
{
    if (pair != "x1y1" && pair != "x1y2" && pair != "x2y1" && pair != "x2y2")
        front::refuse("Series::axes", "the axes are \"x1y1\", \"x1y2\", \"x2y1\" or \"x2y2\"");
    front::refusing([&] { plot().axes(number_, front::CText(pair).get()); });
    return *this;
}

Series& Series::smooth(std::string_view option)
{
    front::refusing([&] { plot().smooth(number_, front::CText(option).orNull()); });
    return *this;
}

Series& Series::fill(Fill type)
{
    front::refusing([&] { plot().boxFill(number_, static_cast<int>(type)); });
    return *this;
}

Series& Series::fill(Fill type, double density)
{
    front::refusing([&] { plot().boxFill(number_, static_cast<int>(type), density); });
    return *this;
}

Series& Series::fillPattern(Fill type, int pattern)
{
    front::refusing([&] { plot().boxFill(number_, static_cast<int>(type), pattern); });
    return *this;
}

Series& Series::border(int lineType)
{
    front::refusing([&] { plot().boxBorder(number_, lineType); });
    return *this;
}

Series& Series::noBorder()
{
    front::refusing([&] { plot().boxBorder(number_); });
    return *this;
}

}  // namespace rizari
