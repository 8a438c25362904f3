// Member calls: build the argument list the way the interpreter does (instance, fixed
// arguments, trailing count and optional arguments), call CPlot_<member>_zudl and turn its
// result into a value.
#include <cmath>
#include <cstdio>
#include <memory>

#include "runner/evaluator.h"
#include "runner/member_table.h"
#include "runner/script_error.h"

namespace rizari::runner {
namespace {

struct ArgsDeleter {
    void operator()(ZuArgs* a) const { Zu_ArgsFree(a); }
};
using ArgsPtr = std::unique_ptr<ZuArgs, ArgsDeleter>;

class ListBuilder {
public:
    explicit ListBuilder(std::string call) : call_(std::move(call)), args_(Zu_ArgsNew()) { check(args_ ? 0 : -1); }

    ZuArgs* get() const { return args_.get(); }

    void instance(void* p) { check(Zu_ArgsAddInstance(get(), p)); }
    void pointer(void* p) { check(Zu_ArgsAddPointer(get(), p)); }
    void count(int n) { check(Zu_ArgsAddInt(get(), n)); }

    // The value in the kind that the member reads at this position.
    void as(Kind kind, const Value& v, std::size_t position)
    {
        switch (kind) {
        case Kind::Int: return integer(v, position);
        case Kind::Double:
            if (!isNumber(v)) fail(position, "a number", v);
            return check(Zu_ArgsAddDouble(get(), toDouble(v)));
        case Kind::Text:
            if (std::holds_alternative<std::monostate>(v)) return check(Zu_ArgsAddText(get(), nullptr));
            if (!std::holds_alternative<std::string>(v)) fail(position, "a text", v);
            return check(Zu_ArgsAddText(get(), std::get<std::string>(v).c_str()));
        case Kind::ArrayOrNull:
            if (std::holds_alternative<std::monostate>(v)) return check(Zu_ArgsAddNull(get()));
            [[fallthrough]];
        case Kind::Array:
            if (!std::holds_alternative<Array>(v)) fail(position, "an array", v);
            return array(std::get<Array>(v));
        }
    }

    // An argument that no form reads: passed in the kind of its value.
    void asIs(const Value& v, std::size_t position)
    {
        std::visit(Overloaded{[&](std::monostate) { check(Zu_ArgsAddNull(get())); },
                              [&](int64_t) { integer(v, position); },
                              [&](double d) { check(Zu_ArgsAddDouble(get(), d)); },
                              [&](const std::string& text) { check(Zu_ArgsAddText(get(), text.c_str())); },
                              [&](const Array& a) { array(a); },
                              [&](const Instance& instance) { check(Zu_ArgsAddInstance(get(), instance.ptr)); }},
                   v);
    }

private:
    void integer(const Value& v, std::size_t position)
    {
        double d = isNumber(v) ? toDouble(v) : NAN;
        if (!isNumber(v) || d != std::floor(d)) fail(position, "an int", v);
        if (d < INT32_MIN || d > INT32_MAX) throw ScriptError(call_ + ": argument " + std::to_string(position) + " is out of the int range");
        check(Zu_ArgsAddInt(get(), static_cast<int32_t>(d)));
    }

    // The list refers to the array's own values, which the caller's argument values keep alive.
    void array(const Array& a) { check(Zu_ArgsAddArray(get(), a.values(), static_cast<int32_t>(a.shape().size()), a.shape().data())); }

    [[noreturn]] void fail(std::size_t position, const char* wanted, const Value& got)
    {
        std::string shown = std::holds_alternative<double>(got) ? " " + formatValue(got) : "";
        throw ScriptError(call_ + ": argument " + std::to_string(position) + " must be " + wanted + ", got " + typeName(got) + shown);
    }

    void check(int status)
    {
        if (status != 0) throw ScriptError(call_ + ": out of memory");
    }

    std::string call_;
    ArgsPtr args_;
};

std::size_t elements(const Value& v)
{
    const Array* a = std::get_if<Array>(&v);
    return a ? a->size() : 0;
}

long long intAt(const std::vector<Value>& args, std::size_t i)
{
    return isNumber(args[i]) ? std::llround(toDouble(args[i])) : 0;
}

// What an argument counts: an int's value, an array's length.
long long countAt(const std::vector<Value>& args, int i)
{
    const auto at = static_cast<std::size_t>(i);
    return std::holds_alternative<Array>(args[at]) ? static_cast<long long>(elements(args[at])) : intAt(args, at);
}

// The library trusts an explicit element count to fit the arrays it describes, as it trusts the
// interpreter; the runner refuses a count that would read past the end of an array.
void checkExplicitCounts(const MemberInfo& member, const std::vector<Value>& args, const std::string& call)
{
    auto need = [&](std::size_t array, long long n) {
        if (array >= args.size() || !std::holds_alternative<Array>(args[array]) || n <= 0) return;
        if (static_cast<unsigned long long>(n) > elements(args[array]))
            throw ScriptError(call + ": argument " + std::to_string(array + 1) + " has " + std::to_string(elements(args[array])) +
                              " elements, the count asks for " + std::to_string(n));
    };
    const std::size_t fixed = member.fixed.size();
    if (member.tail == Tail::ElementCount && args.size() == fixed + 1) {
        for (std::size_t i = 0; i < fixed; ++i) need(i, intAt(args, fixed));
        return;
    }
    for (const entry::CountedArray& counted : member.countedArrays) {
        const long long n = countAt(args, counted.count) * (counted.factor < 0 ? 1 : countAt(args, counted.factor));
        need(static_cast<std::size_t>(counted.array), n);
    }
}

// The member that a script names; throws for an unknown name and for CPlot and dCPlot.
const MemberInfo& scriptMember(const std::string& name)
{
    const MemberInfo* member = findMember(name);
    if (!member) {
        std::vector<std::string> known;
        for (const MemberInfo& m : allMembers())
            if (m.tail != Tail::Lifecycle) known.push_back(m.name);
        throw ScriptError("unknown member '" + name + "'" + suggestion(name, known));
    }
    if (member->tail == Tail::Lifecycle) throw ScriptError(name + "() is not called directly: use CPlot() and delete");
    return *member;
}

// A script passes the fixed arguments and at most as many more as the longest form reads.
void checkArgumentCount(const MemberInfo& member, std::size_t given, const std::string& call)
{
    const std::size_t fixed = member.fixed.size();
    const std::size_t most = fixed + static_cast<std::size_t>(member.takesCount() ? member.longestForm() : 0);
    if (given < fixed || given > most) throw wrongArgumentCount(call, fixed, most, given);
}

// The places through which getGrid reports; they outlive the call.
struct GridPlaces {
    int flag = 0;
    const char* option = nullptr;
};

// The argument list as the interpreter builds it: the instance, the fixed arguments, then the
// trailing count and the arguments of the form it chooses (getGrid: its two places).
void fillArguments(ListBuilder& list, const MemberInfo& member, void* self, const std::vector<Value>& args, GridPlaces& places)
{
    list.instance(self);
    const std::size_t fixed = member.fixed.size();
    for (std::size_t i = 0; i < fixed; ++i) list.as(member.fixed[i], args[i], i + 1);
    if (member.tail == Tail::GetGrid) {
        list.pointer(&places.flag);
        list.pointer(static_cast<void*>(&places.option));
        return;
    }
    if (!member.takesCount()) return;
    const int count = static_cast<int>(args.size() - fixed);
    // The deciding argument was checked as an int above.
    const int deciding = entry::decidingArgument(member.tail);
    const int decidingValue = deciding < 0 ? 0 : static_cast<int>(intAt(args, static_cast<std::size_t>(deciding)));
    const auto kinds = member.formKinds(count, decidingValue);
    list.count(count);
    for (std::size_t i = fixed; i < args.size(); ++i) {
        const std::size_t k = i - fixed;
        if (kinds && k < kinds->size()) list.as((*kinds)[k], args[i], i + 1);
        else list.asIs(args[i], i + 1);
    }
}

}  // namespace

// What an entry point answered: an int, or a pointer for the members with a text or a plot.
struct Evaluator::EntryAnswer {
    int32_t number = 0;
    void* pointer = nullptr;
};

Value Evaluator::callMember(const Expr& e)
{
    Value receiver = eval(*e.args[0]);
    const std::string call = e.name + "()";
    const MemberInfo& member = scriptMember(e.name);
    const std::string what = e.args[0]->kind == ExprKind::Variable ? "'" + e.args[0]->name + "'" : "the receiver of " + call;
    const Instance self = liveInstance(receiver, what);

    std::vector<Value> args;
    for (std::size_t i = 1; i < e.args.size(); ++i) args.push_back(eval(*e.args[i]));
    checkArgumentCount(member, args.size(), call);
    ListBuilder list(call);
    GridPlaces places;
    fillArguments(list, member, self.ptr, args, places);
    checkExplicitCounts(member, args, call);

    const EntryAnswer answer = callEntry(member, list.get());
    Value result = memberResult(member, self, args, answer);
    followCells(member, self, args, result);
    return result;
}

// Calls the entry point and counts a refused call or a failed plot.
Evaluator::EntryAnswer Evaluator::callEntry(const MemberInfo& member, ZuArgs* list)
{
    std::fflush(stdout);  // the engine and the stream output write to the same standard output
    void* entry = module_.symbol(member.name);
    EntryAnswer answer;
    auto callEntry = [&] {
        if (member.result == Result::Text || member.result == Result::Instance)
            answer.pointer = reinterpret_cast<Module::PointerEntry>(entry)(list);
        else
            answer.number = reinterpret_cast<Module::IntEntry>(entry)(list);
    };
    // A plot's messages are the engine's too, which shares standard error: a failed plot is told
    // by its result.
    if (member.effect == Effect::Draws) {
        callEntry();
        if (answer.number == -1) ++failedPlots_;
    } else if (errorWatch_.run(callEntry)) {
        ++refusedCalls_;
    }
    return answer;
}

// The answer as a script value; a cell of a grid knows its place in the grid's chain.
Value Evaluator::memberResult(const MemberInfo& member, const Instance& self, const std::vector<Value>& args, const EntryAnswer& answer)
{
    switch (member.result) {
    case Result::None: return std::monostate{};
    case Result::Int: return int64_t{answer.number};
    case Result::Text:
        if (!answer.pointer) return std::monostate{};
        return std::string(static_cast<const char*>(answer.pointer));
    case Result::Instance: {
        if (!answer.pointer) return std::monostate{};
        Tree& tree = trees_[self.tree];
        // getSubplot(row, col): the cell's place in the chain of its top plot.
        const std::size_t slot = self.top ? static_cast<std::size_t>(intAt(args, 0) * tree.cols + intAt(args, 1)) : 0;
        return Instance{answer.pointer, self.tree, answer.pointer == tree.top, tree.generation, slot, tree.slotGeneration(slot)};
    }
    }
    return std::monostate{};
}

// Cells obtained before are released by a reset of their tree (also the reset that a cell's own
// subplot call gives the cells behind it), and by a grid of the top plot that ends before them.
void Evaluator::followCells(const MemberInfo& member, const Instance& self, const std::vector<Value>& args, const Value& result)
{
    Tree& tree = trees_[self.tree];
    if (member.effect == Effect::ReleasesCells || (member.effect == Effect::MakesGrid && !self.top)) tree.generation++;
    if (member.effect == Effect::MakesGrid && self.top && std::get<int64_t>(result) == 0) {
        const std::size_t cells = static_cast<std::size_t>(intAt(args, 0) * intAt(args, 1));
        for (std::size_t slot = cells; slot < tree.cells; ++slot) ++tree.slotGeneration(slot);
        tree.cells = cells;
        tree.cols = static_cast<int>(intAt(args, 1));
    }
}

}  // namespace rizari::runner
