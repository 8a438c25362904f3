#include "script/script_writer.h"

#include "script/number_format.h"

#include <cctype>

namespace rizari {

void appendQuoted(std::string& out, std::string_view text)
{
    for (char c : text) {
        switch (c) {
        case '\\':
        case '"':
        case '`': out += '\\', out += c; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
}

bool engineMisreads(std::string_view name)
{
    if (name.empty()) return false;
    const char first = name.front();
    return first == '|' || first == '<' || first == '$' || first == '~' || name == "-" || name == "+" || name == "++";
}

std::string engineFileName(std::string_view name)
{
    return engineMisreads(name) ? "./" + std::string(name) : std::string(name);
}

namespace {

// The signs of an option list besides letters and digits: none of them ends a command, opens a
// block, runs a shell command, expands a macro or makes an expression with effects.
constexpr std::string_view kOptionSigns = " \t,.:+-_/'\"#%*";

// Whether a caller's text can reach beyond the command it is written into.
bool reachesFurther(std::string_view text, CallerCode::Kind kind)
{
    if (kind == CallerCode::Kind::Command) return true;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = std::isalnum(byte) || byte >= 0x80 || kOptionSigns.find(c) != std::string_view::npos;
        if (!plain) return true;
    }
    return false;
}

}  // namespace

ScriptWriter::TerminalLines::TerminalLines(ScriptWriter& w) : w_(w) { w_.terminalLines_ = &lines_; }

ScriptWriter::TerminalLines::~TerminalLines()
{
    w_.terminalLines_ = nullptr;
    if (!w_.effects_) return;
    try {
        w_.effects_->terminalLines.push_back(std::move(lines_));
    } catch (...) {
        // Unnoted lines could not match another plot's: the engine is started afresh.
        w_.effects_->callerCode = true;
    }
}

const EngineDialect& ScriptWriter::dialect()
{
    if (!dialect_) dialect_ = &dialectFor(version_ ? version_() : 0);
    return *dialect_;
}

void ScriptWriter::put(std::string_view text)
{
    if (terminalLines_) terminalLines_->append(text);
    if (text_) {
        text_->append(text);
    } else if (file_ && !text.empty() && ok_) {
        ok_ = std::fwrite(text.data(), 1, text.size(), file_) == text.size();
    }
}

void ScriptWriter::emit(std::string_view format, const Arg* args, std::size_t count)
{
    std::string out;
    out.reserve(format.size() + 32);
    std::size_t next = 0;
    char number[kMaxNumberText];
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%') {
            out += c;
            continue;
        }
        std::size_t j = i + 1;
        while (j < format.size() && (format[j] == 'l' || format[j] == 'h')) ++j;
        const char conv = j < format.size() ? format[j] : '\0';
        if (conv == '%') {
            out += '%';
            i = j;
            continue;
        }
        if (next >= count || (conv != 'd' && conv != 'u' && conv != 'f' && conv != 'g' && conv != 's' && conv != 'q' && conv != 't' && conv != 'c')) {
            out += c;  // not a conversion this writer knows: keep the text
            continue;
        }
        const Arg& a = args[next++];
        switch (conv) {
        case 'd':
        case 'u':
            out.append(number, formatD(number, a.kind == Arg::Kind::Double ? static_cast<long long>(a.d) : a.i));
            break;
        case 'f':
            out.append(number, formatSetting(number, a.kind == Arg::Kind::Int ? static_cast<double>(a.i) : a.d));
            break;
        case 'g':
            out.append(number, formatG(number, a.kind == Arg::Kind::Int ? static_cast<double>(a.i) : a.d));
            break;
        case 's':
            if (a.kind == Arg::Kind::Text && a.s) out += a.s;
            if (a.code && effects_ && reachesFurther(a.s, *a.code)) effects_->callerCode = true;
            break;
        case 'q':
            if (a.kind == Arg::Kind::Text && a.s) appendQuoted(out, a.s);
            break;
        case 't':
            if (a.kind != Arg::Kind::Text || !a.s) break;
            if (staysText(a.s, markup_)) appendQuoted(out, a.s);
            else if (!refusedText_) refusedText_ = a.s;
            break;
        case 'c':
            out += static_cast<char>(a.i);
            break;
        }
        i = j;
    }
    put(out);
}

}  // namespace rizari
