// Tic marks: which axes show them, their spacing, explicit and fraction labels, format,
// location, mirroring, direction, day and month tics and the 3D ticslevel.
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "plot/cplot.h"
#include "render/script_writer.h"

namespace rizari {

namespace {

const char* mirrorWord(const TicsState& t, int bit) { return (t.ticsMirrorAxes & bit) ? "mirror" : "nomirror"; }

// The tic range forms: `start` and `end` are null when not given.
void applyTicsRange(TicsState& t, int axis, double incr, const double* start, const double* end)
{
    // The start/end flags are shared by all axes and are raised even for a refused axis code.
    if (start) t.ticsRangeFlags |= TicsFlag::StartGiven;
    if (end) t.ticsRangeFlags |= TicsFlag::EndGiven;
    if (!isAxisCode(axis)) {
        std::fputs("CPlot::ticsRange(): invalid axis\n", stderr);
        return;
    }
    if (!start) {
        // Fraction tics on a single axis win over a bare increment.
        if (axis == PlotAxis::X && t.ticsFractionX != 0) return;
        if (axis == PlotAxis::Y && t.ticsFractionY != 0) return;
    }
    for (int i = 0; i < AxisCount; ++i) {
        if (!(axis & kAxisBit[i])) continue;
        t.ticsRangeFlags |= kAxisBit[i];
        t.ticsIncr[i] = incr;
        if (start) t.ticsStart[i] = *start;
        if (end) t.ticsEnd[i] = *end;
    }
}

// Puts one tic at the head of the list of every axis of the code; false when out of memory.
bool addTicLabels(TicsState& t, int axis, const char* label, double position)
{
    try {
        for (int i = 0; i < AxisCount; ++i) {
            if (!(axis & kAxisBit[i])) continue;
            TicLabel entry;
            if (label) entry.text = label;
            entry.position = position;
            auto& list = t.ticsLabelList[i];
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
    if (t.ticsRangeFlags & TicsFlag::EndGiven) w.print(" %f, %f, %f\n", t.ticsStart[i], t.ticsIncr[i], t.ticsEnd[i]);
    else if (t.ticsRangeFlags & TicsFlag::StartGiven) w.print(" %f, %f\n", t.ticsStart[i], t.ticsIncr[i]);
    else w.print(" %f\n", t.ticsIncr[i]);
}

// The explicit tics of one axis as "(... )\n", after the opening words already written.
void writeTicList(ScriptWriter& w, const std::vector<TicLabel>& list)
{
    bool first = true;
    for (const TicLabel& tic : list) {
        const char* sep = first ? " (" : ", ";
        if (tic.text) w.print("%s\"%s\" %f", sep, *tic.text, tic.position);
        else w.print("%s%f", sep, tic.position);
        first = false;
    }
    w.put(")\n");
}

// Labels at every multiple n/d from floor(d * min) upwards until the integer part of an entry
// exceeds the x range's maximum. Labels are not reduced (2/4 stays 2/4).
void writeFractionTics(ScriptWriter& w, const TicsState& t, const AxesState& a, const char* loc, const char* mirror)
{
    const int d = t.ticsFractionX;
    const double maximum = a.rangeMax[AxisX];
    // The first numerator is clamped to the int range so that extreme ranges stay defined.
    const double start = std::floor(d * a.rangeMin[AxisX]);
    int n = start >= static_cast<double>(INT_MAX) ? INT_MAX
          : start <= static_cast<double>(INT_MIN) ? INT_MIN
          : std::isnan(start) ? 0
          : static_cast<int>(start);
    w.print("set xtics %s %s (", loc, mirror);
    bool first = true;
    while (true) {
        const int q = n / d;
        const double v = static_cast<double>(n) / d;
        char label[32];
        if (q == v) std::snprintf(label, sizeof label, "%d", q);
        else std::snprintf(label, sizeof label, "%d/%d", n, d);
        w.print(first ? "\"%s\" %f" : ", \"%s\" %f", label, v);
        first = false;
        if (!(maximum >= q) || n == INT_MAX) break;
        ++n;
    }
    w.put(")\n");
}

}  // namespace

void CPlot::tics(int axes, int flag)
{
    if (!(axes & 31) || (flag != 0 && flag != 1)) {
        std::fputs("CPlot::tics(): invalid parameter\n", stderr);
        return;
    }
    if (flag == 1) s_.tics.ticsAxes |= axes;
    else s_.tics.ticsAxes &= ~axes;
}

void CPlot::ticsRange(int axis, double incr) { applyTicsRange(s_.tics, axis, incr, nullptr, nullptr); }

void CPlot::ticsRange(int axis, double incr, double start) { applyTicsRange(s_.tics, axis, incr, &start, nullptr); }

void CPlot::ticsRange(int axis, double incr, double start, double end)
{
    applyTicsRange(s_.tics, axis, incr, &start, &end);
}

void CPlot::ticsLabel(int axis, const char* label, double position)
{
    if (!isAxisCode(axis)) {
        std::fputs("CPlot::ticsLabel(): invalid axis\n", stderr);
        return;
    }
    // Labels on x or y alone replace a tic range of that axis; other codes leave ranges alone.
    if (axis == PlotAxis::X || axis == PlotAxis::Y) s_.tics.ticsRangeFlags &= ~axis;
    if (!addTicLabels(s_.tics, axis, label, position)) std::fputs("CPlot::ticsLabel(): malloc error\n", stderr);
}

void CPlot::ticsPosition(int axis, double position)
{
    if (!isAxisCode(axis)) {
        std::fputs("CPlot::ticsPosition(): invalid axis\n", stderr);
        return;
    }
    if (!addTicLabels(s_.tics, axis, nullptr, position)) std::fputs("CPlot::ticsPosition(): malloc error\n", stderr);
}

void CPlot::ticsFraction(int axis, int denominator)
{
    if (denominator < 1) {
        std::fputs("CPlot::ticsFraction(): invalid fraction\n", stderr);
        return;
    }
    auto& t = s_.tics;
    if (axis == PlotAxis::X) {
        t.ticsRangeFlags &= ~PlotAxis::X;
        t.ticsFractionX = denominator;
    } else if (axis == PlotAxis::Y) {
        t.ticsRangeFlags &= ~PlotAxis::Y;
        t.ticsFractionY = denominator;
    } else {
        std::fputs("CPlot::ticsFraction(): invalid axis\n", stderr);
    }
}

void CPlot::ticsFormat(int axis, const char* format)
{
    if (!format) return;
    if (!isAxisCode(axis)) {
        std::fputs("CPlot::ticsFormat(): invalid axis\n", stderr);
        return;
    }
    for (int i = 0; i < AxisCount; ++i)
        if (axis & kAxisBit[i]) s_.tics.ticsFormatText[i] = format;
}

void CPlot::ticsLocation(int axis, const char* location)
{
    if (!location || (std::strcmp(location, "border") != 0 && std::strcmp(location, "axis") != 0)) {
        std::fputs("CPlot::ticsLocation(): invalid tic location\n", stderr);
        return;
    }
    switch (axis) {
    case PlotAxis::X:
    case PlotAxis::Y:
    case PlotAxis::XY:
    case PlotAxis::X2:
    case PlotAxis::Y2:
        for (int i = 0; i < AxisCount; ++i)
            if (axis & kAxisBit[i]) s_.tics.ticsLocationText[i] = location;
        break;
    default: std::fputs("CPlot::ticsLocation(): invalid axis\n", stderr);
    }
}

void CPlot::ticsMirror(int axis, int flag)
{
    if (static_cast<unsigned>(flag) > 1) {
        std::fputs("CPlot::ticsMirror(): invalid parameter\n", stderr);
        return;
    }
    if (!isAxisCode(axis)) {
        std::fputs("CPlot::ticsMirror(): invalid axis\n", stderr);
        return;
    }
    if (flag == 1) s_.tics.ticsMirrorAxes |= axis;
    else s_.tics.ticsMirrorAxes &= ~axis;
}

void CPlot::ticsDirection(int direction)
{
    if (direction != TicsDirection::In && direction != TicsDirection::Out) {
        std::fputs("CPlot::ticsDirection(): invalid parameter\n", stderr);
        return;
    }
    s_.tics.ticsDirectionCode = direction;
}

void CPlot::ticsDay(int axis)
{
    if (!isAxisCode(axis)) {
        std::fputs("CPlot::ticsDay(): invalid axis\n", stderr);
        return;
    }
    s_.tics.dayTicsAxes |= axis;
}

void CPlot::ticsMonth(int axis)
{
    if (!isAxisCode(axis)) {
        std::fputs("CPlot::ticsMonth(): invalid axis\n", stderr);
        return;
    }
    s_.tics.monthTicsAxes |= axis;
}

void CPlot::ticsLevel(double level)
{
    if (!(level >= 0.0)) {  // also refuses NaN
        std::fputs("CPlot::ticsLevel(): invalid parameter\n", stderr);
        return;
    }
    s_.tics.ticsLevelValue = level;
}

void CPlot::writeTicsFormats(ScriptWriter& w) const
{
    const auto& f = s_.tics.ticsFormatText;
    w.print("set format x \"%s\"\n", f[AxisX]);
    w.print("set format y \"%s\"\n", f[AxisY]);
    w.print("set format z \"%s\"\n", f[AxisZ]);
    w.print("set format x2 \"%s\"\n", f[AxisX2]);
    w.print("set format y2 \"%s\"\n", f[AxisY2]);
}

void CPlot::writeAxisTics(ScriptWriter& w) const
{
    const auto& t = s_.tics;
    static constexpr struct {
        int index;
        const char* name;
    } order[] = {{AxisX, "x"}, {AxisX2, "x2"}, {AxisY, "y"}, {AxisY2, "y2"}};
    for (const auto& axis : order) {
        const int i = axis.index;
        const int bit = kAxisBit[i];
        const char* loc = t.ticsLocationText[i].c_str();
        const char* mirror = mirrorWord(t, bit);
        if (!(t.ticsAxes & bit)) {
            w.print("unset %stics\n", axis.name);
        } else if (t.ticsRangeFlags & bit) {
            w.print("set %stics %s %s", axis.name, loc, mirror);
            writeIncrement(w, t, i);
        } else if (i == AxisX && t.ticsFractionX != 0) {
            writeFractionTics(w, t, s_.axes, loc, mirror);
        } else if (!t.ticsLabelList[i].empty()) {
            w.print("set %stics %s %s", axis.name, loc, mirror);
            writeTicList(w, t.ticsLabelList[i]);
        } else {
            w.print("unset %stics\n", axis.name);
            w.print("set %stics %s %s\n", axis.name, loc, mirror);
        }
    }

    const char* mirror = mirrorWord(t, PlotAxis::Z);
    if (!(t.ticsAxes & PlotAxis::Z)) {
        w.put("unset ztics\n");
    } else if ((t.ticsRangeFlags & PlotAxis::Z) && s_.plotDimension == 3) {
        w.print("set ztics %s", mirror);
        writeIncrement(w, t, AxisZ);
    } else if (!t.ticsLabelList[AxisZ].empty()) {
        w.print("set ztics %s", mirror);
        writeTicList(w, t.ticsLabelList[AxisZ]);
    } else {
        w.put("unset ztics\n");
        w.print("set ztics %s\n", mirror);
    }
}

void CPlot::writeTicsDirection(ScriptWriter& w) const
{
    const auto& t = s_.tics;
    w.put(t.ticsDirectionCode == TicsDirection::Out ? "set tics out\n" : "set tics in\n");
    static constexpr struct {
        int bit;
        const char* line;
    } order[] = {{PlotAxis::X, "unset xtics\n"},
                 {PlotAxis::X2, "unset x2tics\n"},
                 {PlotAxis::Y, "unset ytics\n"},
                 {PlotAxis::Y2, "unset y2tics\n"},
                 {PlotAxis::Z, "unset ztics\n"}};
    for (const auto& axis : order)
        if (!(t.ticsAxes & axis.bit)) w.put(axis.line);
}

void CPlot::writeDayMonthTics(ScriptWriter& w) const
{
    static constexpr const char* names[AxisCount] = {"x", "y", "z", "x2", "y2"};
    const auto& t = s_.tics;
    // Day tics exist for x, y and z only; x2 and y2 are accepted but have no line.
    for (int i = AxisX; i <= AxisZ; ++i)
        if (t.dayTicsAxes & kAxisBit[i]) w.print("set %sdtics\n", names[i]);
    for (int i = 0; i < AxisCount; ++i)
        if (t.monthTicsAxes & kAxisBit[i]) w.print("set %smtics\n", names[i]);
}

}  // namespace rizari
