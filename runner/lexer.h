// Splits one line of a script into tokens. A statement never spans lines (a block is a line that
// opens it, its statements and a line that closes it), so each line is lexed on its own; a "#"
// outside a string ends the line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rizari::runner {

enum class Tok { Ident, Int, Double, String, Punct, End };

struct Token {
    Tok kind = Tok::End;
    std::string text;  // identifier, punctuation (one character, or two as in "<="), or the decoded string
    int64_t intValue = 0;
    double doubleValue = 0.0;

    bool is(char punct) const { return kind == Tok::Punct && text.size() == 1 && text[0] == punct; }
    bool is(const char* punct) const { return kind == Tok::Punct && text == punct; }
    bool isWord(const char* word) const { return kind == Tok::Ident && text == word; }
};

// The tokens of the line followed by one End token; throws ScriptError on a malformed token.
std::vector<Token> lexLine(const std::string& line);

}  // namespace rizari::runner
