// The axes room's sections of a plot block: autoscaling, logarithmic scales, explicit ranges and
// the zero axes.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

void writeAutoscale(ScriptWriter& w, const PlotState& s);
void writeLogScales(ScriptWriter& w, const PlotState& s);
void writeRanges(ScriptWriter& w, const PlotState& s);
void writeZeroAxes(ScriptWriter& w, const PlotState& s);

}  // namespace rizari
