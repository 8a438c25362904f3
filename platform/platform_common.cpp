// The services that read the same on every platform.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/platform.h"

namespace rizari::platform {

void reportError(const char* prefix) { std::perror(prefix); }

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

bool keepTemporaryFiles()
{
    const char* keep = getEnv("RIZARI_KEEP");
    return keep && std::strcmp(keep, "1") == 0;
}

void reportWriteError(const std::string& name)
{
    std::fprintf(stderr, "Error: cannot write file \"%s\": %s\n", name.c_str(), std::strerror(errno));
}

}  // namespace rizari::platform
