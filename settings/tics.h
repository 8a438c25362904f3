// The tics room's sections of a plot block: formats, the tics of each axis, their direction, day
// and month tics and the 3D ticslevel.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

void writeTicsFormats(ScriptWriter& w, const PlotState& s);
void writeAxisTics(ScriptWriter& w, const PlotState& s);
void writeTicsDirection(ScriptWriter& w, const PlotState& s);
void writeDayMonthTics(ScriptWriter& w, const PlotState& s);
// Where the tics of a 3D plot stand below the base of the box.
void writeTicsLevel(ScriptWriter& w, const PlotState& s);
// Whether the plot's tics stay within their limits; false after the message.
bool ticsFitTheirLimits(const PlotState& s);

}  // namespace rizari
