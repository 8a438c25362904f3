// Runs parsed statements: variables, arithmetic, built-ins and member calls into the module.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "runner/error_watch.h"
#include "runner/module.h"
#include "runner/parser.h"

namespace rizari::runner {

struct MemberInfo;

// An array value: its extents (first dimension first; one entry for a plain list) and its
// values, row by row. Copies share the values, which never change once written: an operation
// that needs other values writes them once into storage of its own, which it takes fresh or from
// an operand that nothing else holds.
class Array {
public:
    Array() = default;
    // An array of these extents whose values are not written yet; throws std::bad_alloc when the
    // memory cannot be had.
    explicit Array(std::vector<int> shape);

    const std::vector<int>& shape() const { return shape_; }
    std::size_t size() const { return size_; }
    const double* values() const { return values_.get(); }
    double operator[](std::size_t i) const { return values_[i]; }
    // Row i of an array of two or more dimensions, as an array of one dimension less.
    Array row(std::size_t i) const;

    // Whether this copy is the only holder of its values, which may then be written.
    bool soleHolder() const { return values_.use_count() == 1; }
    // The values to write: those of a new array, or of a sole holder.
    double* writable() { return values_.get(); }

private:
    std::vector<int> shape_;
    std::size_t size_ = 0;
    std::shared_ptr<double[]> values_;
};

// The array itself when it is the only holder of its values, else a new array of its shape: the
// place for the result of an element-wise operation on it.
Array resultFor(Array&& operand);

// A plot instance: `tree` numbers the CPlot() call that made it (or the top plot a cell belongs to);
// a cell also knows its place in the chain of cells and the generations it was obtained in.
struct Instance {
    void* ptr = nullptr;
    std::size_t tree = 0;
    bool top = false;
    uint64_t generation = 0;
    std::size_t slot = 0;
    uint64_t slotGeneration = 0;
};

using Value = std::variant<std::monostate, int64_t, double, std::string, Array, Instance>;

// A visitor made of one callable per alternative: std::visit(Overloaded{[](int64_t) {...}, ...}, v).
template <class... F> struct Overloaded : F... {
    using F::operator()...;
};
template <class... F> Overloaded(F...) -> Overloaded<F...>;

class Evaluator {
public:
    explicit Evaluator(const Module& module);
    ~Evaluator();  // destroys every instance still alive
    Evaluator(const Evaluator&) = delete;
    Evaluator& operator=(const Evaluator&) = delete;

    // Runs a statement (a block with everything in it). Throws ScriptError for errors of the
    // script, carrying the line of the statement that failed (also inside a block).
    void execute(const Stmt& stmt);

    // Called before every statement, also those inside blocks: it may stop the run by throwing.
    void beforeEachStatement(std::function<void()> hook) { beforeStatement_ = std::move(hook); }

    // A new plot (CPlot()), destroyed by delete or at the end.
    Value newPlot();

    // Destroys the instances made by CPlot() that are still alive, oldest first.
    void destroyAll();

    // The member calls that refused an argument (they wrote a message), and the plotting() calls
    // that answered -1.
    std::size_t refusedCalls() const { return refusedCalls_; }
    std::size_t failedPlots() const { return failedPlots_; }

private:
    // A top plot and its cells. A reset releases every cell (generation); a smaller grid releases
    // the cells past its end (their slots' generations).
    struct Tree {
        void* top;
        bool alive;
        uint64_t generation = 0;
        int cols = 0;
        std::size_t cells = 1;
        std::vector<uint64_t> slotGenerations;

        uint64_t& slotGeneration(std::size_t slot)
        {
            if (slot >= slotGenerations.size()) slotGenerations.resize(slot + 1, 0);
            return slotGenerations[slot];
        }
    };

    void run(const Stmt& s);
    void runBlock(const Block& block);
    void runFor(const Stmt& s);
    bool condition(const Expr& e);
    Value eval(const Expr& e);
    Value evalArray(const Expr& e);
    Value evalChain(const Expr& e);
    Value evalBinary(char op, Value&& a, Value&& b);
    std::vector<Value> evalArguments(const Expr& e);
    Value callBuiltin(const Expr& e);
    // A member call (member_call.cpp): its arguments checked and listed, the entry point called,
    // its answer made a value and the cells that the call released noted.
    struct EntryAnswer;
    Value callMember(const Expr& e);
    EntryAnswer callEntry(const MemberInfo& member, ZuArgs* list);
    Value memberResult(const MemberInfo& member, const Instance& self, const std::vector<Value>& args, const EntryAnswer& answer);
    void followCells(const MemberInfo& member, const Instance& self, const std::vector<Value>& args, const Value& result);
    const Instance& liveInstance(const Value& v, const std::string& what);
    void remove(const std::string& name);

    const Module& module_;
    std::map<std::string, Value> vars_;
    std::vector<Tree> trees_;
    std::function<void()> beforeStatement_;
    ErrorWatch errorWatch_;
    std::size_t refusedCalls_ = 0;
    std::size_t failedPlots_ = 0;
};

inline bool isNumber(const Value& v)
{
    return std::holds_alternative<int64_t>(v) || std::holds_alternative<double>(v);
}

inline double toDouble(const Value& v)
{
    if (auto i = std::get_if<int64_t>(&v)) return static_cast<double>(*i);
    return std::get<double>(v);
}

// "an int", "a text", ... for messages.
inline const char* typeName(const Value& v)
{
    return std::visit(Overloaded{[](std::monostate) { return "null"; }, [](int64_t) { return "an int"; },
                                 [](double) { return "a double"; }, [](const std::string&) { return "a text"; },
                                 [](const Array&) { return "an array"; }, [](const Instance&) { return "a CPlot instance"; }},
                      v);
}

// The text that print writes for a value.
std::string formatValue(const Value& v);

// The int that a value stands for: an int, or a double without a fraction part in the int64 range.
std::optional<int64_t> integral(const Value& v);

// Whether a == b: numbers by value, texts by content, arrays by shape and values, plots by
// identity, null equals null; values of different kinds are unequal.
bool equal(const Value& a, const Value& b);
// a OP b, as 1 or 0: == and != for every value, the order for two numbers or two texts.
bool compare(CompareOp op, const Value& a, const Value& b);
// v[i] of an array (a number, or a row) or a text (its i-th byte); i below 0 counts from the end.
Value element(const Value& v, const Value& i);
// v[from:to] of an array (its rows) or a text; bounds as for element, clamped to the ends.
Value slice(const Value& v, const std::optional<Value>& from, const std::optional<Value>& to);

// The ints that range(first, end[, step]) counts: first, first + step, ... up to before end.
struct RangeSpec {
    int64_t first = 0;
    int64_t step = 1;
    uint64_t count = 0;

    // The k-th value (k < count), in unsigned arithmetic so that no step past the last overflows.
    int64_t at(uint64_t k) const { return static_cast<int64_t>(static_cast<uint64_t>(first) + k * static_cast<uint64_t>(step)); }
};
// The arguments' count is checked by the caller; throws ScriptError for arguments that are not
// ints or a step of 0.
RangeSpec rangeOf(const std::vector<Value>& args);

}  // namespace rizari::runner
