// What the runner knows about each member of CPlot: the kinds of its fixed arguments, the forms
// that its trailing count selects, and the kind of its result. The table is made from the
// module's own list of entry points (binding/entry_points.h).
#pragma once

#include <string>
#include <vector>

namespace rizari::runner {

enum class Kind { Int, Double, Text, Array, ArrayOrNull };

enum class Result { None, Int, Text, Instance };

// How the optional arguments after the fixed ones are read.
enum class Tail {
    None,          // no trailing count
    Forms,         // forms[count] lists the kinds that the form of that count reads
    ElementCount,  // count 1 reads an int that replaces the element count of the arrays
    AxisStyle,     // count 0 reads nothing; any other count reads an int and a text
    PlotType,      // the type (first fixed argument) decides: ints, or texts for the option styles
    BoxFill,       // count 1 reads a double for types 40 and 41, an int for 42 and 43
    GetGrid,       // no script arguments; the runner passes two places of its own
    Lifecycle,     // CPlot and dCPlot: reached through CPlot() and delete, not as member calls
};

struct MemberInfo {
    std::string name;
    std::string group;  // the group of the C++ header it belongs to
    std::vector<Kind> fixed;
    Result result = Result::None;
    Tail tail = Tail::None;
    std::vector<std::vector<Kind>> forms;
};

// The member of that name, or null.
const MemberInfo* findMember(const std::string& name);
// Every exported member, in the order and groups of the C++ header.
const std::vector<MemberInfo>& allMembers();

// The kinds that the chosen form reads for `count` optional arguments, given the fixed argument
// values that decide (the type code of plotType and boxFill); false when no form is chosen.
bool formKinds(const MemberInfo& member, int count, long long typeCode, std::vector<Kind>& kinds);

// The script's spelling of a kind ("int", "double", "text", "array", "array or null").
const char* kindName(Kind kind);

}  // namespace rizari::runner
