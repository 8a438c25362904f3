// Heat maps, palettes and the colour bar: the palette's setter and the room's sections of a plot
// block.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

void choosePalette(PlotState& s, Palette palette);
// Whether the heat map draws the data set as cells: a grid of at least 2 x 2 values.
bool drawnAsCells(const PlotState& s, const DataSet& set);
// The "set palette" line of the plot's palette.
void writePalette(ScriptWriter& w, const PlotState& s);
// The heat map's view from above: no zero axes, the ranges fitting its cells, the colour range
// fitting its values (3D plots).
void writeHeatMap(ScriptWriter& w, const PlotState& s);
void writeColorBoxLabel(ScriptWriter& w, const PlotState& s);

}  // namespace rizari
