// Statements and blocks, variables, array literals, arithmetic, comparisons and indexing.
#include "runner/evaluator.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "platform/huge_pages.h"
#include "runner/builtins.h"
#include "runner/script_error.h"

namespace rizari::runner {
namespace {

// The remainder with the sign of the divisor, so that i % n counts 0 .. n - 1 for every i.
double floorMod(double a, double b)
{
    const double r = std::fmod(a, b);
    return r != 0 && (r < 0) != (b < 0) ? r + b : r;
}

double apply(char op, double a, double b)
{
    switch (op) {
    case '+': return a + b;
    case '-': return a - b;
    case '*': return a * b;
    case '/': return a / b;
    case '%': return floorMod(a, b);
    default: return std::pow(a, b);
    }
}

// a + b, a - b, a * b or a % b (b not 0) of two ints; none when it does not fit.
std::optional<int64_t> intResult(char op, int64_t a, int64_t b)
{
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    switch (op) {
    case '+':
        if (b > 0 ? a > kMax - b : a < kMin - b) return std::nullopt;
        return a + b;
    case '-':
        if (b < 0 ? a > kMax + b : a < kMin + b) return std::nullopt;
        return a - b;
    case '%': {
        if (b == -1) return 0;  // kMin % -1 overflows
        const int64_t r = a % b;
        return r != 0 && (r < 0) != (b < 0) ? r + b : r;
    }
    default:
        if (a == 0 || b == 0) return 0;
        if (a > 0 ? (b > 0 ? a > kMax / b : b < kMin / a) : (b > 0 ? a < kMin / b : b < kMax / a)) return std::nullopt;
        return a * b;
    }
}

// One level of recursion a dimension: arrays never have more than kMaxNesting.
void formatArray(const Array& a, std::size_t dim, std::size_t& next, std::string& out)
{
    out += '[';
    int extent = a.shape()[dim];
    for (int i = 0; i < extent; ++i) {
        if (i > 0) out += ", ";
        if (dim + 1 < a.shape().size()) {
            formatArray(a, dim + 1, next, out);
        } else {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%g", a[next++]);
            out += buf;
        }
    }
    out += ']';
}

}  // namespace

Array::Array(std::vector<int> shape) : shape_(std::move(shape)), size_(1)
{
    for (int extent : shape_) size_ *= static_cast<std::size_t>(extent);
    values_ = std::make_shared_for_overwrite<double[]>(size_);
    platform::adviseHugePages(values_.get(), size_ * sizeof(double));
}

Array Array::row(std::size_t i) const
{
    Array out(std::vector<int>(shape_.begin() + 1, shape_.end()));
    const double* from = values() + i * out.size();
    std::copy(from, from + out.size(), out.writable());
    return out;
}

Array resultFor(Array&& operand) { return operand.soleHolder() ? std::move(operand) : Array(operand.shape()); }

std::string formatValue(const Value& v)
{
    char buf[64];
    return std::visit(Overloaded{[](std::monostate) -> std::string { return "null"; },
                                 [&](int64_t i) -> std::string {
                                     std::snprintf(buf, sizeof buf, "%" PRId64, i);
                                     return buf;
                                 },
                                 [&](double d) -> std::string {
                                     std::snprintf(buf, sizeof buf, "%g", d);
                                     return buf;
                                 },
                                 [](const std::string& text) { return text; },
                                 [](const Array& a) {
                                     std::string out;
                                     std::size_t next = 0;
                                     formatArray(a, 0, next, out);
                                     return out;
                                 },
                                 [](const Instance&) -> std::string { return "CPlot"; }},
                      v);
}

Evaluator::Evaluator(const Module& module) : module_(module) {}

Evaluator::~Evaluator() { destroyAll(); }

void Evaluator::destroyAll()
{
    for (Tree& t : trees_) {
        if (!t.alive) continue;
        t.alive = false;
        module_.destroy(t.top);
    }
}

void Evaluator::execute(const Stmt& s)
{
    try {
        if (beforeStatement_) beforeStatement_();
        run(s);
    } catch (ScriptError& e) {
        if (e.line == 0) e.line = s.line;
        throw;
    } catch (const std::bad_alloc&) {
        ScriptError e("out of memory");
        e.line = s.line;
        throw e;
    }
}

void Evaluator::run(const Stmt& s)
{
    switch (s.kind) {
    case StmtKind::Empty: break;
    case StmtKind::Assign: {
        Value v = eval(*s.exprs[0]);
        vars_[s.name] = std::move(v);
        break;
    }
    case StmtKind::Eval: eval(*s.exprs[0]); break;
    case StmtKind::Print: {
        std::string line;
        for (std::size_t i = 0; i < s.exprs.size(); ++i) {
            if (i > 0) line += ' ';
            line += formatValue(eval(*s.exprs[i]));
        }
        line += '\n';
        std::fputs(line.c_str(), stdout);
        break;
    }
    case StmtKind::Delete: remove(s.name); break;
    case StmtKind::For: runFor(s); break;
    case StmtKind::If:
        for (std::size_t branch = 0; branch < s.exprs.size(); ++branch)
            if (condition(*s.exprs[branch])) return runBlock(s.blocks[branch]);
        if (s.blocks.size() > s.exprs.size()) runBlock(s.blocks.back());
        break;
    }
}

void Evaluator::runBlock(const Block& block)
{
    for (const Stmt& s : block) execute(s);
}

// A range counts with ints and makes no array; an array gives its values (a list) or its rows.
void Evaluator::runFor(const Stmt& s)
{
    const Expr& sequence = *s.exprs[0];
    if (sequence.kind == ExprKind::Call && sequence.name == "range") {
        const std::vector<Value> args = evalArguments(sequence);
        findBuiltin("range")->checkCount(args.size());
        const RangeSpec range = rangeOf(args);
        if (range.count == 0) return;  // the variable is not made
        Value& variable = vars_[s.name];
        for (uint64_t k = 0; k < range.count; ++k) {
            variable = range.at(k);
            runBlock(s.blocks[0]);
        }
        return;
    }
    Value v = eval(sequence);
    const Array* a = std::get_if<Array>(&v);
    if (!a) throw ScriptError(std::string("for: cannot go through ") + typeName(v) + ", only an array or a range()");
    const auto rows = static_cast<std::size_t>(a->shape()[0]);
    const bool list = a->shape().size() == 1;
    if (rows == 0) return;
    Value& variable = vars_[s.name];
    for (std::size_t row = 0; row < rows; ++row) {
        if (list) variable = (*a)[row];
        else variable = a->row(row);
        runBlock(s.blocks[0]);
    }
}

bool Evaluator::condition(const Expr& e)
{
    const Value v = eval(e);
    if (!isNumber(v)) throw ScriptError(std::string("a condition must be a number (0 is false), got ") + typeName(v));
    return toDouble(v) != 0.0;
}

void Evaluator::remove(const std::string& name)
{
    auto it = vars_.find(name);
    if (it == vars_.end()) throw ScriptError("unknown variable '" + name + "'");
    if (std::holds_alternative<std::monostate>(it->second)) return;
    const Instance& inst = liveInstance(it->second, name);
    if (!inst.top) throw ScriptError("cannot delete '" + name + "': a subplot cell belongs to its top plot");
    trees_[inst.tree].alive = false;
    module_.destroy(inst.ptr);
    it->second = std::monostate{};
}

const Instance& Evaluator::liveInstance(const Value& v, const std::string& what)
{
    const Instance* inst = std::get_if<Instance>(&v);
    if (!inst) throw ScriptError(what + " is " + typeName(v) + ", not a CPlot instance");
    Tree& tree = trees_[inst->tree];
    if (!tree.alive) throw ScriptError(what + " was deleted");
    if (!inst->top && (inst->generation != tree.generation || inst->slotGeneration != tree.slotGeneration(inst->slot)))
        throw ScriptError(what + " is a subplot cell that its top plot has released");
    return *inst;
}

Value Evaluator::eval(const Expr& e)
{
    switch (e.kind) {
    case ExprKind::Int:
    case ExprKind::Constant: return e.intValue;
    case ExprKind::Double: return e.doubleValue;
    case ExprKind::String: return e.name;
    case ExprKind::Null: return std::monostate{};
    case ExprKind::Array: return evalArray(e);
    case ExprKind::Variable: {
        auto it = vars_.find(e.name);
        if (it == vars_.end()) throw ScriptError("unknown variable '" + e.name + "'");
        return it->second;
    }
    case ExprKind::Negate: {
        Value v = eval(*e.args[0]);
        if (auto i = std::get_if<int64_t>(&v)) return -*i;
        if (auto d = std::get_if<double>(&v)) return -*d;
        if (auto a = std::get_if<Array>(&v)) {
            const double* in = a->values();
            Array out = resultFor(std::move(*a));
            double* result = out.writable();
            for (std::size_t i = 0; i < out.size(); ++i) result[i] = -in[i];
            return out;
        }
        throw ScriptError(std::string("cannot negate ") + typeName(v));
    }
    case ExprKind::Not: return int64_t{condition(*e.args[0]) ? 0 : 1};
    case ExprKind::And: return int64_t{condition(*e.args[0]) && condition(*e.args[1])};
    case ExprKind::Or: return int64_t{condition(*e.args[0]) || condition(*e.args[1])};
    case ExprKind::Binary: return evalChain(e);
    case ExprKind::Compare: {
        Value a = eval(*e.args[0]);
        Value b = eval(*e.args[1]);
        return int64_t{compare(e.compare, a, b)};
    }
    case ExprKind::Index: {
        Value v = eval(*e.args[0]);
        Value i = eval(*e.args[1]);
        return element(v, i);
    }
    case ExprKind::Slice: {
        Value v = eval(*e.args[0]);
        std::optional<Value> from, to;
        if (e.args[1]) from = eval(*e.args[1]);
        if (e.args[2]) to = eval(*e.args[2]);
        return slice(v, from, to);
    }
    case ExprKind::Call: return callBuiltin(e);
    case ExprKind::Member: return callMember(e);
    }
    return std::monostate{};
}

// All numbers: a list of doubles. All arrays of one shape: one more dimension in front.
Value Evaluator::evalArray(const Expr& e)
{
    std::vector<Value> elements;
    elements.reserve(e.args.size());
    const std::vector<int>* inner = nullptr;
    for (const ExprPtr& element : e.args) {
        Value v = eval(*element);
        const Array* a = std::get_if<Array>(&v);
        const bool fits = elements.empty() ? (isNumber(v) || a) : inner ? (a && a->shape() == *inner) : isNumber(v);
        if (!fits) throw ScriptError("array elements must be all numbers or all arrays of the same shape");
        elements.push_back(std::move(v));
        if (a && !inner) inner = &std::get<Array>(elements.back()).shape();
    }
    std::vector<int> shape = {static_cast<int>(elements.size())};
    if (inner) shape.insert(shape.end(), inner->begin(), inner->end());
    // A loop can nest an array deeper than any literal (a = [a]); what walks an array's
    // dimensions (print, str) then stays within the same limit as the parser.
    if (shape.size() > static_cast<std::size_t>(kMaxNesting)) throw ScriptError("array nesting deeper than " + std::to_string(kMaxNesting));
    Array out(std::move(shape));
    double* values = out.writable();
    for (const Value& v : elements) {
        if (const Array* a = std::get_if<Array>(&v)) values = std::copy(a->values(), a->values() + a->size(), values);
        else *values++ = toDouble(v);
    }
    return out;
}

// Left to right: ((a op b) op c) ...
Value Evaluator::evalChain(const Expr& e)
{
    Value result = eval(*e.args[0]);
    for (std::size_t i = 1; i < e.args.size(); ++i) result = evalBinary(e.name[i - 1], std::move(result), eval(*e.args[i]));
    return result;
}

Value Evaluator::evalBinary(char op, Value&& a, Value&& b)
{
    if (op == '+' && std::holds_alternative<std::string>(a) && std::holds_alternative<std::string>(b))
        return std::move(std::get<std::string>(a)) + std::get<std::string>(b);
    if (isNumber(a) && isNumber(b)) {
        auto ia = std::get_if<int64_t>(&a);
        auto ib = std::get_if<int64_t>(&b);
        if (ia && ib && op == '%' && *ib == 0) throw ScriptError("int modulo 0");
        if (ia && ib && (op == '+' || op == '-' || op == '*' || op == '%')) {
            if (const auto r = intResult(op, *ia, *ib)) return *r;
            throw ScriptError("integer overflow");
        }
        return apply(op, toDouble(a), toDouble(b));
    }
    Array* aa = std::get_if<Array>(&a);
    Array* ab = std::get_if<Array>(&b);
    if ((aa || isNumber(a)) && (ab || isNumber(b))) {
        if (aa && ab && aa->shape() != ab->shape())
            throw ScriptError(std::string("arrays of different shapes in '") + op + "'");
        const double* xs = aa ? aa->values() : nullptr;
        const double* ys = ab ? ab->values() : nullptr;
        const double x = aa ? 0.0 : toDouble(a);
        const double y = ab ? 0.0 : toDouble(b);
        Array& reused = aa && aa->soleHolder() ? *aa : ab && ab->soleHolder() ? *ab : aa ? *aa : *ab;
        Array out = resultFor(std::move(reused));
        double* result = out.writable();
        for (std::size_t i = 0; i < out.size(); ++i) result[i] = apply(op, xs ? xs[i] : x, ys ? ys[i] : y);
        return out;
    }
    throw ScriptError(std::string("cannot apply '") + op + "' to " + typeName(a) + " and " + typeName(b));
}

}  // namespace rizari::runner
