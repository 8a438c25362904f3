// TEMPORARY: empty sections until the drawing emitters are written. Remove each function from
// this file as its real emitter lands; delete the file when it is empty.
#include "plot/cplot.h"
#include "render/script_writer.h"

namespace rizari {

void CPlot::writeArrows(ScriptWriter&) const {}
void CPlot::writeTextLabels(ScriptWriter&) const {}
void CPlot::writeShapeObjects(ScriptWriter&) const {}

}  // namespace rizari
