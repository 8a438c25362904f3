// The styles room: the plot-wide fill style section of a plot block, and the box fill clause of a
// data set, written by the plot command.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

void writeFillStyle(ScriptWriter& w, const PlotState& s);

// One style of a data set at a time, for the typed front (a member of CPlot sets the line type only
// with the width and colour, the point type only with the size); each stores what the member
// stores of it.
void setLineWidth(DataSet& set, double width);
void setLineType(DataSet& set, int type);
void setLineColor(DataSet& set, std::string_view color);
void setPointType(DataSet& set, int type);
void setPointSize(DataSet& set, double size);

// " fs", the fill type words and the border words of a box style, all on the current line.
void writeBoxFillClause(ScriptWriter& w, const BoxStyle& boxes);

}  // namespace rizari
