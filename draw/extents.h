// The coordinates of drawn items: the check of a shape's arguments, and the object extents of a
// plot that each item widens (they make the items visible, see writeObjectRanges).
#pragma once

#include <cmath>
#include <initializer_list>

#include "plot/checks.h"
#include "plot/plot_state.h"

namespace rizari::draw {

// The coordinates and sizes of a shape: an infinity stands for the large finite value of its sign
// (the values are changed in place); NaN is refused with the member's invalid-parameter message.
inline bool shapeArguments(const char* member, std::initializer_list<double*> values)
{
    for (double* v : values) {
        if (std::isnan(*v)) {
            reportInvalidParameter(member);
            return false;
        }
    }
    for (double* v : values) *v = finiteValue(*v);
    return true;
}

// Each bound moves only when the candidate lies strictly beyond it. The low and high candidates
// are taken as given (a rectangle of negative width merges x into xmin and x + width into xmax).
inline void mergeBox(ObjectExtents& e, double xLow, double xHigh, double yLow, double yHigh)
{
    xLow = withinDoubles(xLow), xHigh = withinDoubles(xHigh), yLow = withinDoubles(yLow), yHigh = withinDoubles(yHigh);
    if (xLow < e.xmin) e.xmin = xLow;
    if (xHigh > e.xmax) e.xmax = xHigh;
    if (yLow < e.ymin) e.ymin = yLow;
    if (yHigh > e.ymax) e.ymax = yHigh;
}

inline void mergePoint(ObjectExtents& e, double x, double y) { mergeBox(e, x, x, y, y); }

// The box of the full circle around (x, y): circles, arc sectors and arc segments all take it.
inline void mergeCircleBox(ObjectExtents& e, double x, double y, double r) { mergeBox(e, x - r, x + r, y - r, y + r); }

}  // namespace rizari::draw
