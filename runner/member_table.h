// What the runner knows about each member of CPlot: the kinds of its fixed arguments, the forms
// that its trailing count selects, the kind of its result, which of its ints count the elements of
// its arrays and what it does to the plots a script holds. The table is made from the module's
// own list of entry points (binding/entry_points.h) and the descriptions beside it
// (binding/argument_forms.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "binding/argument_forms.h"

namespace rizari::runner {

using entry::Effect;
using entry::Kind;
using entry::Tail;

enum class Result { None, Int, Text, Instance };

struct MemberInfo {
    std::string name;
    std::string group;  // the group of the C++ header it belongs to
    std::vector<Kind> fixed;
    Result result = Result::None;
    Tail tail = Tail::None;
    std::vector<std::vector<Kind>> forms;  // Tail::Forms: the kinds that count k reads
    std::vector<entry::CountedArray> countedArrays;
    Effect effect = Effect::None;

    // Whether a trailing count follows the fixed arguments.
    bool takesCount() const { return tail != Tail::None && tail != Tail::GetGrid; }
    // The most optional arguments any form reads.
    int longestForm() const;
    // The kinds that the form chosen by `count` optional arguments reads, given the value of the
    // deciding fixed argument (see entry::decidingArgument); none when no form is chosen.
    std::optional<std::vector<Kind>> formKinds(int count, int decidingValue) const;
};

// The member of that name, or null.
const MemberInfo* findMember(const std::string& name);
// Every exported member, in the order and groups of the C++ header.
const std::vector<MemberInfo>& allMembers();

// The script's spelling of a kind ("int", "double", "text", "array", "array or null").
const char* kindName(Kind kind);

}  // namespace rizari::runner
