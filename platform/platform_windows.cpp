#ifdef _WIN32

#include "platform/platform.h"

#include <fcntl.h>
#include <io.h>
#include <process.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace rizari::platform {

std::string nativePath(std::string_view path) { return std::string(path); }

namespace {

bool writableDirectory(const char* dir) { return _access(dir, 2) == 0; }

}  // namespace

std::optional<std::string> temporaryDirectory()
{
    std::string dir;
    if (const char* tmp = std::getenv("TMP")) dir = tmp;
    else if (const char* temp = std::getenv("TEMP")) dir = temp;
    else if (writableDirectory("C:\\WINDOWS\\TEMP")) dir = "C:\\WINDOWS\\TEMP";
    else if (writableDirectory("C:\\WINNT\\TEMP")) dir = "C:\\WINNT\\TEMP";
    else return std::nullopt;
    if (dir.empty() || (dir.back() != '\\' && dir.back() != '/')) dir += '\\';
    return dir;
}

std::optional<std::string> uniqueTempName()
{
    char name[260];
    if (tmpnam_s(name, sizeof name) != 0) return std::nullopt;
    return std::string(name);
}

bool fileExists(std::string_view path) { return _access(std::string(path).c_str(), 0) == 0; }
bool isWritable(std::string_view path) { return _access(std::string(path).c_str(), 2) == 0; }
bool isReadable(std::string_view path) { return _access(std::string(path).c_str(), 4) == 0; }

int removeFile(std::string_view path) { return std::remove(std::string(path).c_str()) == 0 ? 0 : -1; }

void* allocateBlock(std::size_t bytes) noexcept { return std::malloc(bytes); }

void freeBlock(void* block) noexcept { std::free(block); }

const char* getEnv(const char* name) { return std::getenv(name); }

bool putEnv(std::string_view assignment)
{
    char* storage = static_cast<char*>(std::malloc(assignment.size() + 1));
    if (!storage) return false;
    std::memcpy(storage, assignment.data(), assignment.size());
    storage[assignment.size()] = '\0';
    return _putenv(storage) == 0;
}

bool engineInstalled(std::string_view home)
{
    const std::string h(home);
    return fileExists(h + "/sbin/gnuplot") || fileExists(h + "\\sbin\\gnuplot.exe");
}

std::string engineProgram(std::string_view home) { return std::string(home) + "\\sbin\\wgnuplot.exe"; }

int runAndWait(const std::string& program, const std::vector<std::string>& argv)
{
    std::vector<const char*> args;
    for (const auto& a : argv) args.push_back(a.c_str());
    args.push_back(nullptr);
    std::fflush(nullptr);
    return static_cast<int>(_spawnv(_P_WAIT, program.c_str(), args.data()));
}

bool setStdoutBinary(bool binary)
{
    std::fflush(stdout);
    return _setmode(_fileno(stdout), binary ? _O_BINARY : _O_TEXT) != -1;
}

bool writeStdout(const void* data, std::size_t size)
{
    std::fflush(stdout);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    return std::fwrite(data, 1, size, stdout) == size;
}

}  // namespace rizari::platform

#endif
