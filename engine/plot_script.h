// The command script of a plot (and of the cells of its grid) and the data files it reads.
#pragma once

#include "engine/layout_probe.h"
#include "platform/platform.h"
#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

// The next cell of a grid's chain, or null after the last.
PlotImpl* nextCell(PlotImpl& plot);

// Whether any cell's block ends in a plot command.
bool anyCellDraws(PlotImpl& top);

// Legends given without a data set number go to the data sets that take them, in order; the
// ones left over are dropped.
void handOutQueuedLegends(PlotState& s);

// Writes the data files that the plot and its cells still lack, and with an engine the whole
// script: a grid's terminal and multiplot lines around the blocks of its cells. Without an engine
// only the data files, and one message per plot. With a probe, a plot that is no grid asks its
// engine for its layout where a data set's thinning needs it (engine/layout_probe.h). False when
// a data file could not be named or written, or a stop signal waits before a data file (the
// script is then incomplete).
bool writePlotScript(ScriptWriter& w, PlotImpl& top, bool engineFound, const platform::DeferredStopSignals* stop = nullptr,
                     const LayoutProbe* probe = nullptr);

}  // namespace rizari
