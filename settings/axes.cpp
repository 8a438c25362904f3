// Autoscaling, explicit ranges, logarithmic scales and the zero axes of a plot.
#include "settings/axes.h"

#include <cstdio>

#include "platform/messages.h"
#include "plot/checks.h"

namespace rizari {

namespace {

// One zero-axis line; the style (type, width, colour) is shared by all zero axes.
void writeZeroAxis(ScriptWriter& w, const AxesState& a, AxisIndex axis)
{
    const LineStyle& style = a.zeroAxisStyle;
    const char* name = kAxisName[axis];
    if (!a.zeroAxes.contains(axis)) {
        w.print("unset %szeroaxis\n", name);
    } else if (!style.type) {
        w.print("set %szeroaxis\n", name);
    } else {
        w.print("set %szeroaxis", name);
        w.print(" lt %d", *style.type);
        w.print(" lw %d", style.width);
        w.print(" lc rgbcolor \"%q\"\n", style.color.c_str());
    }
}

// Log scale for the axes of a valid code and type; `base` is null when the caller gave none.
void applyScaleType(AxesState& a, int axis, int type, const double* base)
{
    if (!isAxisCode(axis)) {
        report("CPlot::scaleType(): invalid axis\n");
    } else if (type == ScaleType::Log) {
        a.logAxes.add(axis);
        if (base) {
            for (AxisIndex i : AxisSet(axis)) a.logBase[i] = *base;
            return;
        }
    } else if (type == ScaleType::Linear) {
        a.logAxes.remove(axis);
    } else {
        report("CPlot::scaleType(): invalid scale type\n");
        return;
    }
    if (base) report("CPlot::scaleType(): invalid number of arguments\n");
}

}  // namespace

void CPlot::autoScale(int axes, int flag)
{
    if (axes < 1 || axes > kAllAxes || (flag != 0 && flag != 1)) {
        report("plot.autoScale(): invalid parameter\n");
        return;
    }
    impl_->state.axes.autoscaled.set(axes, flag == 1);
}

void CPlot::axis(int axis, int flag)
{
    if (static_cast<unsigned>(flag) > 1) {
        report("CPlot::axis(): invalid parameter\n");
        return;
    }
    switch (axis) {
    case PlotAxis::X:
    case PlotAxis::Y:
    case PlotAxis::XY:
    case PlotAxis::XYZ:
    case PlotAxis::X2:
    case PlotAxis::Y2: impl_->state.axes.zeroAxes.set(axis, flag == 1); break;
    default: report("CPlot::axis(): invalid axis\n");
    }
}

void CPlot::axis(int axis, int lineType, int lineWidth, const char* color)
{
    AxesState& a = impl_->state.axes;
    switch (axis) {
    case PlotAxis::X:
    case PlotAxis::Y:
    case PlotAxis::XY:
    case PlotAxis::X2:
    case PlotAxis::Y2: a.zeroAxes.add(axis); break;
    default: report("CPlot::axis(): invalid axis\n");
    }
    // The style is kept even for a refused axis: it is shared by all zero axes.
    a.zeroAxisStyle.type = givenLineType(lineType);
    a.zeroAxisStyle.width = lineWidth;
    a.zeroAxisStyle.color.assign(color);
}

void CPlot::axisRange(int axis, double minimum, double maximum)
{
    if (!isAxisCode(axis)) {
        report("CPlot::axisRange(): invalid axis\n");
        return;
    }
    if (!finiteArguments("axisRange", {minimum, maximum})) return;
    for (AxisIndex i : AxisSet(axis)) impl_->state.axes.range[i] = Range{minimum, maximum};
}

void CPlot::axisRange(int axis, double minimum, double maximum, double incr)
{
    if (!isAxisCode(axis)) {
        report("CPlot::axisRange(): invalid axis\n");
        return;
    }
    if (!finiteArguments("axisRange", {minimum, maximum, incr})) return;
    axisRange(axis, minimum, maximum);
    ticsRange(axis, incr, minimum, maximum);
}

void CPlot::scaleType(int axis, int type) { applyScaleType(impl_->state.axes, axis, type, nullptr); }

void CPlot::scaleType(int axis, int type, double base)
{
    if (finiteArguments("scaleType", {base})) applyScaleType(impl_->state.axes, axis, type, &base);
}

void writeAutoscale(ScriptWriter& w, const PlotState& s)
{
    static constexpr AxisIndex kOrder[] = {AxisX, AxisX2, AxisY, AxisY2};
    const AxisSet on = s.axes.autoscaled;
    for (AxisIndex i : kOrder) w.print(on.contains(i) ? "set autoscale %s\n" : "unset autoscale %s\n", kAxisName[i]);
    if (s.dimension == 3) w.put(on.contains(AxisZ) ? "set autoscale z\n" : "unset autoscale z\n");
}

void writeLogScales(ScriptWriter& w, const PlotState& s)
{
    const AxesState& a = s.axes;
    for (AxisIndex i : a.logAxes) w.print("set logscale %s %f\n", kAxisName[i], a.logBase[i]);
}

void writeRanges(ScriptWriter& w, const PlotState& s)
{
    for (int i = 0; i < AxisCount; ++i) {
        const std::optional<Range>& range = s.axes.range[i];
        if (!range || (i == AxisZ && s.dimension != 3)) continue;
        w.print("set %srange [%f:%f]\n", kAxisName[i], range->min, range->max);
    }
}

void writeZeroAxes(ScriptWriter& w, const PlotState& s)
{
    const AxesState& a = s.axes;
    writeZeroAxis(w, a, AxisX);
    writeZeroAxis(w, a, AxisY);
    if (!a.zeroAxes.contains(AxisZ)) w.put("unset zzeroaxis\n");
    writeZeroAxis(w, a, AxisX2);
    writeZeroAxis(w, a, AxisY2);
}

}  // namespace rizari
