// The settings room's own section writers and setters for the concerns declared here; the script's
// assembler (engine/plot_script.cpp) calls the writers, the typed front the setters.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

// ---- Heat maps, palettes and the colour bar (settings/color_map.cpp) ----

void choosePalette(PlotState& s, Palette palette);
// Whether the heat map draws the data set as cells: a grid of at least 2 x 2 values.
bool drawnAsCells(const PlotState& s, const DataSet& set);
// The "set palette" line of the plot's palette.
void writePalette(ScriptWriter& w, const PlotState& s);
// The heat map's view from above: no zero axes, the ranges fitting its cells, the colour range
// fitting its values (3D plots).
void writeHeatMap(ScriptWriter& w, const PlotState& s);
void writeColorBoxLabel(ScriptWriter& w, const PlotState& s);

// ---- Style sheets (settings/style_sheet.cpp) ----

// Sets the settings that make up the sheet's look.
void applyStyleSheet(PlotState& s, StyleSheet sheet);
// The grid lines of the clean sheet, before the grid's own line, whose options can change them.
void writeStyleSheet(ScriptWriter& w, const PlotState& s);

}  // namespace rizari
