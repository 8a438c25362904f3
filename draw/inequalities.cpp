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

#include "draw/color_cycle.h"
#include "platform/messages.h"

namespace rizari {

namespace {

// A boundary that belongs to the set is filled; one that does not is open.
constexpr draw::Marker kFilled = draw::Marker::FilledCircle;
constexpr draw::Marker kOpen = draw::Marker::OpenCircle;

bool is(const char* op, const char* text) { return op && std::strcmp(op, text) == 0; }
bool isGreater(const char* op) { return is(op, ">") || is(op, ">="); }
bool isLess(const char* op) { return is(op, "<") || is(op, "<="); }
bool includesBoundary(const char* op) { return is(op, "<=") || is(op, ">="); }
draw::Marker markerType(const char* op) { return includesBoundary(op) ? kFilled : kOpen; }

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

void addMarker(CPlot& plot, PlotState& s, double at, double level, draw::Marker type, const ColorText& color, bool takesLegend)
{
    if (plot.point(at, level, 0.0) != 0) return;
    DataSet& m = s.dataSets.back();
    m.pointSize = draw::kMarkerSize;
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
    m.pointType.reset();
    m.pointSize = givenPointSize(pointSize);
}

void drawSegment(CPlot& plot, double x1, double x2, const char* color)
{
    if (color) plot.line1D(x1, x2, color);
    else plot.line1D(x1, x2);
}

// The set on one side of a bound: the segment between the bound and the edge of the visible range
// on that side (from the lower end), and an arrow from the bound to the edge.
void drawRay(CPlot& plot, double bound, bool below, double lo, double hi, double y, const char* color)
{
    const double edge = below ? lo : hi;
    if (below) drawSegment(plot, edge, bound, color);
    else drawSegment(plot, bound, edge, color);
    plot.arrow(bound, y, 0.0, edge, y, 0.0);
}

// A bound of an inequality: x op value.
struct Bound {
    double value;
    const char* op;
};

// The set between two bounds (`lowerFirst` tells which one is the lower): the segment from the
// first bound to the second with a marker at each; where they meet and both belong to the set,
// one filled marker that carries the legend; otherwise the empty marker of the given point size.
void drawBetween(CPlot& plot, PlotState& s, Bound first, Bound second, bool lowerFirst, double y, const ColorText& c,
                 int emptyPointSize)
{
    const double lower = lowerFirst ? first.value : second.value;
    const double upper = lowerFirst ? second.value : first.value;
    if (upper > lower) {
        plot.line1D(first.value, second.value);
        addMarker(plot, s, first.value, y, markerType(first.op), c, false);
        addMarker(plot, s, second.value, y, markerType(second.op), c, false);
    } else if (first.value == second.value && includesBoundary(first.op) && includesBoundary(second.op)) {
        addMarker(plot, s, second.value, y, kFilled, c, true);
    } else {
        addEmptyMarker(plot, s, emptyPointSize);
    }
}

// Whether x op bound holds, for the ordering operators (false for any other text).
bool holds(double x, const char* op, double bound)
{
    return (is(op, ">=") && x >= bound) || (is(op, ">") && x > bound) || (is(op, "<=") && x <= bound) ||
           (is(op, "<") && x < bound);
}

// A set of at most one value, x == value, when value op bound holds: a filled marker that carries
// the legend, one level up; otherwise the empty marker.
void drawSingleValue(CPlot& plot, PlotState& s, double value, const char* op, double bound, double y, const ColorText& c)
{
    if (holds(value, op, bound)) {
        ++s.draw.level1D;
        addMarker(plot, s, value, y, kFilled, c, true);
    } else {
        addEmptyMarker(plot, s, 0);
    }
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
    if (below || above) {
        drawRay(plot, v, below, lo, hi, y, color);
    } else {
        drawSegment(plot, v, v, color);
        for (std::size_t i = before; i < s.dataSets.size(); ++i) s.dataSets[i].takesQueuedLegend = false;
    }
    const draw::Marker type = (includesBoundary(op) || equal) ? kFilled : kOpen;
    addMarker(plot, s, v, y, type, c, !(below || above));
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

    const Bound first{a, op1}, second{b, op2};
    if (isGreater(op1) && isLess(op2)) {  // a below x below b; an empty set keeps a point size of 1
        drawBetween(*this, s, first, second, true, y, c, 1);
    } else if (isLess(op1) && isGreater(op2)) {  // b below x below a
        drawBetween(*this, s, first, second, false, y, c, 0);
    } else if ((isLess(op1) && isLess(op2)) || (isGreater(op1) && isGreater(op2))) {
        // Both bounds on one side: the tighter one wins (the smaller one below, the larger one
        // above); on a tie the first below and the second above.
        const bool below = isLess(op1);
        const bool firstWins = below ? b >= a : b < a;
        const Bound& m = firstWins ? first : second;
        drawRay(*this, m.value, below, lo, hi, y, nullptr);
        addMarker(*this, s, m.value, y, markerType(m.op), c, false);
    } else if (is(op2, "==") && !is(op1, "==")) {  // at most the single value b
        drawSingleValue(*this, s, b, op1, a, y, c);
    } else if (is(op1, "==")) {  // at most the single value a
        drawSingleValue(*this, s, a, op2, b, y, c);
    } else if (is(op1, "!=")) {  // the other set with a hole at a
        inequal(op2, b);
        addMarker(*this, s, a, y, kOpen, c, false);
    } else if (is(op2, "!=")) {
        inequal(op1, a);
        addMarker(*this, s, b, y, kOpen, c, false);
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
    addMarker(*this, s, a, y, markerType(op1), c, false);
    addMarker(*this, s, b, y, markerType(op2), c, false);
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
