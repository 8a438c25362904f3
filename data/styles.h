// The styles room: the plot-wide fill style section of a plot block, and the box fill clause of a
// data set, written by the plot command.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

void writeFillStyle(ScriptWriter& w, const PlotState& s);

// " fs", the fill type words and the border words of a box style, all on the current line.
void writeBoxFillClause(ScriptWriter& w, const BoxStyle& boxes);

}  // namespace rizari
