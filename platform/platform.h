// The few operating system services the library needs. One implementation per platform:
// platform_posix.cpp here, platform_windows.cpp with the Windows runtime's own calls.
// A backslash in a path handed to these functions is a directory separator on every platform.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rizari::platform {

// The path with every backslash turned into the platform's separator.
std::string nativePath(std::string_view path);

// The temporary directory with a separator at its end: TMP, else TEMP, else (POSIX) TMPDIR, else
// the platform's writable default; none when there is no usable one.
std::optional<std::string> temporaryDirectory();

// A new unique file name in the temporary directory. The file is created at once (empty, readable
// and writable only by the user), so no existing file can ever be reused. None on failure.
std::optional<std::string> uniqueTempName();

bool fileExists(std::string_view path);
bool isWritable(std::string_view path);  // exists and may be written
bool isReadable(std::string_view path);

// Removes the file; 0 on success, -1 with errno set on failure.
int removeFile(std::string_view path);

// Writes "prefix: <system error text>\n" to standard error for the current errno, as perror does.
void reportError(const char* prefix);

// A block of memory for data values, not zero-filled; null when it cannot be had. Released with
// freeBlock, which gives large blocks back to the system at once.
void* allocateBlock(std::size_t bytes) noexcept;
void freeBlock(void* block) noexcept;

// Environment.
const char* getEnv(const char* name);
// Puts "NAME=value" into the process environment; the storage stays allocated because the
// environment keeps using it. False when the storage cannot be had.
bool putEnv(std::string_view assignment);

// The engine program under an installation home, and whether the engine is installed there.
// The probe names are home + "/sbin/gnuplot" and home + "\sbin\gnuplot.exe".
bool engineInstalled(std::string_view home);
std::string engineProgram(std::string_view home);

// Starts the program with the arguments (argv[0] included) and waits until it exits. The child
// inherits standard input, output and error. Returns its exit status, -1 when it did not start.
int runAndWait(const std::string& program, const std::vector<std::string>& argv);

// Switches standard output between binary (true) and text mode; nothing to do on POSIX.
bool setStdoutBinary(bool binary);

// Writes bytes to standard output unbuffered and unchanged, after flushing what stdio buffered.
bool writeStdout(const void* data, std::size_t size);

}  // namespace rizari::platform
