// TEMPORARY: empty sections until the settings emitters are written. Remove each function from
// this file as its real emitter lands; delete the file when it is empty.
#include "plot/cplot.h"
#include "render/script_writer.h"

namespace rizari {

void CPlot::writeAutoscale(ScriptWriter&) const {}
void CPlot::writeBorder(ScriptWriter&) const {}
void CPlot::writeGrid(ScriptWriter&) const {}
void CPlot::writeKey(ScriptWriter&) const {}
void CPlot::writeBoxWidth(ScriptWriter&) const {}
void CPlot::writeBackground(ScriptWriter&, bool) const {}
void CPlot::writeBars(ScriptWriter&) const {}
void CPlot::writeTicsFormats(ScriptWriter&) const {}
void CPlot::writeAxisTics(ScriptWriter&) const {}
void CPlot::writeLogScales(ScriptWriter&) const {}
void CPlot::writeMarginsAndLayout(ScriptWriter&) const {}
void CPlot::writeTicsDirection(ScriptWriter&) const {}
void CPlot::writePolarAndAngles(ScriptWriter&) const {}
void CPlot::writeTimeStamp(ScriptWriter&) const {}
void CPlot::writeDayMonthTics(ScriptWriter&) const {}
void CPlot::writeRanges(ScriptWriter&) const {}
void CPlot::writeZeroAxes(ScriptWriter&) const {}
void CPlot::writeTitlesAndLabels(ScriptWriter&) const {}
void CPlot::write3DSettings(ScriptWriter&) const {}
void CPlot::writeClip(ScriptWriter&) const {}
void CPlot::writeColorMap(ScriptWriter&) const {}
void CPlot::writeNativeCommands(ScriptWriter&) const {}
void CPlot::writeTextOptions(ScriptWriter&) const {}

}  // namespace rizari
