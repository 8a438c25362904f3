// The arrows and text labels sections of a plot block.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

void writeArrows(ScriptWriter& w, const PlotState& s);
void writeTextLabels(ScriptWriter& w, const PlotState& s);

}  // namespace rizari
