// The services that read the same on every platform.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace rizari::platform {

void reportError(const char* prefix) { std::perror(prefix); }

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
