// An error in the script itself: reported as "rizari: FILE:LINE: message", exit status 2.
#pragma once

#include <stdexcept>
#include <string>

namespace rizari::runner {

struct ScriptError : std::runtime_error {
    explicit ScriptError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace rizari::runner
