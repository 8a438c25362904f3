#ifndef _WIN32

#include "platform/platform.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace rizari::platform {

std::string nativePath(std::string_view path)
{
    std::string out(path);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::optional<std::string> temporaryDirectory()
{
    std::string dir;
    for (const char* name : {"TMP", "TEMP", "TMPDIR"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            dir = value;
            break;
        }
    }
    if (dir.empty()) {
        if (access("/tmp", W_OK) != 0) return std::nullopt;
        dir = "/tmp";
    }
    if (dir.back() != '/' && dir.back() != '\\') dir += '/';
    return dir;
}

std::optional<std::string> uniqueTempName()
{
    const auto dir = temporaryDirectory();
    if (!dir) return std::nullopt;
    std::string name = nativePath(*dir) + "rizariXXXXXX";
    const int fd = mkstemp(name.data());  // creates the file with mode 0600
    if (fd < 0) return std::nullopt;
    close(fd);
    return name;
}

bool fileExists(std::string_view path) { return access(nativePath(path).c_str(), F_OK) == 0; }
bool isWritable(std::string_view path) { return access(nativePath(path).c_str(), W_OK) == 0; }
bool isReadable(std::string_view path) { return access(nativePath(path).c_str(), R_OK) == 0; }

int removeFile(std::string_view path) { return std::remove(nativePath(path).c_str()) == 0 ? 0 : -1; }

void reportError(const char* prefix) { std::perror(prefix); }

void* allocateBlock(std::size_t bytes) noexcept { return std::malloc(bytes); }

void freeBlock(void* block) noexcept { std::free(block); }

const char* getEnv(const char* name) { return std::getenv(name); }

bool putEnv(std::string_view assignment)
{
    // putenv keeps the pointer: the storage is deliberately never freed.
    char* storage = static_cast<char*>(std::malloc(assignment.size() + 1));
    if (!storage) return false;
    std::memcpy(storage, assignment.data(), assignment.size());
    storage[assignment.size()] = '\0';
    return putenv(storage) == 0;
}

bool engineInstalled(std::string_view home)
{
    const std::string h(home);
    return fileExists(h + "/sbin/gnuplot") || fileExists(h + "\\sbin\\gnuplot.exe");
}

std::string engineProgram(std::string_view home)
{
    const std::string own = nativePath(std::string(home) + "/sbin/gnuplot");
    return access(own.c_str(), X_OK) == 0 ? own : std::string("gnuplot");
}

int runAndWait(const std::string& program, const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::fflush(nullptr);  // the child shares our standard output
    pid_t pid = 0;
    const bool onPath = program.find('/') == std::string::npos;
    const int rc = onPath ? posix_spawnp(&pid, program.c_str(), nullptr, nullptr, args.data(), environ)
                          : posix_spawn(&pid, program.c_str(), nullptr, nullptr, args.data(), environ);
    if (rc != 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool setStdoutBinary(bool) { return true; }

bool writeStdout(const void* data, std::size_t size)
{
    std::fflush(stdout);
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = write(STDOUT_FILENO, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace rizari::platform

#endif
