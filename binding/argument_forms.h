// How the hand-written entry points read what follows their fixed arguments, and the properties of
// members that callers of the module need beyond their argument kinds. binding/entries.cpp reads
// its arguments by these descriptions, and the runner builds its member table from them, so the
// two can never disagree.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "data/plot_styles.h"
#include "rizari/codes.h"

namespace rizari::entry {

// The kind of one argument in the interpreter's argument list.
enum class Kind { Int, Double, Text, Array, ArrayOrNull };

// How the arguments after the fixed ones are read.
enum class Tail {
    None,          // no trailing count
    Forms,         // the overload of a count (FORMS rows): its extra parameters
    ElementCount,  // count 1 reads an int that replaces the element count of every array; others read nothing
    AxisStyle,     // count 0 reads nothing; any other count reads a line width and a colour
    PlotType,      // the plot type (fixed argument 0) decides: ints, or texts for the option styles
    BoxFill,       // count 1: a density for the solid fills, a pattern for the pattern fills (type: fixed argument 1)
    GetGrid,       // no script arguments: two places through which the member reports
    Range,         // count 0 reads nothing; count 2 reads two doubles, the low and high ends
    Lifecycle,     // CPlot and dCPlot: reached through CPlot() and delete, not as member calls
};

// The fixed argument whose value chooses the form of a tail (-1: none does).
constexpr int decidingArgument(Tail tail)
{
    switch (tail) {
    case Tail::PlotType: return 0;
    case Tail::BoxFill: return 1;
    default: return -1;
    }
}

// The kinds that a hand-written tail reads for `count` optional arguments, given the value of its
// deciding argument; none when that count calls nothing at all. An empty list with a count above 0
// calls the member without reading the arguments (it then reports the count itself).
inline std::optional<std::vector<Kind>> tailKinds(Tail tail, int count, int decidingValue)
{
    using Kinds = std::vector<Kind>;
    switch (tail) {
    case Tail::ElementCount: return count == 1 ? Kinds{Kind::Int} : Kinds{};
    case Tail::AxisStyle: return count == 0 ? Kinds{} : Kinds{Kind::Int, Kind::Text};
    case Tail::PlotType: {
        const PlotStyle* style = findPlotStyle(KeptCode<Style>(decidingValue));
        if (!style) return std::nullopt;
        if (!style->accepts(count)) return Kinds{};
        return Kinds(static_cast<std::size_t>(count), style->takesText() ? Kind::Text : Kind::Int);
    }
    case Tail::BoxFill:
        if (count == 0) return Kinds{};
        if (count != 1) return std::nullopt;
        if (decidingValue == BoxFill::Solid || decidingValue == BoxFill::TransparentSolid) return Kinds{Kind::Double};
        if (decidingValue == BoxFill::Pattern || decidingValue == BoxFill::TransparentPattern) return Kinds{Kind::Int};
        return std::nullopt;
    case Tail::Range:
        if (count == 2) return Kinds{Kind::Double, Kind::Double};
        return count == 0 ? std::optional<Kinds>(Kinds{}) : std::nullopt;
    default: return count == 0 ? std::optional<Kinds>(Kinds{}) : std::nullopt;
    }
}

// How a hand-written tail's optional arguments read in a member's signature.
constexpr const char* tailSyntax(Tail tail)
{
    switch (tail) {
    case Tail::ElementCount: return " [, int count]";
    case Tail::AxisStyle: return " [, int, text]";
    case Tail::PlotType: return " [, int... | text...]";
    case Tail::BoxFill: return " [, double | int]";
    case Tail::Range: return " [, double, double]";
    default: return "";
    }
}

// The most optional arguments any form of a hand-written tail reads (for PlotType: of any style).
constexpr int longestTail(Tail tail)
{
    switch (tail) {
    case Tail::ElementCount:
    case Tail::BoxFill: return 1;
    case Tail::AxisStyle:
    case Tail::Range: return 2;
    case Tail::PlotType: return kMostStyleExtras;
    default: return 0;
    }
}

// A member whose int arguments count the elements of its arrays: array `array` holds at least the
// value of argument `count` (times that of argument `factor`, when there is one) elements; a count
// argument that is itself an array counts with its length. The module trusts such a count, as it
// trusts the interpreter; a caller must not pass a larger one. The explicit count of an
// ElementCount tail replaces these rows: then every array holds at least that many.
struct CountedArray {
    std::string_view member;
    int array;
    int count;
    int factor = -1;
};

inline constexpr CountedArray kCountedArrays[] = {
    {"data2DCurve", 0, 2},   {"data2DCurve", 1, 2},   {"scattern", 0, 2},         {"scattern", 1, 2},
    {"data3DCurve", 0, 3},   {"data3DCurve", 1, 3},   {"data3DCurve", 2, 3},      {"data3DSurface", 0, 3},
    {"data3DSurface", 1, 4}, {"data3DSurface", 2, 3, 4}, {"data", 0, 1, 2},
    {"polygon", 2, 0},  // the z values of a closed line are read for every x
};

// What a call of a member does to the plots a caller holds besides its own settings.
enum class Effect {
    None,
    Draws,          // runs the engine; its result -1 is a failed plot
    ReleasesCells,  // every cell of the plot's grid goes (a reset)
    MakesGrid,      // a new grid: cells past its end go, and a cell's own grid resets the cells behind it
};

struct MemberEffect {
    std::string_view member;
    Effect effect;
};

inline constexpr MemberEffect kMemberEffects[] = {
    {"plotting", Effect::Draws},
    {"deletePlots", Effect::ReleasesCells},
    {"subplot", Effect::MakesGrid},
};

}  // namespace rizari::entry
