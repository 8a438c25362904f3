// Recursive descent over the tokens of one line, and the lines of blocks. Precedence, lowest
// first: or, and, not, comparisons (one a level, no chains), + -, * / %, unary -, ^ (right
// associative), member calls and indexing, primaries. A run of + - (or * / %) is one node whose
// operands are evaluated left to right, so a long sum nests no deeper than its terms.
#include "runner/parser.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "rizari/codes.h"
#include "runner/script_error.h"

namespace rizari::runner {
namespace {

const std::string kNestingMessage = "nesting deeper than " + std::to_string(kMaxNesting);

// A node over its operands; throws when it would nest deeper than the limit.
ExprPtr node(ExprKind kind, std::vector<ExprPtr> args = {})
{
    auto e = std::make_unique<Expr>();
    e->kind = kind;
    for (const ExprPtr& a : args)
        if (a) e->depth = std::max(e->depth, a->depth + 1);
    if (e->depth > kMaxNesting) throw ScriptError(kNestingMessage);
    e->args = std::move(args);
    return e;
}

std::vector<ExprPtr> operands(ExprPtr a, ExprPtr b = nullptr)
{
    std::vector<ExprPtr> out;
    out.push_back(std::move(a));
    if (b) out.push_back(std::move(b));
    return out;
}

class LineParser {
public:
    explicit LineParser(std::vector<Token> tokens) : t_(std::move(tokens)) {}

    const Token& at(std::size_t ahead = 0) const
    {
        std::size_t i = pos_ + ahead;
        return i < t_.size() ? t_[i] : t_.back();
    }

    void skip(std::size_t n = 1) { pos_ += n; }

    // A statement of one line.
    void simple(Stmt& s)
    {
        if (at().kind == Tok::End) return;
        if (at().isWord("delete") && at(1).kind == Tok::Ident) {
            s.kind = StmtKind::Delete;
            s.name = at(1).text;
            pos_ += 2;
        } else if (at().isWord("print") && at(1).is('(')) {
            s.kind = StmtKind::Print;
            pos_ += 2;
            s.exprs = list(')');
        } else if (at().kind == Tok::Ident && at(1).is('=')) {
            if (isKeyword(at().text)) throw ScriptError("'" + at().text + "' is a word of the language, not a variable");
            s.kind = StmtKind::Assign;
            s.name = at().text;
            pos_ += 2;
            s.exprs.push_back(expression());
        } else if (at().isWord("else")) {
            throw ScriptError("'else' without an 'if' block before it");
        } else {
            s.kind = StmtKind::Eval;
            s.exprs.push_back(expression());
        }
        if (at().is(';')) ++pos_;
        expectEnd();
    }

    // for NAME in EXPR {
    void forHeader(Stmt& s)
    {
        ++pos_;
        if (at().kind != Tok::Ident || isKeyword(at().text)) throw ScriptError("expected a variable name after 'for'");
        s.kind = StmtKind::For;
        s.name = at().text;
        ++pos_;
        if (!at().isWord("in")) throw ScriptError("expected 'in' but found " + describe(at()));
        ++pos_;
        s.exprs.push_back(expression());
        opensBlock();
    }

    // if EXPR {   (also what follows "} else" of an else-if)
    void ifHeader(Stmt& s)
    {
        ++pos_;
        s.kind = StmtKind::If;
        s.exprs.push_back(expression());
        opensBlock();
    }

    // "{" ending the line after `what`.
    void expectBlockStart(const char* what)
    {
        if (!at().is('{')) throw ScriptError(std::string("expected '{' after ") + what + " but found " + describe(at()));
        opensBlock();
    }

    void expectEnd()
    {
        if (at().kind != Tok::End) throw ScriptError("unexpected " + describe(at()));
    }

private:
    static bool isKeyword(const std::string& word)
    {
        for (const char* k : {"for", "in", "if", "else", "and", "or", "not", "null"})
            if (word == k) return true;
        return false;
    }

    static std::string describe(const Token& t)
    {
        switch (t.kind) {
        case Tok::End: return "end of line";
        case Tok::String: return "string";
        default: return "'" + t.text + "'";
        }
    }

    void opensBlock()
    {
        if (!at().is('{')) throw ScriptError("expected '{' at the end of the line but found " + describe(at()));
        ++pos_;
        if (at().kind != Tok::End) throw ScriptError("'{' must end the line: the block's statements go on the lines below");
    }

    void expect(char punct)
    {
        if (!at().is(punct)) throw ScriptError(std::string("expected '") + punct + "' but found " + describe(at()));
        ++pos_;
    }

    // Comma-separated expressions up to the closing character (consumed).
    std::vector<ExprPtr> list(char close)
    {
        std::vector<ExprPtr> out;
        if (at().is(close)) {
            ++pos_;
            return out;
        }
        while (true) {
            out.push_back(expression());
            if (at().is(',')) {
                ++pos_;
                continue;
            }
            expect(close);
            return out;
        }
    }

    // Counts the parser's own recursion: every nested operand passes through unary() or negation().
    struct Nesting {
        explicit Nesting(int& level) : level_(level)
        {
            if (++level_ > kMaxNesting) {
                --level_;
                throw ScriptError(kNestingMessage);
            }
        }
        ~Nesting() { --level_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;
        int& level_;
    };

    ExprPtr expression() { return disjunction(); }

    ExprPtr disjunction()
    {
        ExprPtr left = conjunction();
        while (at().isWord("or")) {
            ++pos_;
            left = node(ExprKind::Or, operands(std::move(left), conjunction()));
        }
        return left;
    }

    ExprPtr conjunction()
    {
        ExprPtr left = negation();
        while (at().isWord("and")) {
            ++pos_;
            left = node(ExprKind::And, operands(std::move(left), negation()));
        }
        return left;
    }

    ExprPtr negation()
    {
        if (!at().isWord("not")) return comparison();
        Nesting nested(nesting_);
        ++pos_;
        return node(ExprKind::Not, operands(negation()));
    }

    static bool comparisonAt(const Token& t, CompareOp& op)
    {
        static const std::pair<const char*, CompareOp> kOps[] = {
            {"==", CompareOp::Equal}, {"!=", CompareOp::NotEqual},     {"<", CompareOp::Less},
            {"<=", CompareOp::LessEqual}, {">", CompareOp::Greater}, {">=", CompareOp::GreaterEqual}};
        for (const auto& [text, value] : kOps)
            if (t.is(text)) {
                op = value;
                return true;
            }
        return false;
    }

    ExprPtr comparison()
    {
        ExprPtr left = additive();
        CompareOp op;
        if (!comparisonAt(at(), op)) return left;
        ++pos_;
        auto e = node(ExprKind::Compare, operands(std::move(left), additive()));
        e->compare = op;
        if (comparisonAt(at(), op)) throw ScriptError("comparisons do not chain: join them with 'and'");
        return e;
    }

    // A run of operators of one level: operands left to right, op holds the operator before each
    // operand after the first (in name).
    ExprPtr chain(const char* ops, ExprPtr (LineParser::*operand)())
    {
        ExprPtr first = (this->*operand)();
        if (!(at().kind == Tok::Punct && at().text.size() == 1 && std::strchr(ops, at().text[0]))) return first;
        std::vector<ExprPtr> terms;
        std::string between;
        terms.push_back(std::move(first));
        while (at().kind == Tok::Punct && at().text.size() == 1 && std::strchr(ops, at().text[0])) {
            between += at().text[0];
            ++pos_;
            terms.push_back((this->*operand)());
        }
        auto e = node(ExprKind::Binary, std::move(terms));
        e->name = std::move(between);
        return e;
    }

    ExprPtr additive() { return chain("+-", &LineParser::term); }
    ExprPtr term() { return chain("*/%", &LineParser::unary); }

    ExprPtr unary()
    {
        Nesting nested(nesting_);
        if (at().is('-')) {
            ++pos_;
            return node(ExprKind::Negate, operands(unary()));
        }
        return power();
    }

    ExprPtr power()
    {
        ExprPtr base = postfix();
        if (!at().is('^')) return base;
        ++pos_;
        auto e = node(ExprKind::Binary, operands(std::move(base), unary()));
        e->name = '^';
        return e;
    }

    ExprPtr postfix()
    {
        ExprPtr e = primary();
        while (at().is('.') || at().is('[')) e = at().is('.') ? member(std::move(e)) : index(std::move(e));
        return e;
    }

    ExprPtr member(ExprPtr receiver)
    {
        ++pos_;
        if (at().kind != Tok::Ident) throw ScriptError("expected a member name after '.'");
        std::string name = at().text;
        ++pos_;
        if (!at().is('(')) throw ScriptError("expected '(' after member name '" + name + "'");
        ++pos_;
        std::vector<ExprPtr> args = operands(std::move(receiver));
        for (auto& a : list(')')) args.push_back(std::move(a));
        auto call = node(ExprKind::Member, std::move(args));
        call->name = std::move(name);
        return call;
    }

    // value[i] or value[from:to], where either bound may be left out.
    ExprPtr index(ExprPtr value)
    {
        ++pos_;
        ExprPtr from = at().is(':') ? nullptr : expression();
        if (!at().is(':')) {
            expect(']');
            return node(ExprKind::Index, operands(std::move(value), std::move(from)));
        }
        ++pos_;
        ExprPtr to = at().is(']') ? nullptr : expression();
        expect(']');
        std::vector<ExprPtr> args;
        args.push_back(std::move(value));
        args.push_back(std::move(from));
        args.push_back(std::move(to));
        return node(ExprKind::Slice, std::move(args));
    }

    ExprPtr primary()
    {
        const Token& t = at();
        switch (t.kind) {
        case Tok::Int: {
            auto e = node(ExprKind::Int);
            e->intValue = t.intValue;
            ++pos_;
            return e;
        }
        case Tok::Double: {
            auto e = node(ExprKind::Double);
            e->doubleValue = t.doubleValue;
            ++pos_;
            return e;
        }
        case Tok::String: {
            auto e = node(ExprKind::String);
            e->name = t.text;
            ++pos_;
            return e;
        }
        case Tok::Ident: return identifier();
        case Tok::Punct:
            if (t.is('(')) {
                ++pos_;
                ExprPtr e = expression();
                expect(')');
                return e;
            }
            if (t.is('[')) {
                ++pos_;
                return node(ExprKind::Array, list(']'));
            }
            break;
        case Tok::End: break;
        }
        throw ScriptError("unexpected " + describe(t));
    }

    ExprPtr identifier()
    {
        std::string name = at().text;
        if (isKeyword(name) && name != "null") throw ScriptError("unexpected '" + name + "'");
        ++pos_;
        if (name == "null") return node(ExprKind::Null);
        if (isConstantGroup(name) && at().is('.')) {
            if (at(1).kind != Tok::Ident) throw ScriptError("expected a constant name after '" + name + ".'");
            auto e = node(ExprKind::Constant);
            if (!lookupConstant(name, at(1).text, e->intValue)) {
                std::vector<std::string> known;
                for (const NamedCode& c : kScriptCodes)
                    if (name == c.group) known.push_back(c.name);
                const std::optional<std::string> closest = closestName(at(1).text, known);
                throw ScriptError("unknown constant " + name + "." + at(1).text +
                                  (closest ? "; did you mean " + name + "." + *closest + "?" : ""));
            }
            pos_ += 2;
            return e;
        }
        if (at().is('(')) {
            ++pos_;
            auto e = node(ExprKind::Call, list(')'));
            e->name = name;
            return e;
        }
        auto e = node(ExprKind::Variable);
        e->name = name;
        return e;
    }

    std::vector<Token> t_;
    std::size_t pos_ = 0;
    int nesting_ = 0;
};

LineParser lineAt(const std::vector<std::string>& lines, std::size_t index)
{
    try {
        return LineParser(lexLine(lines[index]));
    } catch (ScriptError& e) {
        e.line = index + 1;
        throw;
    }
}

}  // namespace

Stmt ScriptReader::next() { return statement(0); }

Stmt ScriptReader::statement(int depth)
{
    const std::size_t index = next_++;
    Stmt s;
    s.line = index + 1;
    try {
        LineParser p = lineAt(lines_, index);
        if (p.at().is('}')) throw ScriptError("'}' without a block to close");
        if (p.at().isWord("for")) p.forHeader(s);
        else if (p.at().isWord("if")) p.ifHeader(s);
        else p.simple(s);
        if (s.kind == StmtKind::For || s.kind == StmtKind::If) {
            if (depth + 1 > kMaxNesting) throw ScriptError(kNestingMessage);
            do {
                s.blocks.push_back(body(depth + 1));
            } while (continues(s));
        }
    } catch (ScriptError& e) {
        if (e.line == 0) e.line = s.line;
        throw;
    }
    return s;
}

// The statements up to the line that closes the block (read too).
Block ScriptReader::body(int depth)
{
    Block block;
    while (true) {
        if (atEnd()) throw ScriptError("no '}' closes the block of this line");
        if (lineAt(lines_, next_).at().is('}')) {
            ++next_;
            return block;
        }
        block.push_back(statement(depth));
    }
}

// Whether the closing line just read opens another branch of an if: "} else {" or
// "} else if COND {" (its condition is added to the statement).
bool ScriptReader::continues(Stmt& s)
{
    const std::size_t closing = next_ - 1;
    try {
        LineParser p = lineAt(lines_, closing);
        p.skip();
        if (p.at().kind == Tok::End) return false;
        if (!p.at().isWord("else")) throw ScriptError("unexpected text after '}'");
        if (s.kind != StmtKind::If) throw ScriptError("'else' after a 'for' block");
        if (s.blocks.size() > s.exprs.size()) throw ScriptError("'else' after the 'else' block");
        p.skip();
        if (p.at().isWord("if")) {
            p.ifHeader(s);
            return true;
        }
        p.expectBlockStart("'else'");
        return true;
    } catch (ScriptError& e) {
        if (e.line == 0) e.line = closing + 1;
        throw;
    }
}

std::vector<Stmt> parseScript(const std::vector<std::string>& lines)
{
    std::vector<Stmt> program;
    for (ScriptReader reader(lines); !reader.atEnd();) program.push_back(reader.next());
    return program;
}

bool isConstantGroup(const std::string& group)
{
    for (const NamedCode& c : kScriptCodes)
        if (group == c.group) return true;
    return false;
}

bool lookupConstant(const std::string& group, const std::string& name, int64_t& value)
{
    for (const NamedCode& c : kScriptCodes) {
        if (group == c.group && name == c.name) {
            value = c.value;
            return true;
        }
    }
    return false;
}

}  // namespace rizari::runner
