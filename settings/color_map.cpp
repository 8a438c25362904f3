// Heat maps, palettes and the label of the colour bar.
#include "settings/color_map.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/messages.h"
#include "plot/choices.h"

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
    {Palette::Grey, "set palette gray\n"},
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

template <class T> double entryAt(const unsigned char* entries, std::size_t i)
{
    T v;
    std::memcpy(&v, entries + i * sizeof v, sizeof v);
    return static_cast<double>(v);
}

using EntryReader = double (*)(const unsigned char*, std::size_t);

// How entry i of a block of the element type reads as a number; none for the 8-bit types, which
// the data file holds as characters, and for a code of no element type.
EntryReader entryReader(KeptCode<Element> elementType)
{
    const std::optional<Element> type = elementType.known();
    if (!type) return nullptr;
    switch (*type) {
    case Element::Short: return entryAt<std::int16_t>;
    case Element::UShort: return entryAt<std::uint16_t>;
    case Element::Int:
    case Element::Long: return entryAt<std::int32_t>;
    case Element::UInt:
    case Element::ULong: return entryAt<std::uint32_t>;
    case Element::Float: return entryAt<float>;
    case Element::Double: return entryAt<double>;
    case Element::Char:
    case Element::UChar: return nullptr;
    }
    return nullptr;
}

// The extent of one column of a grid of n points, `count` values apart, widened by half the
// grid's spacing: the cells of the outer values reach that far beyond them. None when the values
// do not spread, or spread beyond the doubles.
std::optional<Extent> cellExtent(const DataSet& set, EntryReader read, std::size_t column, std::size_t count)
{
    const auto n = static_cast<std::size_t>(set.pointCount);
    Extent e;
    for (std::size_t i = 0; i < n; ++i) e.take(read(set.values->data(), column * n + i));
    if (!e.spans()) return std::nullopt;
    const double half = (e.high - e.low) / static_cast<double>(count - 1) / 2;
    const Extent cells{e.low - half, e.high + half};
    if (!std::isfinite(cells.low) || !std::isfinite(cells.high)) return std::nullopt;
    return cells;
}

// The x and y extents of the cells of every grid that the heat map draws; none when there is no
// such grid, or one whose values are not numbers in memory (a data file): gnuplot then bounds the
// axes by the values it reads.
std::optional<std::array<Extent, 2>> cellBox(const PlotState& s)
{
    std::optional<std::array<Extent, 2>> box;
    for (const DataSet& set : s.dataSets) {
        if (!drawnAsCells(s, set)) continue;
        const EntryReader read = entryReader(set.elementType);
        if (!set.values || !read) return std::nullopt;
        const auto nx = static_cast<std::size_t>(*set.gridXCount);
        const auto x = cellExtent(set, read, 0, nx);
        const auto y = cellExtent(set, read, 1, static_cast<std::size_t>(set.pointCount) / nx);
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
    return s.colorMap.heatMap && s.dimension == 3 && set.gridXCount >= 2 && set.pointCount / *set.gridXCount >= 2;
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
