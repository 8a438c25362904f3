// The script errors that several parts of the runner raise in the same words.
#include "runner/script_error.h"

#include <algorithm>
#include <cctype>

namespace rizari::runner {
namespace {

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Edits from a to b: letters added, dropped or changed, and two neighbours swapped.
std::size_t editDistance(const std::string& a, const std::string& b)
{
    std::vector<std::size_t> beforeLast(b.size() + 1), last(b.size() + 1), row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) last[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t changed = last[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            row[j] = std::min({last[j] + 1, row[j - 1] + 1, changed});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) row[j] = std::min(row[j], beforeLast[j - 2] + 1);
        }
        beforeLast.swap(last);
        last.swap(row);
    }
    return last[b.size()];
}

}  // namespace

ScriptError wrongArgumentCount(const std::string& call, std::size_t least, std::size_t most, std::size_t given)
{
    const std::string expected = most == least     ? std::to_string(least)
                                 : most == least + 1 ? std::to_string(least) + " or " + std::to_string(most)
                                                     : std::to_string(least) + " to " + std::to_string(most);
    return ScriptError(call + " expects " + expected + " argument" + (most == 1 && least == 1 ? "" : "s") + ", got " +
                       std::to_string(given));
}

std::optional<std::string> closestName(std::string_view typed, const std::vector<std::string>& known)
{
    // A third of the name may be wrong, one letter at least; a name of one letter has no
    // neighbours (every other letter is as close).
    const std::size_t allowed = std::max<std::size_t>(1, typed.size() / 3);
    const std::string name = lowered(typed);
    std::optional<std::string> best;
    std::size_t bestDistance = allowed + 1;
    for (const std::string& candidate : known) {
        const std::size_t distance = editDistance(name, lowered(candidate));
        if (distance < bestDistance && distance < typed.size()) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

std::string suggestion(std::string_view typed, const std::vector<std::string>& known)
{
    const std::optional<std::string> closest = closestName(typed, known);
    if (!closest) return "";
    return "; did you mean '" + *closest + "'?";
}

}  // namespace rizari::runner
