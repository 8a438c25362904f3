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
        switch (v.index()) {
        case 0: return check(Zu_ArgsAddNull(get()));
        case 1: return integer(v, position);
        case 2: return check(Zu_ArgsAddDouble(get(), std::get<double>(v)));
        case 3: return check(Zu_ArgsAddText(get(), std::get<std::string>(v).c_str()));
        case 4: return array(std::get<Array>(v));
        default: return check(Zu_ArgsAddInstance(get(), std::get<Instance>(v).ptr));
        }
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

// The library trusts an explicit element count to fit the arrays it describes, as it trusts the
// interpreter; the runner refuses a count that would read past the end of an array.
void checkExplicitCounts(const std::string& member, const std::vector<Value>& args, const std::string& call)
{
    auto need = [&](std::size_t array, long long n) {
        if (array >= args.size() || !std::holds_alternative<Array>(args[array]) || n <= 0) return;
        if (static_cast<unsigned long long>(n) > elements(args[array]))
            throw ScriptError(call + ": argument " + std::to_string(array + 1) + " has " + std::to_string(elements(args[array])) +
                              " elements, the count asks for " + std::to_string(n));
    };
    if (member == "data2DCurve" || member == "scattern") {
        need(0, intAt(args, 2));
        need(1, intAt(args, 2));
    } else if (member == "data3DCurve") {
        for (std::size_t i = 0; i < 3; ++i) need(i, intAt(args, 3));
    } else if (member == "data3DSurface") {
        need(0, intAt(args, 3));
        need(1, intAt(args, 4));
        need(2, intAt(args, 3) * intAt(args, 4));
    } else if (member == "data") {
        need(0, intAt(args, 1) * intAt(args, 2));
    } else if (member == "polygon") {
        // Without a count each array brings its own (the member compares x and y); the z values
        // of a closed line are read for every x.
        if (args.size() == 4) {
            for (std::size_t i = 0; i < 3; ++i) need(i, intAt(args, 3));
        } else {
            need(2, static_cast<long long>(elements(args[0])));
        }
    } else if (member == "contourLevels" && args.size() == 2) {
        need(0, intAt(args, 1));
    }
}

}  // namespace

Value Evaluator::callMember(const Expr& e)
{
    Value receiver = eval(*e.args[0]);
    std::string call = e.name + "()";
    const MemberInfo* member = findMember(e.name);
    if (!member) throw ScriptError("unknown member '" + e.name + "'");
    if (member->tail == Tail::Lifecycle) throw ScriptError(call + " is not called directly: use CPlot() and delete");
    std::string what = e.args[0]->kind == ExprKind::Variable ? "'" + e.args[0]->name + "'" : "the receiver of " + call;
    Instance self = liveInstance(receiver, what);

    std::vector<Value> args;
    for (std::size_t i = 1; i < e.args.size(); ++i) args.push_back(eval(*e.args[i]));
    std::size_t fixed = member->fixed.size();
    bool takesCount = member->tail != Tail::None && member->tail != Tail::GetGrid;
    if (args.size() < fixed || (!takesCount && args.size() > fixed)) {
        std::string expected = std::to_string(fixed) + (takesCount ? " or more" : "");
        throw ScriptError(call + " expects " + expected + " argument" + (fixed == 1 && !takesCount ? "" : "s") +
                          ", got " + std::to_string(args.size()));
    }

    ListBuilder list(call);
    list.instance(self.ptr);
    for (std::size_t i = 0; i < fixed; ++i) list.as(member->fixed[i], args[i], i + 1);
    int gridFlag = 0;
    const char* gridOption = nullptr;
    if (member->tail == Tail::GetGrid) {
        list.pointer(&gridFlag);
        list.pointer(static_cast<void*>(&gridOption));
    } else if (takesCount) {
        int count = static_cast<int>(args.size() - fixed);
        long long typeCode = 0;
        // The fixed arguments were checked as ints above.
        if (member->tail == Tail::PlotType) typeCode = std::llround(toDouble(args[0]));
        if (member->tail == Tail::BoxFill) typeCode = std::llround(toDouble(args[1]));
        std::vector<Kind> kinds;
        bool chosen = formKinds(*member, count, typeCode, kinds);
        list.count(count);
        for (std::size_t i = fixed; i < args.size(); ++i) {
            std::size_t k = i - fixed;
            if (chosen && k < kinds.size()) list.as(kinds[k], args[i], i + 1);
            else list.asIs(args[i], i + 1);
        }
    }

    checkExplicitCounts(member->name, args, call);

    std::fflush(stdout);  // the engine and the stream output write to the same standard output
    void* entry = module_.symbol(member->name);
    Value result;
    switch (member->result) {
    case Result::None: reinterpret_cast<Module::IntEntry>(entry)(list.get()); break;
    case Result::Int: {
        const int32_t value = reinterpret_cast<Module::IntEntry>(entry)(list.get());
        if (member->name == "plotting" && value == -1) plottingFailed_ = true;
        result = int64_t{value};
        break;
    }
    case Result::Text:
        if (auto* text = static_cast<const char*>(reinterpret_cast<Module::PointerEntry>(entry)(list.get()))) result = std::string(text);
        break;
    case Result::Instance:
        if (void* ptr = reinterpret_cast<Module::PointerEntry>(entry)(list.get())) {
            Tree& tree = trees_[self.tree];
            // getSubplot(row, col): the cell's place in the chain of its top plot.
            const std::size_t slot = self.top ? static_cast<std::size_t>(intAt(args, 0) * tree.cols + intAt(args, 1)) : 0;
            result = Instance{ptr, self.tree, ptr == tree.top, tree.generation, slot, tree.slotGeneration(slot)};
        }
        break;
    }

    // Cells obtained before are released by a reset of their tree (also the reset that a cell's
    // own subplot call gives the cells behind it), and by a grid of the top plot that ends before
    // them.
    Tree& tree = trees_[self.tree];
    if (e.name == "deletePlots" || (e.name == "subplot" && !self.top)) tree.generation++;
    if (e.name == "subplot" && self.top && std::get<int64_t>(result) == 0) {
        const std::size_t cells = static_cast<std::size_t>(intAt(args, 0) * intAt(args, 1));
        for (std::size_t slot = cells; slot < tree.cells; ++slot) ++tree.slotGeneration(slot);
        tree.cells = cells;
        tree.cols = static_cast<int>(intAt(args, 1));
    }
    return result;
}

}  // namespace rizari::runner
