// The plot (2D) and splot (3D) commands, and the ranges that make a plot's shape objects and text
// labels visible.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

void writeObjectRanges(ScriptWriter& w, const PlotState& s);
void writePlotCommand(ScriptWriter& w, const PlotState& s);
void writeSplotCommand(ScriptWriter& w, const PlotState& s);

// The colour that a data set's clause names ("lc rgbcolor"): its point colour when it has a point
// size, else its line colour when it has no point colour; null when the clause names none.
const ColorText* namedColor(const DataSet& set);

}  // namespace rizari
