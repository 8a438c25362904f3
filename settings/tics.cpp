// Tic marks: which axes show them, their spacing, explicit and fraction labels, format,
// location, mirroring, direction, day and month tics and the 3D ticslevel.
#include "settings/tics.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/messages.h"
#include "plot/checks.h"

namespace rizari {

namespace {

const char* mirrorWord(const TicsState& t, AxisIndex axis) { return t.mirrored.contains(axis) ? "mirror" : "nomirror"; }

// The tic range forms: `start` and `end` are null when not given.
void applyTicsRange(TicsState& t, int axis, double incr, const double* start, const double* end)
{
    // The start/end flags are shared by all axes and are raised even for a refused axis code.
    if (start) t.startGiven = true;
    if (end) t.endGiven = true;
    if (!isAxisCode(axis)) {
        report("CPlot::ticsRange(): invalid axis\n");
        return;
    }
    if (!start) {
        // Fraction tics on a single axis win over a bare increment.
        if (axis == PlotAxis::X && t.fractionX) return;
        if (axis == PlotAxis::Y && t.fractionY) return;
    }
    for (AxisIndex i : AxisSet(axis)) {
        t.rangedAxes.add(kAxisBit[i]);
        t.ranges[i].incr = incr;
        if (start) t.ranges[i].start = *start;
        if (end) t.ranges[i].end = *end;
    }
}

// Puts one tic at the head of the list of every axis of the code; false when out of memory.
bool addTicLabels(TicsState& t, int axis, const char* label, double position)
{
    try {
        for (AxisIndex i : AxisSet(axis)) {
            TicLabel entry;
            if (label) entry.text = label;
            entry.position = position;
            auto& list = t.labels[i];
            list.insert(list.begin(), std::move(entry));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// The increment clause that follows "set xtics LOC MIRROR" on a range line.
void writeIncrement(ScriptWriter& w, const TicsState& t, int i)
{
    const TicRange& r = t.ranges[i];
    if (t.endGiven) w.print(" %f, %f, %f\n", r.start, r.incr, r.end);
    else if (t.startGiven) w.print(" %f, %f\n", r.start, r.incr);
    else w.print(" %f\n", r.incr);
}

// The explicit tics of one axis as "(... )\n", after the opening words already written.
void writeTicList(ScriptWriter& w, const std::vector<TicLabel>& list)
{
    const char* separator = " (";
    for (const TicLabel& tic : list) {
        if (tic.text) w.print("%s\"%t\" %f", separator, *tic.text, tic.position);
        else w.print("%s%f", separator, tic.position);
        separator = ", ";
    }
    w.put(")\n");
}

// Whether the x axis shows fraction tics (a tic range or hidden tics win over them).
bool showsFractionTics(const TicsState& t) { return t.shown.contains(AxisX) && !t.rangedAxes.contains(AxisX) && t.fractionX; }

// Calls label(n) for the numerators of the x fraction tics, every multiple n/d from floor(d * min)
// upwards until the integer part of an entry exceeds the x range's maximum, at most `most` of
// them; returns how many there are (most + 1 when there are more).
template <class Label> long long forEachFraction(const PlotState& s, long long most, Label&& label)
{
    const int d = *s.tics.fractionX;
    const Range range = s.axes.range[AxisX].value_or(Range{});
    // The first numerator is clamped to the int range so that extreme ranges stay defined.
    int n = static_cast<int>(std::clamp(std::floor(d * range.min), double{INT_MIN}, double{INT_MAX}));
    for (long long count = 1;; ++count, ++n) {
        if (count > most) return count;
        label(n);
        if (!(range.max >= n / d) || n == INT_MAX) return count;
    }
}

// Labels at every multiple n/d of the x range; labels are not reduced (2/4 stays 2/4).
void writeFractionTics(ScriptWriter& w, const PlotState& s, const char* loc, const char* mirror)
{
    const int d = *s.tics.fractionX;
    w.print("set xtics %s %s (", loc, mirror);
    const char* separator = "";
    forEachFraction(s, kMaxFractionLabels, [&](int n) {
        const int q = n / d;
        const double v = static_cast<double>(n) / d;
        char label[32];
        if (q == v) std::snprintf(label, sizeof label, "%d", q);
        else std::snprintf(label, sizeof label, "%d/%d", n, d);
        w.print("%s\"%t\" %f", separator, label, v);
        separator = ", ";
    });
    w.put(")\n");
}

// The member's axis check: false (with its message) for a code that names no axis.
bool axisAccepted(int axis, const char* member)
{
    if (isAxisCode(axis)) return true;
    reportf("CPlot::%s(): invalid axis\n", member);
    return false;
}

}  // namespace

void CPlot::tics(int axes, int flag)
{
    if (!(axes & kAllAxes) || (flag != 0 && flag != 1)) {
        report("CPlot::tics(): invalid parameter\n");
        return;
    }
    impl_->state.tics.shown.set(axes, flag == 1);
}

void CPlot::ticsRange(int axis, double incr)
{
    if (finiteArguments("ticsRange", {incr})) applyTicsRange(impl_->state.tics, axis, incr, nullptr, nullptr);
}

void CPlot::ticsRange(int axis, double incr, double start)
{
    if (finiteArguments("ticsRange", {incr, start})) applyTicsRange(impl_->state.tics, axis, incr, &start, nullptr);
}

void CPlot::ticsRange(int axis, double incr, double start, double end)
{
    if (finiteArguments("ticsRange", {incr, start, end})) applyTicsRange(impl_->state.tics, axis, incr, &start, &end);
}

void CPlot::ticsLabel(int axis, const char* label, double position)
{
    if (!axisAccepted(axis, "ticsLabel") || !finiteArguments("ticsLabel", {position})) return;
    TicsState& t = impl_->state.tics;
    // Labels on x or y alone replace a tic range of that axis; other codes leave ranges alone.
    if (axis == PlotAxis::X || axis == PlotAxis::Y) t.rangedAxes.remove(axis);
    if (!addTicLabels(t, axis, label, position)) report("CPlot::ticsLabel(): malloc error\n");
}

void CPlot::ticsPosition(int axis, double position)
{
    if (!axisAccepted(axis, "ticsPosition") || !finiteArguments("ticsPosition", {position})) return;
    if (!addTicLabels(impl_->state.tics, axis, nullptr, position)) report("CPlot::ticsPosition(): malloc error\n");
}

void CPlot::ticsFraction(int axis, int denominator)
{
    if (denominator < 1) {
        report("CPlot::ticsFraction(): invalid fraction\n");
        return;
    }
    if (denominator > kMaxFractionDenominator) return reportLimit("ticsFraction", kMaxFractionDenominator, "as denominator");
    TicsState& t = impl_->state.tics;
    if (axis == PlotAxis::X) {
        t.rangedAxes.remove(PlotAxis::X);
        t.fractionX = denominator;
    } else if (axis == PlotAxis::Y) {
        t.rangedAxes.remove(PlotAxis::Y);
        t.fractionY = denominator;
    } else {
        report("CPlot::ticsFraction(): invalid axis\n");
    }
}

void CPlot::ticsFormat(int axis, const char* format)
{
    if (!format || !axisAccepted(axis, "ticsFormat")) return;
    for (AxisIndex i : AxisSet(axis)) impl_->state.tics.format[i] = format;
}

void CPlot::ticsLocation(int axis, const char* location)
{
    if (!location || (std::strcmp(location, "border") != 0 && std::strcmp(location, "axis") != 0)) {
        report("CPlot::ticsLocation(): invalid tic location\n");
        return;
    }
    switch (axis) {
    case PlotAxis::X:
    case PlotAxis::Y:
    case PlotAxis::XY:
    case PlotAxis::X2:
    case PlotAxis::Y2:
        for (AxisIndex i : AxisSet(axis)) impl_->state.tics.location[i] = location;
        break;
    default: report("CPlot::ticsLocation(): invalid axis\n");
    }
}

void CPlot::ticsMirror(int axis, int flag)
{
    if (static_cast<unsigned>(flag) > 1) {
        report("CPlot::ticsMirror(): invalid parameter\n");
        return;
    }
    if (!axisAccepted(axis, "ticsMirror")) return;
    impl_->state.tics.mirrored.set(axis, flag == 1);
}

void CPlot::ticsDirection(int direction)
{
    const std::optional<TicDirection> known = knownCode<TicDirection>(direction);
    if (!known) {
        report("CPlot::ticsDirection(): invalid parameter\n");
        return;
    }
    impl_->state.tics.direction = *known;
}

void CPlot::ticsDay(int axis)
{
    if (axisAccepted(axis, "ticsDay")) impl_->state.tics.dayAxes.add(axis);
}

void CPlot::ticsMonth(int axis)
{
    if (axisAccepted(axis, "ticsMonth")) impl_->state.tics.monthAxes.add(axis);
}

void CPlot::ticsLevel(double level)
{
    if (!(level >= 0.0 && std::isfinite(level))) {
        report("CPlot::ticsLevel(): invalid parameter\n");
        return;
    }
    impl_->state.tics.level = level;
}

void writeTicsLevel(ScriptWriter& w, const PlotState& s) { w.print("set ticslevel %f\n", s.tics.level); }

void writeTicsFormats(ScriptWriter& w, const PlotState& s)
{
    for (int i = 0; i < AxisCount; ++i) w.print("set format %s \"%t\"\n", kAxisName[i], s.tics.format[i]);
}

void writeAxisTics(ScriptWriter& w, const PlotState& s)
{
    const TicsState& t = s.tics;
    static constexpr AxisIndex kOrder[] = {AxisX, AxisX2, AxisY, AxisY2};
    for (AxisIndex i : kOrder) {
        const char* name = kAxisName[i];
        const char* loc = t.location[i].c_str();
        const char* mirror = mirrorWord(t, i);
        if (!t.shown.contains(i)) {
            w.print("unset %stics\n", name);
        } else if (t.rangedAxes.contains(i)) {
            w.print("set %stics %s %s", name, loc, mirror);
            writeIncrement(w, t, i);
        } else if (i == AxisX && showsFractionTics(t)) {
            writeFractionTics(w, s, loc, mirror);
        } else if (!t.labels[i].empty()) {
            w.print("set %stics %s %s", name, loc, mirror);
            writeTicList(w, t.labels[i]);
        } else {
            w.print("unset %stics\n", name);
            w.print("set %stics %s %s\n", name, loc, mirror);
        }
    }

    const char* mirror = mirrorWord(t, AxisZ);
    if (!t.shown.contains(AxisZ)) {
        w.put("unset ztics\n");
    } else if (t.rangedAxes.contains(AxisZ) && s.dimension == 3) {
        w.print("set ztics %s", mirror);
        writeIncrement(w, t, AxisZ);
    } else if (!t.labels[AxisZ].empty()) {
        w.print("set ztics %s", mirror);
        writeTicList(w, t.labels[AxisZ]);
    } else {
        w.put("unset ztics\n");
        w.print("set ztics %s\n", mirror);
    }
}

bool ticsFitTheirLimits(const PlotState& s)
{
    if (!showsFractionTics(s.tics) || forEachFraction(s, kMaxFractionLabels, [](int) {}) <= kMaxFractionLabels) return true;
    reportf("CPlot::plotting(): fraction tics over the x range would be more than %lld labels\n", kMaxFractionLabels);
    return false;
}

void writeTicsDirection(ScriptWriter& w, const PlotState& s)
{
    const TicsState& t = s.tics;
    w.put(t.direction == TicDirection::Out ? "set tics out\n" : "set tics in\n");
    static constexpr AxisIndex kOrder[] = {AxisX, AxisX2, AxisY, AxisY2, AxisZ};
    for (AxisIndex i : kOrder)
        if (!t.shown.contains(i)) w.print("unset %stics\n", kAxisName[i]);
}

void writeDayMonthTics(ScriptWriter& w, const PlotState& s)
{
    const TicsState& t = s.tics;
    // Day tics exist for x, y and z only; x2 and y2 are accepted but have no line.
    for (AxisIndex i : t.dayAxes)
        if (i <= AxisZ) w.print("set %sdtics\n", kAxisName[i]);
    for (AxisIndex i : t.monthAxes) w.print("set %smtics\n", kAxisName[i]);
}

}  // namespace rizari
