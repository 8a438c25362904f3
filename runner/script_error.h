// An error in the script itself: reported as "rizari: FILE:LINE: message", exit status 2.
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace rizari::runner {

struct ScriptError : std::runtime_error {
    explicit ScriptError(const std::string& message) : std::runtime_error(message) {}

    std::size_t line = 0;  // of the script, from 1; 0 until the statement that failed is known
};

// "CALL expects N arguments, got GIVEN", N written as "2", "2 or 3" or "1 to 4".
ScriptError wrongArgumentCount(const std::string& call, std::size_t least, std::size_t most, std::size_t given);

// The known name that a mistyped one most likely meant: the first of those fewest edits away
// (a letter added, dropped, changed, or two neighbours swapped; case ignored), when they are few
// for the name's length. None when no name is that close.
std::optional<std::string> closestName(std::string_view typed, const std::vector<std::string>& known);

// "; did you mean 'NAME'?" for the closest known name, or "".
std::string suggestion(std::string_view typed, const std::vector<std::string>& known);

}  // namespace rizari::runner
