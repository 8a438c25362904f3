// Statements and expressions of the script language, parsed one line at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runner/lexer.h"

namespace rizari::runner {

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

enum class ExprKind {
    Int,       // intValue
    Double,    // doubleValue
    String,    // name holds the text
    Null,
    Array,     // args are the elements
    Variable,  // name
    Constant,  // group.name, resolved by the parser into intValue
    Negate,    // args[0]
    Binary,    // op, args[0], args[1]
    Call,      // built-in function: name(args)
    Member,    // args[0].name(args[1..])
};

struct Expr {
    ExprKind kind;
    int64_t intValue = 0;
    double doubleValue = 0.0;
    std::string name;
    char op = 0;
    std::vector<ExprPtr> args;
};

enum class StmtKind { Empty, Assign, Eval, Print, Delete };

struct Stmt {
    StmtKind kind = StmtKind::Empty;
    std::string name;  // assigned or deleted variable
    std::vector<ExprPtr> exprs;
};

// Parses one line; throws ScriptError on a syntax error or an unknown constant.
Stmt parseLine(const std::string& line);

// The value of a constant Group.Name, or false when there is no such constant.
bool lookupConstant(const std::string& group, const std::string& name, int64_t& value);
bool isConstantGroup(const std::string& group);

}  // namespace rizari::runner
