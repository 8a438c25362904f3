// The built-in functions of the script language, one row each: the evaluator calls them by this
// table, `rizari --help` lists it and a test holds the reference against it. A new built-in is a
// row in builtins.cpp and a line in the reference.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runner/evaluator.h"

namespace rizari::runner {

// One call of a built-in: its name, its arguments (as many as its parameters allow) and the
// evaluator, for the built-ins that make plots.
struct BuiltinCall {
    std::string name;
    std::vector<Value> args;
    Evaluator& evaluator;
};

struct Builtin {
    std::string_view name;
    // As a call shows them: "first, end[, step]"; the optional ones in brackets. The count of
    // arguments a call may pass is read from them.
    std::string_view parameters;
    Value (*function)(BuiltinCall& call);
    std::string_view help;  // one line for --help

    std::size_t leastArguments() const;
    std::size_t mostArguments() const;
    std::string signature() const { return std::string(name) + "(" + std::string(parameters) + ")"; }
    // Throws ScriptError when a call passes fewer or more arguments than the parameters allow.
    void checkCount(std::size_t given) const;
};

// Every built-in, in the order --help and the reference list them.
std::span<const Builtin> allBuiltins();
// The built-in of that name, or null.
const Builtin* findBuiltin(std::string_view name);

}  // namespace rizari::runner
