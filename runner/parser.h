// Statements and expressions of the script language. A statement is one line, except a block: a
// `for` or `if` line that ends in "{", the statements inside, and a line "}" (or "} else {",
// "} else if COND {") that closes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runner/lexer.h"

namespace rizari::runner {

// How deep expressions and blocks may nest: deeper scripts are refused when they are parsed, so
// that neither the parser nor the evaluator (which recurses as deep as the parser built) can run
// out of stack, also in a sanitizer build or on a thread with a small stack.
inline constexpr int kMaxNesting = 200;

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
    Not,       // args[0]
    Binary,    // args[0] name[0] args[1] name[1] args[2] ...: the operators (+ - * / % ^) in name
    Compare,   // compare, args[0], args[1]
    And,       // args[0], args[1]; args[1] is evaluated only when args[0] is true
    Or,        // args[0], args[1]; args[1] is evaluated only when args[0] is false
    Index,     // args[0][args[1]]
    Slice,     // args[0][args[1]:args[2]]; an omitted bound is a null pointer
    Call,      // built-in function: name(args)
    Member,    // args[0].name(args[1..])
};

enum class CompareOp { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

struct Expr {
    ExprKind kind;
    int64_t intValue = 0;
    double doubleValue = 0.0;
    std::string name;
    CompareOp compare = CompareOp::Equal;
    int depth = 1;  // of the tree below and including this node
    std::vector<ExprPtr> args;
};

enum class StmtKind { Empty, Assign, Eval, Print, Delete, For, If };

struct Stmt;
using Block = std::vector<Stmt>;

struct Stmt {
    StmtKind kind = StmtKind::Empty;
    std::size_t line = 0;  // 1 for the first line of the script; a block's opening line
    std::string name;      // assigned, deleted or loop variable
    std::vector<ExprPtr> exprs;  // For: the sequence; If: the condition of each branch
    std::vector<Block> blocks;   // For: the body; If: a body per condition, then the else body if any
};

// Reads a script one top-level statement at a time.
class ScriptReader {
public:
    explicit ScriptReader(const std::vector<std::string>& lines) : lines_(lines) {}

    bool atEnd() const { return next_ >= lines_.size(); }
    // The index of the first line not read yet.
    std::size_t position() const { return next_; }

    // The next statement (a whole block for a block's opening line). Throws ScriptError carrying
    // the line of the mistake; reading then goes on after that line.
    Stmt next();

private:
    Stmt statement(int depth);
    Block body(int depth);
    bool continues(Stmt& s);

    const std::vector<std::string>& lines_;
    std::size_t next_ = 0;
};

// The whole script, parsed before anything runs; throws ScriptError at the first mistake.
std::vector<Stmt> parseScript(const std::vector<std::string>& lines);

// The value of a constant Group.Name, or false when there is no such constant.
bool lookupConstant(const std::string& group, const std::string& name, int64_t& value);
bool isConstantGroup(const std::string& group);

}  // namespace rizari::runner
