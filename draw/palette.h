// Pieces shared by the drawing members: the colour cycle names and the merge of a box into the
// object extents of a plot.
#pragma once

#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <limits>

#include "plot/checks.h"
#include "plot/plot_state.h"

namespace rizari::draw {

// Shapes without a stroke colour take these in turn (one counter for the whole library); markers
// without a stroke colour take the name of their data set's position.
inline constexpr const char* kColorCycle[] = {"red", "green", "blue", "magenta", "cyan",
                                             "yellow", "black", "orange", "grey"};
inline constexpr std::size_t kColorCycleSize = sizeof kColorCycle / sizeof kColorCycle[0];

// The engine's point types of the circle markers (circleOpen, circleClosed and the boundaries of
// inequalities), and their size.
enum Marker : int { OpenCircle = 6, FilledCircle = 7 };
inline constexpr int kMarkerSize = 2;

// Colour of a marker drawn as data set number `position`: the stroke colour when one was given,
// else the cycle name of that position (the library-wide counter of shapes is not touched).
inline const char* indexColor(const DrawState& d, std::size_t position)
{
    return d.strokeColor ? d.strokeColor->c_str() : kColorCycle[position % kColorCycleSize];
}

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
