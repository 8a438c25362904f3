// The services that read the same on every platform.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/messages.h"
#include "platform/platform.h"
#include "platform/unicode.h"

namespace rizari::platform {

void reportError(const char* prefix)
{
    const char* reason = std::strerror(errno);
    if (prefix && *prefix) reportf("%s: %s\n", prefix, reason);
    else reportf("%s\n", reason);
}

std::optional<std::string> getEnv(const char* name) { return unicode::environment(name); }

int engineMajorVersion(const std::string& program)
{
    static std::mutex guard;
    static std::map<std::string, int> known;
    std::lock_guard<std::mutex> lock(guard);
    if (const auto it = known.find(program); it != known.end()) return it->second;
    int major = 0;
    if (const auto text = outputOf(program, {"gnuplot", "--version"}); text && text->rfind("gnuplot ", 0) == 0)
        major = std::atoi(text->c_str() + 8);
    known.emplace(program, major);
    return major;
}

bool keepTemporaryFiles() { return getEnv("RIZARI_KEEP") == "1"; }

void reportWriteError(const std::string& name)
{
    reportf("Error: cannot write file \"%s\": %s\n", name.c_str(), std::strerror(errno));
}

namespace {

// One argument as the C runtime reads it back: within quotes, backslashes are literal except in
// front of a quote, where each pair gives one backslash and an odd one escapes the quote.
void appendQuoted(std::string& line, std::string_view arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string_view::npos) {
        line += arg;
        return;
    }
    line += '"';
    std::size_t backslashes = 0;
    for (const char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Before a quote (the argument's own), every backslash is doubled and the quote escaped.
        line.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        line += c;
        backslashes = 0;
    }
    line.append(2 * backslashes, '\\');  // they come before the closing quote
    line += '"';
}

}  // namespace

std::string windowsCommandLine(const std::vector<std::string>& argv)
{
    std::string line;
    for (const std::string& arg : argv) {
        if (!line.empty()) line += ' ';
        appendQuoted(line, arg);
    }
    return line;
}

}  // namespace rizari::platform
