// Style sheets: the look of a plot set in one call. classic is the look every plot has always had;
// clean frames the plot, draws light grid lines behind the data, leaves out the zero axes and the
// default axis labels, and colours with viridis.
#include "settings/style_sheet.h"

#include <cstdio>

#include "platform/messages.h"
#include "plot/choices.h"

namespace rizari {

namespace {

// Solid, thin and light in every terminal: the engine's own grid line type is dotted, and heavy
// in PDF. Behind the data in 2D; in 3D the back layer would take the plot's border behind a heat
// map's cells too, so the grid keeps the border's layer there.
constexpr const char* kCleanGridLines = " lt 1 lw 1 lc rgb \"#dddddd\" dt solid\n";

}  // namespace

void CPlot::styleSheet(const char* name)
{
    const auto sheet = choiceNamed<StyleSheet>(kStyleSheetNames, name);
    if (!sheet) {
        reportf("CPlot::styleSheet(): unknown style sheet; known: %.*s\n", static_cast<int>(kStyleSheetList.size()),
                kStyleSheetList.data());
        return;
    }
    applyStyleSheet(impl_->state, *sheet);
}

void applyStyleSheet(PlotState& s, StyleSheet sheet)
{
    const bool clean = sheet == StyleSheet::Clean;
    s.look.sheet = sheet;
    s.axes.zeroAxes = AxisSet(clean ? 0 : PlotAxis::XY);
    s.axes.zeroAxisStyle = LineStyle{};
    s.frame.border = s.dimension == 3 ? kBorder3D : clean ? kBorder2D : 0;
    s.frame.grid = true;
    s.frame.gridOption = clean ? OptText() : OptText("front");
    const TextState classicTexts;
    for (AxisIndex axis : {AxisX, AxisY, AxisZ}) s.text.axisLabels[axis] = clean ? OptText() : classicTexts.axisLabels[axis];
    s.colorMap.palette = clean ? Palette::Viridis : Palette::Classic;
}

void writeStyleSheet(ScriptWriter& w, const PlotState& s)
{
    if (s.look.sheet != StyleSheet::Clean || !s.frame.grid) return;
    w.put(s.dimension == 3 ? "set grid" : "set grid back");
    w.put(kCleanGridLines);
}

}  // namespace rizari
