// Recursive descent over the tokens of one line. Precedence, lowest first: + -, * /, unary -,
// ^ (right associative), member calls, primaries.
#include "runner/parser.h"

#include <iterator>

#include "rizari/codes.h"
#include "runner/script_error.h"

namespace rizari::runner {
namespace {

ExprPtr make(ExprKind kind)
{
    auto e = std::make_unique<Expr>();
    e->kind = kind;
    return e;
}

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : t_(std::move(tokens)) {}

    Stmt statement()
    {
        Stmt s;
        if (at().kind == Tok::End) return s;
        if (at().kind == Tok::Ident && at().text == "delete" && at(1).kind == Tok::Ident) {
            s.kind = StmtKind::Delete;
            s.name = at(1).text;
            pos_ += 2;
        } else if (at().kind == Tok::Ident && at().text == "print" && at(1).is('(')) {
            s.kind = StmtKind::Print;
            pos_ += 2;
            s.exprs = list(')');
        } else if (at().kind == Tok::Ident && at(1).is('=')) {
            s.kind = StmtKind::Assign;
            s.name = at().text;
            pos_ += 2;
            s.exprs.push_back(expression());
        } else {
            s.kind = StmtKind::Eval;
            s.exprs.push_back(expression());
        }
        if (at().is(';')) ++pos_;
        if (at().kind != Tok::End) throw ScriptError("unexpected " + describe(at()));
        return s;
    }

private:
    const Token& at(std::size_t ahead = 0) const
    {
        std::size_t i = pos_ + ahead;
        return i < t_.size() ? t_[i] : t_.back();
    }

    static std::string describe(const Token& t)
    {
        switch (t.kind) {
        case Tok::End: return "end of line";
        case Tok::String: return "string";
        default: return "'" + t.text + "'";
        }
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

    ExprPtr expression() { return additive(); }

    ExprPtr binary(ExprPtr left, char op, ExprPtr right)
    {
        auto e = make(ExprKind::Binary);
        e->op = op;
        e->args.push_back(std::move(left));
        e->args.push_back(std::move(right));
        return e;
    }

    ExprPtr additive()
    {
        ExprPtr left = term();
        while (at().is('+') || at().is('-')) {
            char op = at().text[0];
            ++pos_;
            left = binary(std::move(left), op, term());
        }
        return left;
    }

    ExprPtr term()
    {
        ExprPtr left = unary();
        while (at().is('*') || at().is('/')) {
            char op = at().text[0];
            ++pos_;
            left = binary(std::move(left), op, unary());
        }
        return left;
    }

    ExprPtr unary()
    {
        if (at().is('-')) {
            ++pos_;
            auto e = make(ExprKind::Negate);
            e->args.push_back(unary());
            return e;
        }
        return power();
    }

    ExprPtr power()
    {
        ExprPtr base = postfix();
        if (!at().is('^')) return base;
        ++pos_;
        return binary(std::move(base), '^', unary());
    }

    ExprPtr postfix()
    {
        ExprPtr e = primary();
        while (at().is('.')) {
            ++pos_;
            if (at().kind != Tok::Ident) throw ScriptError("expected a member name after '.'");
            auto call = make(ExprKind::Member);
            call->name = at().text;
            ++pos_;
            if (!at().is('(')) throw ScriptError("expected '(' after member name '" + call->name + "'");
            ++pos_;
            call->args.push_back(std::move(e));
            for (auto& a : list(')')) call->args.push_back(std::move(a));
            e = std::move(call);
        }
        return e;
    }

    ExprPtr primary()
    {
        const Token& t = at();
        switch (t.kind) {
        case Tok::Int: {
            auto e = make(ExprKind::Int);
            e->intValue = t.intValue;
            ++pos_;
            return e;
        }
        case Tok::Double: {
            auto e = make(ExprKind::Double);
            e->doubleValue = t.doubleValue;
            ++pos_;
            return e;
        }
        case Tok::String: {
            auto e = make(ExprKind::String);
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
                auto e = make(ExprKind::Array);
                e->args = list(']');
                return e;
            }
            break;
        case Tok::End: break;
        }
        throw ScriptError("unexpected " + describe(t));
    }

    ExprPtr identifier()
    {
        std::string name = at().text;
        ++pos_;
        if (name == "null") return make(ExprKind::Null);
        if (isConstantGroup(name) && at().is('.')) {
            if (at(1).kind != Tok::Ident) throw ScriptError("expected a constant name after '" + name + ".'");
            auto e = make(ExprKind::Constant);
            if (!lookupConstant(name, at(1).text, e->intValue))
                throw ScriptError("unknown constant " + name + "." + at(1).text);
            pos_ += 2;
            return e;
        }
        if (at().is('(')) {
            ++pos_;
            auto e = make(ExprKind::Call);
            e->name = name;
            e->args = list(')');
            return e;
        }
        auto e = make(ExprKind::Variable);
        e->name = name;
        return e;
    }

    std::vector<Token> t_;
    std::size_t pos_ = 0;
};

}  // namespace

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

Stmt parseLine(const std::string& line) { return Parser(lexLine(line)).statement(); }

}  // namespace rizari::runner
