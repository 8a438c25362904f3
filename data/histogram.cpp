// histogram: the counts of values in equal bins, added as a curve of the bins' centres and
// counts drawn as boxes exactly as wide as the bins.
#include "data/histogram.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>
#include <utility>

#include "data/computed_curve.h"
#include "platform/messages.h"
#include "plot/checks.h"
#include "plot/plot_state.h"

namespace rizari {

namespace {

struct Bins {
    double low;
    double high;
    int count;

    // Edge k: low + k parts of the span, the last one high itself.
    double edge(int k) const { return k == count ? high : low + (high - low) * k / count; }

    // The bin that holds v: from its left edge up to before its right edge, the last bin also at
    // its right edge (high). None outside [low, high] and for NaN.
    std::optional<int> of(double v) const
    {
        if (!(v >= low && v <= high)) return std::nullopt;
        int k = std::clamp(static_cast<int>(std::floor((v - low) / (high - low) * count)), 0, count - 1);
        // The division rounds; the edges as they are written decide (edge 0 is low itself).
        while (v < edge(k)) --k;
        while (k < count - 1 && v >= edge(k + 1)) ++k;
        return k;
    }
};

// The extent of the finite values; one of width 1 around them when they are all equal, none when
// there is none.
std::optional<std::pair<double, double>> extentOf(const double* values, int n)
{
    std::optional<std::pair<double, double>> extent;
    for (int i = 0; i < n; ++i) {
        const double v = values[i];
        if (!std::isfinite(v)) continue;
        if (!extent) extent = {v, v};
        extent->first = std::min(extent->first, v);
        extent->second = std::max(extent->second, v);
    }
    if (extent && extent->first == extent->second) extent = {extent->first - 0.5, extent->second + 0.5};
    return extent;
}

// The checks of a histogram's arguments; none after the message.
std::optional<Bins> binsFor(const PlotState& s, const double* values, int n, int bins, std::optional<std::pair<double, double>> range)
{
    if (s.dimension != 2) {
        report("CPlot::histogram(): a histogram is drawn in a 2D plot\n");
        return std::nullopt;
    }
    if (n < 0 || (n > 0 && !values)) {
        report("CPlot::histogram(): invalid number of values\n");
        return std::nullopt;
    }
    if (bins < 1) {
        report("CPlot::histogram(): invalid number of bins\n");
        return std::nullopt;
    }
    if (!range) {
        range = extentOf(values, n);
        if (!range) {
            report("CPlot::histogram(): no finite value to take the range from\n");
            return std::nullopt;
        }
    }
    const auto [low, high] = *range;
    if (!std::isfinite(high - low) || !(low < high)) {
        report("CPlot::histogram(): invalid range\n");
        return std::nullopt;
    }
    return Bins{low, high, bins};
}

int addHistogram(CPlot& plot, const double* values, int n, int bins, std::optional<std::pair<double, double>> range)
{
    PlotState& s = PlotAccess::state(plot);
    const auto edges = binsFor(s, values, n, bins, range);
    if (!edges) return -1;
    auto curve = ComputedCurve::allocate(bins, 2);
    if (!curve) {
        report(kNoMemoryForCurve);
        return -1;
    }
    double* centres = curve->column(0);
    double* counts = curve->column(1);
    for (int k = 0; k < bins; ++k) {
        centres[k] = (edges->edge(k) + edges->edge(k + 1)) / 2;
        counts[k] = 0;
    }
    for (int i = 0; i < n; ++i)
        if (const auto k = edges->of(values[i])) ++counts[*k];

    // A fill that waits for the next curve goes on waiting: the bins are boxes.
    StyleState& style = s.style;
    auto fillOption = std::exchange(style.pendingFillOption, std::nullopt);
    auto fillColor = std::exchange(style.pendingFillColor, std::nullopt);
    const int result = addComputedCurve(plot, std::move(*curve));
    style.pendingFillOption = std::move(fillOption);
    style.pendingFillColor = std::move(fillColor);
    if (result != 0) return result;
    DataSet& set = s.dataSets.back();
    set.plotType = Style::Boxes;
    set.binWidth = (edges->high - edges->low) / bins;
    return 0;
}

}  // namespace

void writeHistogramRanges(ScriptWriter& w, const PlotState& s)
{
    if (s.dimension != 2) return;
    bool onY = false, onY2 = false;
    for (const DataSet& set : s.dataSets) {
        if (!set.binWidth) continue;
        const bool second = set.axes && std::string_view(*set.axes).ends_with("y2");
        (second ? onY2 : onY) = true;
    }
    for (const AxisIndex axis : {AxisY, AxisY2}) {
        const bool used = axis == AxisY ? onY : onY2;
        if (used && s.axes.autoscaled.contains(axis) && !s.axes.range[axis]) w.print("set %srange [*<0:*]\n", kAxisName[axis]);
    }
}

int CPlot::histogram(const double* values, int n, int bins) { return addHistogram(*this, values, n, bins, std::nullopt); }

int CPlot::histogram(const double* values, int n, int bins, double low, double high)
{
    if (!finiteArguments("histogram", {low, high})) return -1;
    return addHistogram(*this, values, n, bins, std::pair{low, high});
}

}  // namespace rizari
