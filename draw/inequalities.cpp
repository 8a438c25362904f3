// Solution sets of one inequality in x, or of two joined by "and", drawn on the number line: a
// segment (line1D), an arrow where the set runs on past the visible x range, and a marker at each
// boundary, filled when the boundary belongs to the set and open when it does not. Each result
// normally takes one level of the number line, so results stack upwards after inequalOffset().
//
// Exactly one data set of a result takes the next queued legend: the segment for the ordering
// operators, the marker for "==" and "!=" and for single-point results.
//
// A null colour counts as no colour: the colour forms then act as the forms without a colour.
#include <cstdio>
#include <cstring>

#include "draw/palette.h"
#include "platform/messages.h"

namespace rizari {

namespace {

constexpr int kFilled = 7;  // point type of a boundary that belongs to the set
constexpr int kOpen = 6;

bool is(const char* op, const char* text) { return op && std::strcmp(op, text) == 0; }
bool isGreater(const char* op) { return is(op, ">") || is(op, ">="); }
bool isLess(const char* op) { return is(op, "<") || is(op, "<="); }
bool includesBoundary(const char* op) { return is(op, "<=") || is(op, ">="); }
int markerType(const char* op) { return includesBoundary(op) ? kFilled : kOpen; }

// The visible x range; without one the range message is written and -10 .. 10 is used.
bool visibleRange(const PlotState& s, double& lo, double& hi)
{
    if (s.axes.range[AxisX]) {
        lo = s.axes.range[AxisX]->min;
        hi = s.axes.range[AxisX]->max;
        return true;
    }
    report("Error: call CPlot::axisRange() first, before call CPlot::inequal().\n");
    lo = -10;
    hi = 10;
    return false;
}

// The level of the next one-dimensional item, fixed once at the start of a call.
double currentLevel(const PlotState& s) { return s.draw.stacked1D ? static_cast<double>(s.draw.level1D) : 0.0; }

// Marker colour of a call: the caller's, else the stroke colour, else the index colour of the
// first data set the call adds.
ColorText callColor(const PlotState& s, const char* color)
{
    return ColorText(color ? color : draw::indexColor(s.draw, s.dataSets.size()));
}

void addMarker(CPlot& plot, PlotState& s, double at, double level, int type, const ColorText& color, bool takesLegend)
{
    if (plot.point(at, level, 0.0) != 0) return;
    DataSet& m = s.dataSets.back();
    m.pointSize = 2;
    m.pointType = type;
    m.pointColor = color;
        m.takesQueuedLegend = takesLegend;
}

// An empty solution set: an invisible point at the origin that can still carry a legend.
void addEmptyMarker(CPlot& plot, PlotState& s, int pointSize)
{
    if (plot.point(0.0, 0.0, 0.0) != 0) return;
    DataSet& m = s.dataSets.back();
    m.lineType = 0;
    m.pointType = 0;
    m.pointSize = pointSize;
}

void drawSegment(CPlot& plot, double x1, double x2, const char* color)
{
    if (color) plot.line1D(x1, x2, color);
    else plot.line1D(x1, x2);
}

int drawInequality(CPlot& plot, PlotState& s, const char* op, double v, const char* color)
{
    double lo, hi;
    const int result = visibleRange(s, lo, hi) ? 0 : -1;
    const double y = currentLevel(s);
    const ColorText c = callColor(s, color);

    const bool below = isLess(op), above = isGreater(op);
    const bool equal = is(op, "=="), notEqual = !color && is(op, "!=");
    if (!below && !above && !equal && !notEqual) {
        // Nothing is drawn for an operator that is not understood, not even a marker.
        report("Error: invalid relational operator for the first argument of CPlot::inequal().\n");
        return -1;
    }
    const std::size_t before = s.dataSets.size();
    if (below) {
        drawSegment(plot, lo, v, color);
        plot.arrow(v, y, 0.0, lo, y, 0.0);
    } else if (above) {
        drawSegment(plot, v, hi, color);
        plot.arrow(v, y, 0.0, hi, y, 0.0);
    } else {
        drawSegment(plot, v, v, color);
        for (std::size_t i = before; i < s.dataSets.size(); ++i) s.dataSets[i].takesQueuedLegend = false;
    }
    const int type = (includesBoundary(op) || equal) ? kFilled : kOpen;
    addMarker(plot, s, v, y, type, c, (below || above) ? 0 : 1);
    return result;
}

}  // namespace

int CPlot::inequal(const char* op, double v)
{
    return finiteArguments("inequal", {v}) ? drawInequality(*this, impl_->state, op, v, nullptr) : -1;
}

int CPlot::inequal(const char* op, double v, const char* color)
{
    return finiteArguments("inequal", {v}) ? drawInequality(*this, impl_->state, op, v, color) : -1;
}

int CPlot::inequalAnd(const char* op1, double a, const char* op2, double b)
{
    if (!finiteArguments("inequalAnd", {a, b})) return -1;
    PlotState& s = impl_->state;
    double lo, hi;
    const int result = visibleRange(s, lo, hi) ? 0 : -1;
    const double y = currentLevel(s);
    const ColorText c = callColor(s, nullptr);

    if (isGreater(op1) && isLess(op2)) {  // a below x below b
        if (b > a) {
            line1D(a, b);
            addMarker(*this, s, a, y, markerType(op1), c, 0);
            addMarker(*this, s, b, y, markerType(op2), c, 0);
        } else if (b == a && includesBoundary(op1) && includesBoundary(op2)) {
            addMarker(*this, s, b, y, kFilled, c, 1);
        } else {
            addEmptyMarker(*this, s, 1);
        }
    } else if (isLess(op1) && isGreater(op2)) {  // b below x below a
        if (a > b) {
            line1D(a, b);
            addMarker(*this, s, a, y, markerType(op1), c, 0);
            addMarker(*this, s, b, y, markerType(op2), c, 0);
        } else if (a == b && includesBoundary(op1) && includesBoundary(op2)) {
            addMarker(*this, s, b, y, kFilled, c, 1);
        } else {
            addEmptyMarker(*this, s, 0);
        }
    } else if (isLess(op1) && isLess(op2)) {  // the smaller bound wins; on a tie the first
        const bool first = b >= a;
        const double m = first ? a : b;
        line1D(lo, m);
        arrow(m, y, 0.0, lo, y, 0.0);
        addMarker(*this, s, m, y, markerType(first ? op1 : op2), c, 0);
    } else if (isGreater(op1) && isGreater(op2)) {  // the larger bound wins; on a tie the second
        const bool second = b >= a;
        const double m = second ? b : a;
        line1D(m, hi);
        arrow(m, y, 0.0, hi, y, 0.0);
        addMarker(*this, s, m, y, markerType(second ? op2 : op1), c, 0);
    } else if (is(op2, "==") && !is(op1, "==")) {  // at most the single value b
        const bool inSet = (is(op1, ">=") && b >= a) || (is(op1, ">") && b > a) || (is(op1, "<=") && a >= b) ||
                           (is(op1, "<") && a > b);
        if (inSet) {
            ++s.draw.level1D;
            addMarker(*this, s, b, y, kFilled, c, 1);
        } else {
            addEmptyMarker(*this, s, 0);
        }
    } else if (is(op1, "==")) {  // at most the single value a
        const bool inSet = (is(op2, "<=") && b >= a) || (is(op2, "<") && b > a) || (is(op2, ">=") && a >= b) ||
                           (is(op2, ">") && a > b);
        if (inSet) {
            ++s.draw.level1D;
            addMarker(*this, s, a, y, kFilled, c, 1);
        } else {
            addEmptyMarker(*this, s, 0);
        }
    } else if (is(op1, "!=")) {  // the other set with a hole at a
        inequal(op2, b);
        addMarker(*this, s, a, y, kOpen, c, 0);
    } else if (is(op2, "!=")) {
        inequal(op1, a);
        addMarker(*this, s, b, y, kOpen, c, 0);
    }
    // Any other pair holds an operator that is not understood and draws nothing.
    return result;
}

int CPlot::inequalAnd(const char* op1, double a, const char* op2, double b, const char* color)
{
    if (!finiteArguments("inequalAnd", {a, b})) return -1;
    PlotState& s = impl_->state;
    if (!color) return inequalAnd(op1, a, op2, b);
    // The caller says what the set is: a segment from a to b with a marker at each end.
    const double y = currentLevel(s);
    const ColorText c(color);
    line1D(a, b, color);
    addMarker(*this, s, a, y, markerType(op1), c, 0);
    addMarker(*this, s, b, y, markerType(op2), c, 0);
    ++s.draw.level1D;
    return 0;
}

int CPlot::inequalOffset()
{
    PlotState& s = impl_->state;
    s.draw.stacked1D = true;
    return 0;
}

}  // namespace rizari
