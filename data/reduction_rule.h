// When plotting() writes a data set thinned for its picture (data/reduction.h), and for which
// picture. Raster images (png, pngcairo, gif, jpeg and the like, as files or on standard output)
// are thinned; windows, which may be zoomed, and vector images are not, unless turned on. The
// plot's reduceLargeData() decides first, then RIZARI_REDUCE=1 (on for every output) or 0 (off).
//
// A data set is thinned only when the picture is the one the reduction assumes: 2D, x and y
// autoscaled or given ranges, linear or log first axes, nothing that could change the mapping
// behind the library's back (native commands that name ranges, scales, margins or sizes; shape
// objects), no smoothing or column options, a style the reduction knows (marks and impulses in an
// opaque colour), values of the library's own or borrowed from the caller in a numeric element
// type, and more points than the threshold.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "data/reduction.h"
#include "plot/plot_state.h"

namespace rizari {

// What plotting() does with `set` of the plot (or grid cell) `cell`, drawn to `output` (the top
// plot's): the picture to thin it for, or none to write it whole, with the reason when it is to be
// thinned (a raster image, or thinning asked for) and cannot be.
struct ThinningPlan {
    std::optional<ReductionTarget> target;
    std::string_view whyWhole;
};
ThinningPlan thinningPlan(const PlotState& cell, const OutputState& output, const DataSet& set);

// The plan's target alone.
std::optional<ReductionTarget> reductionTarget(const PlotState& cell, const OutputState& output, const DataSet& set);

// Whether the thinning of a data set for this picture is exact with the plot's layout, which a run
// of the plot's own script tells (PlotLayout): marks and dots on linear axes of a cairo terminal.
bool wantsLayout(const ReductionTarget& target);

// A data set of more points than this, drawn whole into a picture that thins, is told of.
inline constexpr std::size_t kToldPoints = 200000;

// What the reduction makes of a style; none for the styles it leaves whole (boxes, error bars,
// candlesticks, financebars, vectors, pm3d).
std::optional<ReducedStyle> reducedStyle(KeptCode<Style> plotType);

}  // namespace rizari
