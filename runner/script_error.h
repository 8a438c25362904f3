// An error in the script itself: reported as "rizari: FILE:LINE: message", exit status 2.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace rizari::runner {

struct ScriptError : std::runtime_error {
    explicit ScriptError(const std::string& message) : std::runtime_error(message) {}

    std::size_t line = 0;  // of the script, from 1; 0 until the statement that failed is known
};

}  // namespace rizari::runner
