// The sections of a plot block: each writes the lines of one setting of one plot (a plot, or one
// cell of a grid). engine/plotting.cpp calls them in the order the engine needs; each is defined
// beside the members that change its setting.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

void writeAutoscale(ScriptWriter& w, const PlotState& s);      // settings/axes.cpp
void writeLogScales(ScriptWriter& w, const PlotState& s);
void writeRanges(ScriptWriter& w, const PlotState& s);
void writeZeroAxes(ScriptWriter& w, const PlotState& s);

void writeTicsFormats(ScriptWriter& w, const PlotState& s);    // settings/tics.cpp
void writeAxisTics(ScriptWriter& w, const PlotState& s);
void writeTicsDirection(ScriptWriter& w, const PlotState& s);
void writeDayMonthTics(ScriptWriter& w, const PlotState& s);
// Whether the plot's tics stay within their limits; false after the message.
bool ticsFitTheirLimits(const PlotState& s);

void writeKey(ScriptWriter& w, const PlotState& s);            // settings/texts.cpp
void writeTimeStamp(ScriptWriter& w, const PlotState& s);
void writeTitlesAndLabels(ScriptWriter& w, const PlotState& s);
void writeNativeCommands(ScriptWriter& w, const PlotState& s);
void writeTextOptions(ScriptWriter& w, const PlotState& s);

void writePolarAndAngles(ScriptWriter& w, const PlotState& s); // settings/view.cpp
void write3DSettings(ScriptWriter& w, const PlotState& s);
void writeClip(ScriptWriter& w);
void writeColorMap(ScriptWriter& w, const PlotState& s);

void writeBorder(ScriptWriter& w, const PlotState& s);         // settings/frame.cpp
void writeGrid(ScriptWriter& w, const PlotState& s);
void writeBoxWidth(ScriptWriter& w, const PlotState& s);
// In a cell of a grid the background covers the cell only.
void writeBackground(ScriptWriter& w, const PlotState& s, bool inGridCell);
void writeBars(ScriptWriter& w, const PlotState& s);
void writeMarginsAndLayout(ScriptWriter& w, const PlotState& s);

void writeArrows(ScriptWriter& w, const PlotState& s);         // draw/arrows_text.cpp
void writeTextLabels(ScriptWriter& w, const PlotState& s);
void writeShapeObjects(ScriptWriter& w, const PlotState& s);   // draw/shapes.cpp

void writeFillStyle(ScriptWriter& w, const PlotState& s);      // data/styles.cpp
// The terminal and its options (noted as the plot's terminal lines), then the file its picture
// goes to, which every plot sets anew.
void writeTerminalLines(ScriptWriter& w, const PlotState& top);  // engine/output.cpp
void writeObjectRanges(ScriptWriter& w, const PlotState& s);   // data/plot_command.cpp
void writePlotCommand(ScriptWriter& w, const PlotState& s);
void writeSplotCommand(ScriptWriter& w, const PlotState& s);

}  // namespace rizari
