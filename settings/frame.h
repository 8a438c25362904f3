// The frame room's sections of a plot block: border, grid, box width, background, error bar ends,
// margins and placement.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

void writeBorder(ScriptWriter& w, const PlotState& s);
void writeGrid(ScriptWriter& w, const PlotState& s);
void writeBoxWidth(ScriptWriter& w, const PlotState& s);
// In a cell of a grid the background covers the cell only.
void writeBackground(ScriptWriter& w, const PlotState& s, bool inGridCell);
void writeBars(ScriptWriter& w, const PlotState& s);
void writeMarginsAndLayout(ScriptWriter& w, const PlotState& s);

}  // namespace rizari
