// Autoscaling, explicit ranges, logarithmic scales and the zero axes of a plot.
#include <cstdio>

#include "plot/cplot.h"
#include "render/script_writer.h"

namespace rizari {

namespace {

// One zero-axis line; the style (type, width, colour) is shared by all zero axes.
void writeZeroAxis(ScriptWriter& w, const AxesState& a, int bit, const char* name)
{
    if (!(a.zeroAxes & bit)) {
        w.print("unset %szeroaxis\n", name);
    } else if (a.zeroAxisLineType == -999) {
        w.print("set %szeroaxis\n", name);
    } else {
        w.print("set %szeroaxis", name);
        w.print(" lt %d", a.zeroAxisLineType);
        w.print(" lw %d", a.zeroAxisLineWidth);
        w.print(" lc rgbcolor \"%s\"\n", a.zeroAxisColor.c_str());
    }
}

// Log scale for the axes of a valid code and type; `base` is null when the caller gave none.
void applyScaleType(AxesState& a, int axis, int type, const double* base)
{
    if (!isAxisCode(axis)) {
        std::fputs("CPlot::scaleType(): invalid axis\n", stderr);
    } else if (type == ScaleType::Log) {
        a.logAxes |= axis;
        if (base) {
            for (int i = 0; i < AxisCount; ++i)
                if (axis & kAxisBit[i]) a.logBase[i] = *base;
            return;
        }
    } else if (type == ScaleType::Linear) {
        a.logAxes &= ~axis;
    } else {
        std::fputs("CPlot::scaleType(): invalid scale type\n", stderr);
        return;
    }
    if (base) std::fputs("CPlot::scaleType(): invalid number of arguments\n", stderr);
}

}  // namespace

void CPlot::autoScale(int axes, int flag)
{
    if (axes < 1 || axes > 31 || (flag != 0 && flag != 1)) {
        std::fputs("plot.autoScale(): invalid parameter\n", stderr);
        return;
    }
    setBits(s_.axes.autoScaleAxes, axes, flag == 1);
}

void CPlot::axis(int axis, int flag)
{
    if (static_cast<unsigned>(flag) > 1) {
        std::fputs("CPlot::axis(): invalid parameter\n", stderr);
        return;
    }
    switch (axis) {
    case PlotAxis::X:
    case PlotAxis::Y:
    case PlotAxis::XY:
    case PlotAxis::XYZ:
    case PlotAxis::X2:
    case PlotAxis::Y2: setBits(s_.axes.zeroAxes, axis, flag == 1); break;
    default: std::fputs("CPlot::axis(): invalid axis\n", stderr);
    }
}

void CPlot::axis(int axis, int lineType, int lineWidth, const char* color)
{
    switch (axis) {
    case PlotAxis::X:
    case PlotAxis::Y:
    case PlotAxis::XY:
    case PlotAxis::X2:
    case PlotAxis::Y2: s_.axes.zeroAxes |= axis; break;
    default: std::fputs("CPlot::axis(): invalid axis\n", stderr);
    }
    // The style is kept even for a refused axis: it is shared by all zero axes.
    s_.axes.zeroAxisLineType = lineType;
    s_.axes.zeroAxisLineWidth = lineWidth;
    s_.axes.zeroAxisColor.assign(color);
}

void CPlot::axisRange(int axis, double minimum, double maximum)
{
    if (!isAxisCode(axis)) {
        std::fputs("CPlot::axisRange(): invalid axis\n", stderr);
        return;
    }
    auto& a = s_.axes;
    a.rangeAxes |= axis;
    for (int i = 0; i < AxisCount; ++i) {
        if (axis & kAxisBit[i]) {
            a.rangeMin[i] = minimum;
            a.rangeMax[i] = maximum;
        }
    }
}

void CPlot::axisRange(int axis, double minimum, double maximum, double incr)
{
    if (!isAxisCode(axis)) {
        std::fputs("CPlot::axisRange(): invalid axis\n", stderr);
        return;
    }
    axisRange(axis, minimum, maximum);
    ticsRange(axis, incr, minimum, maximum);
}

void CPlot::scaleType(int axis, int type) { applyScaleType(s_.axes, axis, type, nullptr); }

void CPlot::scaleType(int axis, int type, double base) { applyScaleType(s_.axes, axis, type, &base); }

void CPlot::writeAutoscale(ScriptWriter& w) const
{
    static constexpr struct {
        int bit;
        const char* name;
    } order[] = {{PlotAxis::X, "x"}, {PlotAxis::X2, "x2"}, {PlotAxis::Y, "y"}, {PlotAxis::Y2, "y2"}};
    const int on = s_.axes.autoScaleAxes;
    for (const auto& axis : order) w.print(on & axis.bit ? "set autoscale %s\n" : "unset autoscale %s\n", axis.name);
    if (s_.plotDimension == 3) w.put(on & PlotAxis::Z ? "set autoscale z\n" : "unset autoscale z\n");
}

void CPlot::writeLogScales(ScriptWriter& w) const
{
    static constexpr const char* names[AxisCount] = {"x", "y", "z", "x2", "y2"};
    const auto& a = s_.axes;
    for (int i = 0; i < AxisCount; ++i)
        if (a.logAxes & kAxisBit[i]) w.print("set logscale %s %f\n", names[i], a.logBase[i]);
}

void CPlot::writeRanges(ScriptWriter& w) const
{
    static constexpr const char* names[AxisCount] = {"x", "y", "z", "x2", "y2"};
    const auto& a = s_.axes;
    for (int i = 0; i < AxisCount; ++i) {
        if (!(a.rangeAxes & kAxisBit[i])) continue;
        if (i == AxisZ && s_.plotDimension != 3) continue;
        w.print("set %srange [%f:%f]\n", names[i], a.rangeMin[i], a.rangeMax[i]);
    }
}

void CPlot::writeZeroAxes(ScriptWriter& w) const
{
    const auto& a = s_.axes;
    writeZeroAxis(w, a, PlotAxis::X, "x");
    writeZeroAxis(w, a, PlotAxis::Y, "y");
    if (!(a.zeroAxes & PlotAxis::Z)) w.put("unset zzeroaxis\n");
    writeZeroAxis(w, a, PlotAxis::X2, "x2");
    writeZeroAxis(w, a, PlotAxis::Y2, "y2");
}

}  // namespace rizari
