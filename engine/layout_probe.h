// Where gnuplot puts a plot's area in its picture depends on the widths of its tic labels, its
// titles and its fonts, which only gnuplot knows. Before a large data set of marks is thinned to
// what its pixels show (data/pixel_grid.h), the plot's own script runs once with each such data
// set written as the few points that set its ranges (the ranges, tics and layout come out the
// same) and its picture going to a file of its own; gnuplot then prints the axes' ranges and the
// plot area's edges in its units. In the session's engine this costs a plot of a few points.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

// How to run a script in the engine that will draw the plot.
struct LayoutProbe {
    ScriptWriter::VersionSource version;  // the engine's version, for the lines that depend on it
    // Runs the script; true when the engine finished it without an error.
    std::function<bool(const std::string& script, const EngineEffects& effects)> run;
};

// A data set that waits for the layout, and the picture it is thinned for.
struct LaidOutSet {
    std::size_t index;
    ReductionTarget target;
};

// The layout of plot `s` (whose output is `output`): its block, written by `writeBlock`, run with
// the sets' points that set the ranges in place of their data; none when gnuplot cannot tell.
std::optional<PlotLayout> probeLayout(PlotState& s, OutputState& output, const std::vector<LaidOutSet>& sets, const LayoutProbe& probe,
                                      const std::function<void(ScriptWriter&)>& writeBlock);

}  // namespace rizari
