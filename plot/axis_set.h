// The axes of a plot: their index in the per-axis arrays of the state, the engine's name of each,
// and sets of axes as the PlotAxis codes name them (X 1, Y 2, Z 4, X2 8, Y2 16; a combination is
// the sum of its axes).
#pragma once

#include <optional>

#include "rizari/codes.h"

namespace rizari {

enum AxisIndex : int { AxisX = 0, AxisY = 1, AxisZ = 2, AxisX2 = 3, AxisY2 = 4, AxisCount = 5 };

// The code of each axis, in index order.
inline constexpr int kAxisBit[AxisCount] = {PlotAxis::X, PlotAxis::Y, PlotAxis::Z, PlotAxis::X2, PlotAxis::Y2};
// The axis names of the engine's commands, in index order.
inline constexpr const char* kAxisName[AxisCount] = {"x", "y", "z", "x2", "y2"};
inline constexpr int kAllAxes = PlotAxis::XYZ | PlotAxis::X2 | PlotAxis::Y2;

// True for the codes that name one axis or the combinations x+y, y+z and x+y+z: the codes most
// axis members accept.
constexpr bool isAxisCode(int code)
{
    switch (code) {
    case PlotAxis::X:
    case PlotAxis::Y:
    case PlotAxis::XY:
    case PlotAxis::Z:
    case PlotAxis::YZ:
    case PlotAxis::XYZ:
    case PlotAxis::X2:
    case PlotAxis::Y2: return true;
    default: return false;
    }
}

// The index of the axis that the code names alone; none for a combination or a code of no axis.
constexpr std::optional<AxisIndex> singleAxis(int code)
{
    for (int i = 0; i < AxisCount; ++i)
        if (code == kAxisBit[i]) return static_cast<AxisIndex>(i);
    return std::nullopt;
}

// A set of axes. A code given to it is kept as it stands: bits that name no axis stay (and name
// none).
class AxisSet {
public:
    constexpr AxisSet() = default;
    constexpr explicit AxisSet(int codes) : bits_(codes) {}

    constexpr bool contains(AxisIndex axis) const { return (bits_ & kAxisBit[axis]) != 0; }

    constexpr void add(int codes) { bits_ |= codes; }
    constexpr void remove(int codes) { bits_ &= ~codes; }
    constexpr void set(int codes, bool on) { on ? add(codes) : remove(codes); }

    // The axes of the set in index order: for (AxisIndex axis : AxisSet(code)).
    class Iterator {
    public:
        constexpr Iterator(int bits, int at) : bits_(bits), at_(at) { skipAbsent(); }
        constexpr AxisIndex operator*() const { return static_cast<AxisIndex>(at_); }
        constexpr Iterator& operator++()
        {
            ++at_;
            skipAbsent();
            return *this;
        }
        constexpr bool operator==(const Iterator& other) const { return at_ == other.at_; }

    private:
        constexpr void skipAbsent()
        {
            while (at_ < AxisCount && !(bits_ & kAxisBit[at_])) ++at_;
        }
        int bits_;
        int at_;
    };
    constexpr Iterator begin() const { return {bits_, 0}; }
    constexpr Iterator end() const { return {bits_, AxisCount}; }

private:
    int bits_ = 0;
};

}  // namespace rizari
