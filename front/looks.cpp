// Heat maps, palettes and style sheets of a Plot: the flag and the label through CPlot, the named
// choices straight to the settings they choose.
#include "front/refusals.h"
#include "rizari/plot.h"
#include "settings/color_map.h"
#include "settings/style_sheet.h"

namespace rizari {

Plot& Plot::heatMap(bool on) { return front::applied(*this, [&](CPlot& p) { p.heatMap(on); }); }

Plot& Plot::colorBoxLabel(std::string_view text)
{
    return front::applied(*this, [&](CPlot& p) { p.colorBoxLabel(front::CText(text).orNull()); });
}

Plot& Plot::palette(Palette palette)
{
    return front::applied(*this, [&](CPlot& p) { choosePalette(PlotAccess::state(p), palette); });
}

Plot& Plot::styleSheet(StyleSheet sheet)
{
    return front::applied(*this, [&](CPlot& p) { applyStyleSheet(PlotAccess::state(p), sheet); });
}

}  // namespace rizari
