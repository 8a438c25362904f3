// The runner's member table, made from the module's list of entry points: the kinds of a member's
// arguments come from the C++ member itself.
#include "runner/member_table.h"

#include <algorithm>
#include <tuple>
#include <type_traits>

#include "binding/entry_points.h"

namespace rizari::runner {
namespace {

using namespace rizari::entry;

template <class T> constexpr Kind kindOf()
{
    if constexpr (std::is_same_v<T, int> || std::is_same_v<T, bool>) return Kind::Int;
    else if constexpr (std::is_same_v<T, double>) return Kind::Double;
    else if constexpr (std::is_same_v<T, const char*>) return Kind::Text;
    else if constexpr (std::is_same_v<T, const double*>) return Kind::Array;
    else if constexpr (std::is_same_v<T, ArrayOrNull>) return Kind::ArrayOrNull;
    else static_assert(sizeof(T) == 0, "no script kind for this parameter type");
}

template <class R> constexpr Result resultOf()
{
    if constexpr (std::is_void_v<R>) return Result::None;
    else if constexpr (std::is_same_v<R, int>) return Result::Int;
    else if constexpr (std::is_same_v<R, const char*>) return Result::Text;
    else if constexpr (std::is_same_v<R, CPlot*>) return Result::Instance;
    else static_assert(sizeof(R) == 0, "no script result for this return type");
}

template <class S> struct Signature;
template <class R, class... A> struct Signature<R(A...)> {
    static constexpr Result result = resultOf<R>();
    static std::vector<Kind> kinds() { return {kindOf<A>()...}; }
};
template <class R, class... A> struct Signature<R (CPlot::*)(A...)> : Signature<R(A...)> {};
template <class R, class... A> struct Signature<R (CPlot::*)(A...) const> : Signature<R(A...)> {};

template <class Member> MemberInfo fixedInfo(const char* name)
{
    MemberInfo info;
    info.name = name;
    info.fixed = Signature<Member>::kinds();
    info.result = Signature<Member>::result;
    return info;
}

// Form k reads the kinds its signature has beyond those of the first form.
template <class First, class... More> MemberInfo formsInfo(const char* name)
{
    const std::vector<Kind> fixed = Signature<First>::kinds();
    std::vector<std::vector<Kind>> forms{{}};
    for (const std::vector<Kind>& all : {Signature<More>::kinds()...})
        forms.emplace_back(all.begin() + static_cast<std::ptrdiff_t>(fixed.size()), all.end());
    MemberInfo info = fixedInfo<First>(name);
    info.tail = Tail::Forms;
    info.forms = std::move(forms);
    return info;
}

template <class... Kinds> MemberInfo ownInfo(const char* name, Result result, Tail tail)
{
    MemberInfo info;
    info.name = name;
    info.fixed = {kindOf<Kinds>()...};
    info.result = result;
    info.tail = tail;
    return info;
}

// The properties that the descriptions beside the entry list give a member.
void addProperties(MemberInfo& info)
{
    for (const entry::CountedArray& counted : entry::kCountedArrays)
        if (counted.member == info.name) info.countedArrays.push_back(counted);
    for (const entry::MemberEffect& row : entry::kMemberEffects)
        if (row.member == info.name) info.effect = row.effect;
}

std::vector<MemberInfo> buildTable()
{
    std::vector<MemberInfo> table;
    std::string group;
    auto add = [&](MemberInfo info) {
        info.group = group;
        addProperties(info);
        table.push_back(std::move(info));
    };
    auto alias = [&](const char* name, const char* member) {
        for (const MemberInfo& m : table)
            if (m.name == member) {
                MemberInfo copy = m;
                copy.name = name;
                table.push_back(std::move(copy));
                return;
            }
    };
#define RIZARI_ROW_GROUP(title) group = title;
#define RIZARI_ROW_FIXED(member) add(fixedInfo<decltype(&CPlot::member)>(#member));
#define RIZARI_ROW_FORMS(member, S0, S1) add(formsInfo<S0, S1>(#member));
#define RIZARI_ROW_FORMS3(member, S0, S1, S2) add(formsInfo<S0, S1, S2>(#member));
#define RIZARI_ROW_OWN(member, result, tail, ...) add(ownInfo<__VA_ARGS__>(#member, Result::result, Tail::tail));
#define RIZARI_ROW_ALIAS(name, member) alias(#name, #member);
    RIZARI_ENTRY_POINTS(RIZARI_ROW_GROUP, RIZARI_ROW_FIXED, RIZARI_ROW_FORMS, RIZARI_ROW_FORMS3, RIZARI_ROW_OWN,
                        RIZARI_ROW_ALIAS)
    return table;
}

}  // namespace

const std::vector<MemberInfo>& allMembers()
{
    static const std::vector<MemberInfo> table = buildTable();
    return table;
}

const MemberInfo* findMember(const std::string& name)
{
    for (const MemberInfo& m : allMembers())
        if (name == m.name) return &m;
    return nullptr;
}

int MemberInfo::longestForm() const
{
    if (tail == Tail::Forms) return static_cast<int>(forms.size()) - 1;
    return entry::longestTail(tail);
}

std::optional<std::vector<Kind>> MemberInfo::formKinds(int count, int decidingValue) const
{
    if (tail != Tail::Forms) return entry::tailKinds(tail, count, decidingValue);
    if (count < 0 || static_cast<std::size_t>(count) >= forms.size()) return std::nullopt;
    return forms[static_cast<std::size_t>(count)];
}

const char* kindName(Kind kind)
{
    switch (kind) {
    case Kind::Int: return "int";
    case Kind::Double: return "double";
    case Kind::Text: return "text";
    case Kind::Array: return "array";
    case Kind::ArrayOrNull: return "array or null";
    }
    return "";
}

}  // namespace rizari::runner
