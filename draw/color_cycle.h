// The colours that shapes and markers take in turn when no stroke colour was given, and the point
// types and size of the circle markers.
#pragma once

#include <cstddef>

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

}  // namespace rizari::draw
