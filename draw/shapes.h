// The shape objects section of a plot block.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

void writeShapeObjects(ScriptWriter& w, const PlotState& s);

}  // namespace rizari
