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

private:
    void emit(std::string_view format, const Arg* args, std::size_t count);

    std::FILE* file_ = nullptr;
    std::string* text_ = nullptr;
    const EngineDialect* dialect_ = nullptr;  // none until the version source has answered
    VersionSource version_;
    bool ok_ = true;
    TextMarkup markup_ = TextMarkup::None;
    std::optional<std::string> refusedText_;
};

}  // namespace rizari
