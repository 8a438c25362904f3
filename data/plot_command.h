// The plot (2D) and splot (3D) commands, and the ranges that make a plot's shape objects and text
// labels visible.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

void writeObjectRanges(ScriptWriter& w, const PlotState& s);
void writePlotCommand(ScriptWriter& w, const PlotState& s);
void writeSplotCommand(ScriptWriter& w, const PlotState& s);

}  // namespace rizari
