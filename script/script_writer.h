// The one way engine command lines are written: a printf-like formatter whose numbers do not
// depend on the process locale. Each print() call is one write to the target, so a script opened
// unbuffered receives every clause part as soon as it is formed.
//
// Conversions: %d %ld %u (integers), %f %lf (six decimals, or six significant digits where six
// decimals would cut a small value: see formatSetting), %g, %s (a null text writes
// nothing), %q (a text for the inside of a double-quoted string: see appendQuoted), %t (a text the
// picture shows: as %q when it stays text in the terminal's file, else not written at all and
// kept as refusedText()), %c, %%.
// Anything else is copied as it stands.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/engine_compat.h"
#include "script/terminals.h"

namespace rizari {

// The text as gnuplot must read it inside double quotes to hold exactly these characters: a
// backslash, a double quote and a backquote are escaped with a backslash, a line feed and a
// carriage return become \n and \r. So no text can end the string, start a command or have the
// engine run a shell command; texts without these five characters are written unchanged.
void appendQuoted(std::string& out, std::string_view text);

// Whether the engine reads a file name of this beginning as something else than the file: a
// command (a leading "|" or "<"), a data block (a leading "$"), one of its pseudo-files ("-",
// "+", "++"), or a name in the home folder (a leading "~/", and on Windows "~\\", which it expands
// to $HOME; any leading "~" is counted, so no spelling of it escapes).
bool engineMisreads(std::string_view name);

// The name as the engine must be given it to mean that very file on disk: a misread name gets
// "./" in front, which names the same file.
std::string engineFileName(std::string_view name);

// What a script sets in the engine beyond its own plot, noted by the writer as the script is
// written. gnuplot keeps a terminal's options from one plot to the next, so the lines that set
// them are kept, one group per place that writes them: the plot's terminal first, then each
// cell's text options. A caller's text that the script holds as gnuplot code can set anything.
struct EngineEffects {
    std::vector<std::string> terminalLines;
    bool callerCode = false;
};

// A caller's text that the script holds as gnuplot code, written as it stands by %s. A command is
// a line of its own and counts as code whatever it says. An option text sits inside one of the
// script's commands: made of words, numbers, quoted names and the signs of option lists only, it
// stays in that command; any other sign (";", "`", "@", "\\", braces, parentheses, "=" ...) might
// reach further, and it counts as code.
struct CallerCode {
    enum class Kind { Option, Command };
    const std::string& text;
    Kind kind = Kind::Option;
};

class ScriptWriter {
public:
    // The major version of the engine that will read the script, asked at most once.
    using VersionSource = std::function<int()>;

    explicit ScriptWriter(std::FILE* file, const EngineDialect& dialect = kGnuplot5) : file_(file), dialect_(&dialect) {}
    explicit ScriptWriter(std::string& text, const EngineDialect& dialect = kGnuplot5) : text_(&text), dialect_(&dialect) {}
    // A script for an engine whose version is asked only when a version-dependent line is written.
    ScriptWriter(std::FILE* file, VersionSource version) : file_(file), version_(std::move(version)) {}
    ScriptWriter(std::string& text, VersionSource version) : text_(&text), version_(std::move(version)) {}

    // The dialect of the engine the script is written for.
    const EngineDialect& dialect();

    struct Arg {
        enum class Kind { Int, Double, Text } kind;
        long long i = 0;
        double d = 0.0;
        const char* s = nullptr;
        Arg(int v) : kind(Kind::Int), i(v) {}
        Arg(long v) : kind(Kind::Int), i(v) {}
        Arg(long long v) : kind(Kind::Int), i(v) {}
        Arg(unsigned v) : kind(Kind::Int), i(v) {}
        Arg(double v) : kind(Kind::Double), d(v) {}
        Arg(const char* v) : kind(Kind::Text), s(v) {}
        Arg(const std::string& v) : kind(Kind::Text), s(v.c_str()) {}
        Arg(const CallerCode& v) : kind(Kind::Text), s(v.text.c_str()), code(v.kind) {}
        std::optional<CallerCode::Kind> code;  // a caller's text, for %s
    };

    template <class... A>
    void print(std::string_view format, const A&... args)
    {
        const Arg list[] = {Arg(args)..., Arg(0)};
        emit(format, list, sizeof...(A));
    }

    // Text written as it stands, without looking for conversions.
    void put(std::string_view text);

    // False once a write to the file failed (the system's error is then in errno).
    bool ok() const { return ok_; }

    // The markup of the file the terminal writes, which the texts it shows (%t) must not make.
    void showTextsIn(TextMarkup markup) { markup_ = markup; }
    // The first shown text that would have been markup there; none when every one stays text.
    const std::optional<std::string>& refusedText() const { return refusedText_; }

    // The effects of what is written from now on are noted there.
    void noteEffects(EngineEffects& effects) { effects_ = &effects; }

    // While it lives, the text written is also noted as one group of terminal lines.
    class TerminalLines {
    public:
        explicit TerminalLines(ScriptWriter& w);
        ~TerminalLines();
        TerminalLines(const TerminalLines&) = delete;
        TerminalLines& operator=(const TerminalLines&) = delete;

    private:
        ScriptWriter& w_;
        std::string lines_;
    };

private:
    void emit(std::string_view format, const Arg* args, std::size_t count);

    std::FILE* file_ = nullptr;
    std::string* text_ = nullptr;
    const EngineDialect* dialect_ = nullptr;  // none until the version source has answered
    VersionSource version_;
    bool ok_ = true;
    TextMarkup markup_ = TextMarkup::None;
    std::optional<std::string> refusedText_;
    EngineEffects* effects_ = nullptr;
    std::string* terminalLines_ = nullptr;  // the group being noted
};

}  // namespace rizari
