// Small POSIX pieces shared by the engine runs (platform_posix.cpp) and the session's engine
// process (engine_process.cpp): closing a descriptor once, the argument vector of posix_spawn, and
// reading a pipe to its end.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

namespace rizari::platform::posix {

inline void closeEnd(int& end)
{
    if (end >= 0) close(end);
    end = -1;
}

// The arguments as posix_spawn takes them: pointers into `argv`, ended by a null pointer.
inline std::vector<char*> argvPointers(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    return args;
}

// Reads the pipe to its end into `out`; false when a signal interrupted the read.
inline bool readToEnd(int from, std::string& out)
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(from, buffer, sizeof buffer);
        if (n == 0) return true;
        if (n < 0) return errno != EINTR;
        try {
            out.append(buffer, static_cast<std::size_t>(n));
        } catch (...) {
            // Without memory to keep the text the program still runs to its end.
        }
    }
}

}  // namespace rizari::platform::posix
