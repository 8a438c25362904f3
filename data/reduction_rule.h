// When plotting() writes a data set thinned for its picture (data/reduction.h), and for which
// picture. Raster images (png, pngcairo, gif, jpeg and the like, as files or on standard output)
// are thinned; windows, which may be zoomed, and vector images are not, unless turned on. The
// plot's reduceLargeData() decides first, then RIZARI_REDUCE=1 (on for every output) or 0 (off).
//
// A data set is thinned only when the picture is the one the reduction assumes: 2D, x and y
// autoscaled to the data on linear first axes, nothing that could change the ranges behind the
// library's back (native commands, shape objects), no smoothing or column options, a style the
// reduction knows, doubles in the library's own file, and more points than the threshold.
#pragma once

#include <optional>

#include "data/reduction.h"
#include "plot/plot_state.h"

namespace rizari {

// The picture to thin `set` of the plot (or grid cell) `cell` for, drawn to `output` (the top
// plot's); none to write it whole.
std::optional<ReductionTarget> reductionTarget(const PlotState& cell, const OutputState& output, const DataSet& set);

// What the reduction makes of a style; none for the styles it leaves whole (boxes, error bars,
// candlesticks, financebars, vectors, pm3d).
std::optional<ReducedStyle> reducedStyle(int plotType);

}  // namespace rizari
