// The integer codes of the rizari plotting library. Scripts pass them as plain ints and name
// them Group.Name (PlotAxis.X); C++ programs write PlotAxis::X. Each code is listed exactly once
// below: the enums and the script constants are made from these lists, and a test holds the
// member reference against them.
#pragma once

// Each list calls CODE(Group, Name, value) once per code of its group.
#define RIZARI_PLOT_AXIS_CODES(CODE)                                                               \
    CODE(PlotAxis, X, 1) CODE(PlotAxis, Y, 2) CODE(PlotAxis, XY, 3) CODE(PlotAxis, Z, 4)           \
    CODE(PlotAxis, YZ, 6) CODE(PlotAxis, XYZ, 7) CODE(PlotAxis, X2, 8) CODE(PlotAxis, Y2, 16)
#define RIZARI_PLOT_TYPE_CODES(CODE)                                                               \
    CODE(PlotType, Lines, 2) CODE(PlotType, Impulses, 3) CODE(PlotType, Steps, 4)                  \
    CODE(PlotType, FSteps, 5) CODE(PlotType, Points, 6) CODE(PlotType, LinesPoints, 7)             \
    CODE(PlotType, Dots, 8) CODE(PlotType, HiSteps, 9) CODE(PlotType, BoxErrorBars, 10)            \
    CODE(PlotType, Boxes, 11) CODE(PlotType, BoxXYErrorBars, 12) CODE(PlotType, Candlesticks, 13)  \
    CODE(PlotType, FinanceBars, 14) CODE(PlotType, FilledCurves, 15) CODE(PlotType, Vectors, 16)   \
    CODE(PlotType, XErrorBars, 17) CODE(PlotType, XYErrorBars, 18) CODE(PlotType, YErrorBars, 19)  \
    CODE(PlotType, XErrorLines, 20) CODE(PlotType, XYErrorLines, 21)                               \
    CODE(PlotType, YErrorLines, 22) CODE(PlotType, PM3D, 23)
#define RIZARI_SCALE_TYPE_CODES(CODE) CODE(ScaleType, Linear, 24) CODE(ScaleType, Log, 25)
#define RIZARI_OUTPUT_TYPE_CODES(CODE)                                                             \
    CODE(PlotOutputType, Window, 26) CODE(PlotOutputType, File, 27) CODE(PlotOutputType, Stream, 28)
#define RIZARI_COORD_SYSTEM_CODES(CODE)                                                            \
    CODE(CoordSystem, Cartesian, 29) CODE(CoordSystem, Spherical, 30) CODE(CoordSystem, Cylindrical, 31)
#define RIZARI_TICS_DIRECTION_CODES(CODE) CODE(TicsDirection, In, 32) CODE(TicsDirection, Out, 33)
#define RIZARI_ANGLE_UNIT_CODES(CODE) CODE(AngleUnit, Degrees, 34) CODE(AngleUnit, Radians, 35)
#define RIZARI_TEXT_ALIGN_CODES(CODE)                                                              \
    CODE(TextAlign, Left, 36) CODE(TextAlign, Right, 37) CODE(TextAlign, Center, 38)
#define RIZARI_BOX_FILL_CODES(CODE)                                                                \
    CODE(BoxFill, Empty, 39) CODE(BoxFill, Solid, 40) CODE(BoxFill, TransparentSolid, 41)          \
    CODE(BoxFill, Pattern, 42) CODE(BoxFill, TransparentPattern, 43)
#define RIZARI_CONTOUR_MODE_CODES(CODE)                                                            \
    CODE(ContourMode, Base, 1) CODE(ContourMode, Surface, 2) CODE(ContourMode, Both, 3)

// Codes of the C++ interface only: shape kinds (AddObject), fill modes and the element types of
// data set values (AddCurve, AddSurface).
#define RIZARI_OBJECT_KIND_CODES(CODE)                                                             \
    CODE(ObjectKind, Rectangle, 44) CODE(ObjectKind, Circle, 45) CODE(ObjectKind, ArcSector, 46)   \
    CODE(ObjectKind, ArcSegment, 47) CODE(ObjectKind, Ellipse, 48) CODE(ObjectKind, Polygon, 49)
#define RIZARI_FILL_MODE_CODES(CODE) CODE(FillMode, None, 0) CODE(FillMode, Solid, 1) CODE(FillMode, Pattern, 2)
#define RIZARI_ELEMENT_TYPE_CODES(CODE)                                                            \
    CODE(ElementType, Char, 0) CODE(ElementType, UChar, 1) CODE(ElementType, Short, 2)             \
    CODE(ElementType, UShort, 3) CODE(ElementType, Int, 4) CODE(ElementType, UInt, 5)              \
    CODE(ElementType, Long, 6) CODE(ElementType, ULong, 7) CODE(ElementType, Float, 8)             \
    CODE(ElementType, Double, 9)

// Every code a script can name, group by group.
#define RIZARI_SCRIPT_CODES(CODE)                                                                  \
    RIZARI_PLOT_AXIS_CODES(CODE) RIZARI_PLOT_TYPE_CODES(CODE) RIZARI_SCALE_TYPE_CODES(CODE)        \
    RIZARI_OUTPUT_TYPE_CODES(CODE) RIZARI_COORD_SYSTEM_CODES(CODE)                                 \
    RIZARI_TICS_DIRECTION_CODES(CODE) RIZARI_ANGLE_UNIT_CODES(CODE) RIZARI_TEXT_ALIGN_CODES(CODE)  \
    RIZARI_BOX_FILL_CODES(CODE) RIZARI_CONTOUR_MODE_CODES(CODE)

// Named choices that members take as texts (palette("viridis"), styleSheet("clean")) and the typed
// front as the enum classes below. Each list calls NAME(Name, "text") once per choice.
#define RIZARI_PALETTE_NAMES(NAME)                                                                 \
    NAME(Classic, "classic") NAME(Viridis, "viridis") NAME(Magma, "magma") NAME(Grey, "grey")      \
    NAME(CoolWarm, "coolwarm")
#define RIZARI_STYLE_SHEET_NAMES(NAME) NAME(Classic, "classic") NAME(Clean, "clean")

namespace rizari {

#define RIZARI_CHOICE(name, text) name,
// The colours of the colour bar and the heat map: the classic rainbow, the perceptually uniform
// viridis and magma, grey levels, and the diverging blue-white-red coolwarm.
enum class Palette : int { RIZARI_PALETTE_NAMES(RIZARI_CHOICE) };
// The look of a plot: classic (zero axes, dotted grid, "x"/"y" labels, the rainbow palette) or clean
// (framed axes, a light grid, no default labels, viridis).
enum class StyleSheet : int { RIZARI_STYLE_SHEET_NAMES(RIZARI_CHOICE) };
#undef RIZARI_CHOICE

#define RIZARI_ENUMERATOR(group, name, value) name = value,
#define RIZARI_DECLARE_CODES(group, LIST)                                                          \
    namespace group {                                                                              \
    enum : int { LIST(RIZARI_ENUMERATOR) };                                                        \
    }
RIZARI_DECLARE_CODES(PlotAxis, RIZARI_PLOT_AXIS_CODES)
RIZARI_DECLARE_CODES(PlotType, RIZARI_PLOT_TYPE_CODES)
RIZARI_DECLARE_CODES(ScaleType, RIZARI_SCALE_TYPE_CODES)
RIZARI_DECLARE_CODES(PlotOutputType, RIZARI_OUTPUT_TYPE_CODES)
RIZARI_DECLARE_CODES(CoordSystem, RIZARI_COORD_SYSTEM_CODES)
RIZARI_DECLARE_CODES(TicsDirection, RIZARI_TICS_DIRECTION_CODES)
RIZARI_DECLARE_CODES(AngleUnit, RIZARI_ANGLE_UNIT_CODES)
RIZARI_DECLARE_CODES(TextAlign, RIZARI_TEXT_ALIGN_CODES)
RIZARI_DECLARE_CODES(BoxFill, RIZARI_BOX_FILL_CODES)
RIZARI_DECLARE_CODES(ContourMode, RIZARI_CONTOUR_MODE_CODES)
RIZARI_DECLARE_CODES(ObjectKind, RIZARI_OBJECT_KIND_CODES)
RIZARI_DECLARE_CODES(FillMode, RIZARI_FILL_MODE_CODES)
RIZARI_DECLARE_CODES(ElementType, RIZARI_ELEMENT_TYPE_CODES)
#undef RIZARI_DECLARE_CODES
#undef RIZARI_ENUMERATOR

// The typed codes: one enum class per group of script codes, made from the same rows with the same
// values (static_cast<int>(Style::Lines) is PlotType::Lines). The typed C++ front takes them, and
// the library keeps its state in them; a value of one group does not compile where another is
// expected.
#define RIZARI_TYPED_CODE(group, name, value) name = value,
enum class Axis : int { RIZARI_PLOT_AXIS_CODES(RIZARI_TYPED_CODE) };
enum class Style : int { RIZARI_PLOT_TYPE_CODES(RIZARI_TYPED_CODE) };
enum class Scale : int { RIZARI_SCALE_TYPE_CODES(RIZARI_TYPED_CODE) };
enum class Output : int { RIZARI_OUTPUT_TYPE_CODES(RIZARI_TYPED_CODE) };
enum class Coordinates : int { RIZARI_COORD_SYSTEM_CODES(RIZARI_TYPED_CODE) };
enum class TicDirection : int { RIZARI_TICS_DIRECTION_CODES(RIZARI_TYPED_CODE) };
enum class Angle : int { RIZARI_ANGLE_UNIT_CODES(RIZARI_TYPED_CODE) };
enum class Align : int { RIZARI_TEXT_ALIGN_CODES(RIZARI_TYPED_CODE) };
enum class Fill : int { RIZARI_BOX_FILL_CODES(RIZARI_TYPED_CODE) };
enum class Contour : int { RIZARI_CONTOUR_MODE_CODES(RIZARI_TYPED_CODE) };
#undef RIZARI_TYPED_CODE

// Axes are bits: Axis::X | Axis::Y2 names both, for the members that take several axes.
constexpr Axis operator|(Axis a, Axis b) { return static_cast<Axis>(static_cast<int>(a) | static_cast<int>(b)); }

// A code as scripts name it: group "PlotAxis", name "X", value 1.
struct NamedCode {
    const char* group;
    const char* name;
    int value;
};

#define RIZARI_NAMED_CODE(group, name, value) NamedCode{#group, #name, value},
inline constexpr NamedCode kScriptCodes[] = {RIZARI_SCRIPT_CODES(RIZARI_NAMED_CODE)};
#undef RIZARI_NAMED_CODE

}  // namespace rizari
