// Style sheets: the look of a plot set in one call, and the sheet's own lines of a plot block.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

// Sets the settings that make up the sheet's look.
void applyStyleSheet(PlotState& s, StyleSheet sheet);
// The grid lines of the clean sheet, before the grid's own line, whose options can change them.
void writeStyleSheet(ScriptWriter& w, const PlotState& s);

}  // namespace rizari
