// Splits one line of a script into tokens. Statements never span lines, so each line is lexed
// on its own; a "#" outside a string ends the line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rizari::runner {

enum class Tok { Ident, Int, Double, String, Punct, End };

struct Token {
    Tok kind = Tok::End;
    std::string text;  // identifier, punctuation character, or the decoded string
    int64_t intValue = 0;
    double doubleValue = 0.0;

    bool is(char punct) const { return kind == Tok::Punct && text.size() == 1 && text[0] == punct; }
};

// The tokens of the line followed by one End token; throws ScriptError on a malformed token.
std::vector<Token> lexLine(const std::string& line);

}  // namespace rizari::runner
