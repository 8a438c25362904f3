// Histograms: the counts of values in equal bins (CPlot::histogram), and what their boxes need of
// the plot's ranges.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

// A histogram's boxes stand on 0: an autoscaled y axis (y2 for a histogram drawn against it)
// reaches down to 0 at least, and further where other data go below it.
void writeHistogramRanges(ScriptWriter& w, const PlotState& s);

}  // namespace rizari
