#include "data/picture_commands.h"

#include <cctype>
#include <string>
#include <vector>

namespace rizari {

namespace {

// A gnuplot word and the fewest letters that still name it.
struct Word {
    std::string_view name;
    std::size_t shortest;
};

// The options of "set" and "unset" that change the mapping of x to pixels or the picture's size:
// ranges, log and nonlinear scales, time data, linked axes, margins, offsets, the plot's size and
// origin, the terminal, multiplot, samples, polar and parametric mode, the view of 3D plots.
constexpr Word kPictureOptions[] = {
    {"xrange", 2},     {"x2range", 3},   {"yrange", 2},   {"y2range", 3},  {"trange", 2},    {"rrange", 2},   {"urange", 2},
    {"vrange", 2},     {"autoscale", 2}, {"logscale", 3}, {"nonlinear", 4}, {"xdata", 3},    {"x2data", 4},   {"link", 3},
    {"lmargin", 3},    {"rmargin", 3},   {"tmargin", 3},  {"bmargin", 3},  {"margins", 3},   {"offsets", 3},  {"size", 2},
    {"origin", 2},     {"terminal", 1},  {"multiplot", 3}, {"samples", 2}, {"polar", 3},     {"parametric", 3}, {"view", 2},
    {"isosamples", 3}, {"xdtics", 3},    {"xmtics", 3},
};

// The commands that only set or show options; any other command (plot, replot, load, call,
// reset, a loop) may do anything.
constexpr Word kSetCommands[] = {{"set", 2}, {"unset", 3}};
constexpr Word kHarmlessCommands[] = {{"show", 2}, {"print", 2}, {"pause", 2}};

bool names(std::string_view word, const Word& w) { return word.size() >= w.shortest && w.name.starts_with(word); }

template <std::size_t N> bool namesAny(std::string_view word, const Word (&words)[N])
{
    for (const Word& w : words)
        if (names(word, w)) return true;
    return false;
}

// The commands of a text: split at ';' and line ends outside quotes.
std::vector<std::string> commandsOf(std::string_view text)
{
    std::vector<std::string> commands(1);
    char quote = 0;
    for (const char c : text) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';' || c == '\n') {
            commands.emplace_back();
            continue;
        }
        commands.back() += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return commands;
}

// The first two words of a command (letters, digits and '_').
std::pair<std::string_view, std::string_view> leadingWords(std::string_view command)
{
    std::string_view words[2];
    std::size_t at = 0;
    for (std::string_view& word : words) {
        while (at < command.size() && std::isspace(static_cast<unsigned char>(command[at]))) ++at;
        const std::size_t start = at;
        while (at < command.size() && (std::isalnum(static_cast<unsigned char>(command[at])) || command[at] == '_')) ++at;
        word = command.substr(start, at - start);
    }
    return {words[0], words[1]};
}

bool commandChangesPicture(std::string_view command)
{
    const auto [verb, option] = leadingWords(command);
    if (verb.empty()) {
        // Blank, a comment, or something else (a shell escape, a macro): only the first two are harmless.
        const std::size_t first = command.find_first_not_of(" \t\r");
        return first != std::string_view::npos && command[first] != '#';
    }
    if (namesAny(verb, kHarmlessCommands)) return false;
    if (!namesAny(verb, kSetCommands)) return true;
    // "set nologscale" is the old spelling of "unset logscale".
    const std::string_view bare = option.starts_with("no") && !names(option, {"nonlinear", 4}) ? option.substr(2) : option;
    return option.empty() || namesAny(option, kPictureOptions) || namesAny(bare, kPictureOptions);
}

}  // namespace

bool changesPicture(std::string_view commands)
{
    for (const std::string& command : commandsOf(commands))
        if (commandChangesPicture(command)) return true;
    return false;
}

}  // namespace rizari
