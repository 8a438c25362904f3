// Heat maps, palettes and the label of the colour bar.
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/messages.h"
#include "plot/choices.h"
#include "settings/sections.h"

namespace rizari {

namespace {

struct PaletteLine {
    Palette palette;
    const char* line;
};

// viridis and magma are sampled at nine evenly spaced points, coolwarm at five: gnuplot
// interpolates between them.
constexpr PaletteLine kPaletteLines[] = {
    {Palette::Classic, "set palette rgbformulae 33,13,10 \n"},
    {Palette::Viridis, "set palette defined (0 \"#440154\", 1 \"#472d7b\", 2 \"#3b528b\", 3 \"#2c728e\", 4 \"#21918c\", "
                       "5 \"#28ae80\", 6 \"#5ec962\", 7 \"#addc30\", 8 \"#fde725\")\n"},
    {Palette::Magma, "set palette defined (0 \"#000004\", 1 \"#1c1044\", 2 \"#4f127b\", 3 \"#812581\", 4 \"#b5367a\", "
                     "5 \"#e55064\", 6 \"#fb8761\", 7 \"#fec287\", 8 \"#fcfdbf\")\n"},
    {Palette::Grey, "set palette grey\n"},
    {Palette::CoolWarm, "set palette defined (0 \"#3b4cc0\", 1 \"#8db0fe\", 2 \"#dddddd\", 3 \"#f49a7b\", 4 \"#b40426\")\n"},
};

// The lowest and highest of the values taken; NaN is passed over.
struct Extent {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();

    void take(double v)
    {
        if (v < low) low = v;
        if (v > high) high = v;
    }
    void take(const Extent& other) { take(other.low), take(other.high); }
    bool spans() const { return low < high; }
};

// The extent of one column of a grid of n x count values, widened by half the grid's spacing: the
// cells of the outer values reach that far beyond them. None when the values do not spread, or
// spread beyond the doubles.
std::optional<Extent> cellExtent(const ValueBlock& values, std::size_t column, std::size_t n, std::size_t count)
{
    Extent e;
    for (std::size_t i = 0; i < n; ++i) e.take(values.doubleAt(column * n + i));
    if (!e.spans()) return std::nullopt;
    const double half = (e.high - e.low) / static_cast<double>(count - 1) / 2;
    const Extent cells{e.low - half, e.high + half};
    if (!std::isfinite(cells.low) || !std::isfinite(cells.high)) return std::nullopt;
    return cells;
}

// The x and y extents of the cells of every grid that the heat map draws; none when there is no
// such grid, or one whose values are not doubles in memory: gnuplot then bounds the axes by the
// values it reads.
std::optional<std::array<Extent, 2>> cellBox(const PlotState& s)
{
    std::optional<std::array<Extent, 2>> box;
    for (const DataSet& set : s.dataSets) {
        if (!drawnAsCells(s, set)) continue;
        if (!set.values || set.elementType != ElementType::Double) return std::nullopt;
        const auto n = static_cast<std::size_t>(set.pointCount);
        const auto nx = static_cast<std::size_t>(set.gridXCount);
        const auto x = cellExtent(*set.values, 0, n, nx);
        const auto y = cellExtent(*set.values, 1, n, n / nx);
        if (!x || !y) return std::nullopt;
        if (!box) box.emplace();
        (*box)[0].take(*x);
        (*box)[1].take(*y);
    }
    return box;
}

}  // namespace

void CPlot::heatMap(int flag)
{
    if (static_cast<unsigned>(flag) > 1) reportInvalidParameter("heatMap");
    else impl_->state.colorMap.heatMap = flag == 1;
}

void CPlot::colorBoxLabel(const char* text) { impl_->state.colorMap.colorBoxLabel = optionalText(text); }

void CPlot::palette(const char* name)
{
    const auto palette = choiceNamed<Palette>(kPaletteNames, name);
    if (!palette) {
        reportf("CPlot::palette(): unknown palette; known: %.*s\n", static_cast<int>(kPaletteList.size()), kPaletteList.data());
        return;
    }
    choosePalette(impl_->state, *palette);
}

void choosePalette(PlotState& s, Palette palette) { s.colorMap.palette = palette; }

bool drawnAsCells(const PlotState& s, const DataSet& set)
{
    return s.colorMap.heatMap && s.dimension == 3 && set.gridXCount >= 2 && set.pointCount / set.gridXCount >= 2;
}

void writePalette(ScriptWriter& w, const PlotState& s)
{
    for (const PaletteLine& row : kPaletteLines)
        if (row.palette == s.colorMap.palette) w.put(row.line);
}

void writeHeatMap(ScriptWriter& w, const PlotState& s)
{
    if (!s.colorMap.heatMap) return;
    // The cells cover the whole plot: grid lines would only be drawn across them.
    w.put("set view map\nunset grid\nunset xzeroaxis\nunset yzeroaxis\n");
    const auto box = cellBox(s);
    for (AxisIndex axis : {AxisX, AxisY}) {
        // A range given, or autoscaling turned off, is the caller's.
        if (s.axes.range[axis] || !s.axes.autoscaled.contains(axis)) continue;
        if (box) w.print("set %srange [%f:%f]\n", kAxisName[axis], (*box)[axis].low, (*box)[axis].high);
        else w.print("set autoscale %sfix\n", kAxisName[axis]);
    }
    // Seen from above, a z range given is the range of the colours (a diverging palette centred
    // on a value); else the colours span the values.
    if (const auto& z = s.axes.range[AxisZ]) w.print("set cbrange [%f:%f]\n", z->min, z->max);
    else w.put("set autoscale cbfix\n");
}

void writeColorBoxLabel(ScriptWriter& w, const PlotState& s)
{
    if (s.colorMap.colorBoxLabel) w.print("set cblabel \"%q\"\n", *s.colorMap.colorBoxLabel);
}

}  // namespace rizari
