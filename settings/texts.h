// The texts room's sections of a plot block: the key, the time stamp, the title and axis labels,
// commands passed on unchanged and the terminal's text options.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

// A scale the fonts take: finite and above 0. fontScale ignores any other, the typed front refuses it.
bool isFontScale(double scale);

void writeKey(ScriptWriter& w, const PlotState& s);
void writeTimeStamp(ScriptWriter& w, const PlotState& s);
// The title, and the labels of the axes the plot's dimension has.
void writeTitlesAndLabels(ScriptWriter& w, const PlotState& s);
void writeNativeCommands(ScriptWriter& w, const PlotState& s);
void writeTextOptions(ScriptWriter& w, const PlotState& s);

}  // namespace rizari
