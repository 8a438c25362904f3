// Tokens: identifiers, integer and floating literals, double-quoted strings with the escapes
// \" \\ \n \r \t, the punctuation ( ) [ ] { } , . : ; = + - * / % ^ < > and the pairs == != <= >=
#include "runner/lexer.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "runner/script_error.h"

namespace rizari::runner {
namespace {

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool isIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_'; }
bool isIdentChar(char c) { return isIdentStart(c) || isDigit(c); }

class Lexer {
public:
    explicit Lexer(const std::string& line) : s_(line) {}

    std::vector<Token> run()
    {
        std::vector<Token> out;
        while (true) {
            while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
            if (i_ >= s_.size() || s_[i_] == '#') break;
            char c = s_[i_];
            if (isIdentStart(c)) out.push_back(ident());
            else if (isDigit(c) || (c == '.' && isDigit(peek(1)))) out.push_back(number());
            else if (c == '"') out.push_back(string());
            else if (std::strchr("()[]{},.:;=+-*/%^<>!", c)) out.push_back(punct());
            else throw ScriptError(std::string("unexpected character '") + c + "'");
        }
        out.push_back(Token{});
        return out;
    }

private:
    char peek(std::size_t ahead) const { return i_ + ahead < s_.size() ? s_[i_ + ahead] : '\0'; }

    Token ident()
    {
        std::size_t start = i_;
        while (i_ < s_.size() && isIdentChar(s_[i_])) ++i_;
        return Token{Tok::Ident, s_.substr(start, i_ - start)};
    }

    Token number()
    {
        std::size_t start = i_;
        bool floating = false;
        while (isDigit(peek(0))) ++i_;
        if (peek(0) == '.') {
            floating = true;
            ++i_;
            while (isDigit(peek(0))) ++i_;
        }
        if (peek(0) == 'e' || peek(0) == 'E') {
            std::size_t sign = (peek(1) == '+' || peek(1) == '-') ? 1 : 0;
            if (!isDigit(peek(1 + sign))) throw ScriptError("malformed number '" + s_.substr(start, i_ + 1 - start) + "'");
            floating = true;
            i_ += 1 + sign;
            while (isDigit(peek(0))) ++i_;
        }
        if (isIdentChar(peek(0))) throw ScriptError("malformed number '" + s_.substr(start, i_ + 1 - start) + "'");
        std::string text = s_.substr(start, i_ - start);
        Token t{floating ? Tok::Double : Tok::Int, text};
        errno = 0;
        if (floating) {
            t.doubleValue = std::strtod(text.c_str(), nullptr);
        } else {
            t.intValue = std::strtoll(text.c_str(), nullptr, 10);
            if (errno == ERANGE || t.intValue > INT32_MAX) throw ScriptError("integer literal out of range: " + text);
        }
        return t;
    }

    Token string()
    {
        ++i_;  // opening quote
        std::string text;
        while (true) {
            if (i_ >= s_.size()) throw ScriptError("unterminated string");
            char c = s_[i_++];
            if (c == '"') break;
            if (c != '\\') {
                text += c;
                continue;
            }
            if (i_ >= s_.size()) throw ScriptError("unterminated string");
            char e = s_[i_++];
            switch (e) {
            case '"': text += '"'; break;
            case '\\': text += '\\'; break;
            case 'n': text += '\n'; break;
            case 't': text += '\t'; break;
            case 'r': text += '\r'; break;
            default: throw ScriptError(std::string("unknown escape '\\") + e + "' in string");
            }
        }
        return Token{Tok::String, text};
    }

    Token punct()
    {
        const char c = s_[i_++];
        if (peek(0) == '=' && std::strchr("=!<>", c)) {
            ++i_;
            return Token{Tok::Punct, std::string{c, '='}};
        }
        if (c == '!') throw ScriptError("unexpected character '!' (write 'not' for a negation)");
        return Token{Tok::Punct, std::string(1, c)};
    }

    const std::string& s_;
    std::size_t i_ = 0;
};

}  // namespace

std::vector<Token> lexLine(const std::string& line) { return Lexer(line).run(); }

}  // namespace rizari::runner
