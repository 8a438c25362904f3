// What the runner knows about each member of CPlot: the kinds of its fixed arguments, the forms
// that its trailing count selects, and the kind of its result.
#pragma once

#include <string>
#include <vector>

namespace rizari::runner {

enum class Kind { Int, Double, Text, Array, ArrayOrNull };

enum class Result { None, Int, Text, Instance };

// How the optional arguments after the fixed ones are read.
enum class Tail {
    None,      // no trailing count
    Forms,     // forms[count] lists the kinds that the form of that count reads
    AxisStyle, // count 0 reads nothing; any other count reads an int and a text
    PlotType,  // the type (first fixed argument) decides: ints, or texts for 13, 15 and 16
    BoxFill,   // count 1 reads a double for types 40 and 41, an int for 42 and 43
    GetGrid,   // no script arguments; the runner passes two places of its own
    Lifecycle, // CPlot and dCPlot: reached through CPlot() and delete, not as member calls
};

struct MemberInfo {
    const char* name;
    std::vector<Kind> fixed;
    Result result = Result::None;
    Tail tail = Tail::None;
    std::vector<std::vector<Kind>> forms;
};

// The member of that name, or null.
const MemberInfo* findMember(const std::string& name);
const std::vector<MemberInfo>& allMembers();

// The kinds that the chosen form reads for `count` optional arguments, given the fixed argument
// values that decide (the type code of plotType and boxFill); false when no form is chosen.
bool formKinds(const MemberInfo& member, int count, long long typeCode, std::vector<Kind>& kinds);

}  // namespace rizari::runner
