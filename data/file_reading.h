// How the engine reads the data files of a plot: the caller's files with the plot's column
// separator and header line, the library's own files whatever those are (and on time axes as
// plain seconds).
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

// The separator line of the plot's data files, when they are not read as blank-separated.
void writeFileReading(ScriptWriter& w, const PlotState& s);

// The words after a data set's file name that say how to read it: the header line to skip, the
// columns to read. True when they name the columns ("using ...").
bool writeReadingWords(ScriptWriter& w, const PlotState& s, const DataSet& set);

// Whether the data set's legend is the name of its column in its file's header line.
bool titleFromHeader(const PlotState& s, const DataSet& set);

}  // namespace rizari
