// The front's time axes, data file reading and histograms: each passes its arguments to the CPlot
// member of the same concern.
#include "front/refusals.h"
#include "rizari/plot.h"

namespace rizari {

namespace {

using front::applied;
using front::CText;

int code(Axis axes) { return static_cast<int>(axes); }

}  // namespace

Plot& Plot::timeAxis(Axis axes, std::string_view inputFormat, std::string_view labelFormat)
{
    return applied(*this, [&](CPlot& p) { p.timeAxis(code(axes), CText(inputFormat).get(), CText(labelFormat).orNull()); });
}

Plot& Plot::timeRange(Axis axes, std::string_view from, std::string_view to)
{
    return applied(*this, [&](CPlot& p) { p.axisRangeTime(code(axes), CText(from).get(), CText(to).get()); });
}

Plot& Plot::fileSeparator(std::string_view separator)
{
    return applied(*this, [&](CPlot& p) { p.dataFileSeparator(CText(separator).orNull()); });
}

Plot& Plot::fileHeader(bool names) { return applied(*this, [&](CPlot& p) { p.dataFileHeader(names); }); }

Series& Plot::histogram(const detail::Numbers& numbers, int bins)
{
    const std::span<const double> values = numbers.view();
    const int n = front::countOf("Plot::histogram", values.size());
    CPlot& plot = native();
    const std::size_t first = front::dataSetCount(plot);
    front::refusing([&] { return plot.histogram(values.data(), n, bins); });
    return seriesFrom(first);
}

Series& Plot::histogram(const detail::Numbers& numbers, int bins, double low, double high)
{
    const std::span<const double> values = numbers.view();
    const int n = front::countOf("Plot::histogram", values.size());
    CPlot& plot = native();
    const std::size_t first = front::dataSetCount(plot);
    front::refusing([&] { return plot.histogram(values.data(), n, bins, low, high); });
    return seriesFrom(first);
}

}  // namespace rizari
