// Integer codes shared by the library, the interpreter entry points and the runner.
// The interpreter passes them as plain ints, so every member takes an int and checks it;
// the unscoped enums below give the codes their names (PlotAxis::X, PlotType::Lines, ...).
#pragma once

namespace rizari {

namespace PlotAxis {
enum : int { X = 1, Y = 2, XY = 3, Z = 4, YZ = 6, XYZ = 7, X2 = 8, Y2 = 16 };
}

namespace PlotType {
enum : int {
    Lines = 2, Impulses = 3, Steps = 4, FSteps = 5, Points = 6, LinesPoints = 7, Dots = 8,
    HiSteps = 9, BoxErrorBars = 10, Boxes = 11, BoxXYErrorBars = 12, Candlesticks = 13,
    FinanceBars = 14, FilledCurves = 15, Vectors = 16, XErrorBars = 17, XYErrorBars = 18,
    YErrorBars = 19, XErrorLines = 20, XYErrorLines = 21, YErrorLines = 22, PM3D = 23
};
}

namespace ScaleType {
enum : int { Linear = 24, Log = 25 };
}

namespace PlotOutputType {
enum : int { Window = 26, File = 27, Stream = 28 };
}

namespace CoordSystem {
enum : int { Cartesian = 29, Spherical = 30, Cylindrical = 31 };
}

namespace TicsDirection {
enum : int { In = 32, Out = 33 };
}

namespace AngleUnit {
enum : int { Degrees = 34, Radians = 35 };
}

namespace TextAlign {
enum : int { Left = 36, Right = 37, Center = 38 };
}

namespace BoxFill {
enum : int { Empty = 39, Solid = 40, TransparentSolid = 41, Pattern = 42, TransparentPattern = 43 };
}

namespace ObjectKind {
enum : int { Rectangle = 44, Circle = 45, ArcSector = 46, ArcSegment = 47, Ellipse = 48, Polygon = 49 };
}

namespace ContourMode {
enum : int { Base = 1, Surface = 2, Both = 3 };
}

namespace FillMode {
enum : int { None = 0, Solid = 1, Pattern = 2 };
}

// Element type of the values of a data set; the data file writer has one format per code.
namespace ElementType {
enum : int { Char = 0, UChar = 1, Short = 2, UShort = 3, Int = 4, UInt = 5, Long = 6, ULong = 7, Float = 8, Double = 9 };
}

// Bits of the box fill flags, for a data set and for the plot as a whole.
namespace BoxFlag {
enum : int { Border = 1, Width = 2, Type = 4, Density = 8, Pattern = 16 };
}

// Bits of the tic range flags beyond the five axis bits; shared by all axes.
namespace TicsFlag {
enum : int { StartGiven = 256, EndGiven = 512 };
}

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

// Adds (on) or removes the mask's bits.
constexpr void setBits(int& bits, int mask, bool on)
{
    if (on) bits |= mask;
    else bits &= ~mask;
}

// Index of an axis in the per-axis arrays of the plot state.
enum AxisIndex : int { AxisX = 0, AxisY = 1, AxisZ = 2, AxisX2 = 3, AxisY2 = 4, AxisCount = 5 };

// The axis bit of each index, in index order.
inline constexpr int kAxisBit[AxisCount] = {PlotAxis::X, PlotAxis::Y, PlotAxis::Z, PlotAxis::X2, PlotAxis::Y2};

// Value stored in place of an infinity in data sets and shape parameters.
inline constexpr double kLargeValue = 9.8e307;

}  // namespace rizari
