// Helpers shared by the tests: scoped environment variables and folders, file reading, capture
// of standard error and output, and a fake plotting engine that records what it is given.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace rizari::test {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path);
void writeFile(const fs::path& path, const std::string& text);

// A path of the build (RIZARI_SOURCE_DIR and the like), absolute in the platform's form: on
// Windows a path from the root names the current drive, which a test may change.
std::string buildPath(const char* path);
// A path as the library takes it: UTF-8.
std::string utf8(const fs::path& path);

// The tests that draw with the real gnuplot: makes home/sbin/gnuplot the engine that
// RIZARI_GNUPLOT names, else leaves gnuplot on PATH to the library; false when there is none. The
// command that runs the same engine.
bool chooseRealEngine(const fs::path& home);
std::string realEngineCommand(const fs::path& home);

// Sets (or, with nullopt, unsets) an environment variable and restores it on destruction.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::optional<std::string>& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// A fresh folder below the system's temporary folder, removed with its content.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }
    bool empty() const { return fs::is_empty(path_); }

private:
    fs::path path_;
};

// Starts GoogleTest's capture of standard output or error (on Windows in the first TMP folder: a
// test may have pointed TMP anywhere).
void startCapture(bool output);

// Runs a callable and returns what it wrote to standard error (or output).
template <class F> std::string captureStderr(F&& f)
{
    startCapture(false);
    f();
    return testing::internal::GetCapturedStderr();
}

template <class F> std::string captureStdout(F&& f)
{
    std::fflush(stdout);
    startCapture(true);
    f();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

// An interpreter home whose engine is tests/fake_engine.cpp, a private temporary folder (TMP, with
// TEMP unset) and the folder the engine records its runs in. ZUHOME is left alone. Every plot runs
// an engine of its own (RIZARI_SESSION=0), one run of the fake engine each.
class FakeEngine {
public:
    FakeEngine();

    // The engine program of an installation home, where the library looks for it.
    static fs::path engineIn(const fs::path& home);
    // Puts the fake engine at this file name (a link to it; on Windows a copy).
    static void install(const fs::path& file);

    std::string home() const { return utf8(home_.path()); }
    fs::path engine() const { return engineIn(home_.path()); }
    const fs::path& tmpDir() const { return tmp_.path(); }
    // The files in the temporary folder, those in the process's private folders there included.
    long temporaryFiles() const;

    int runs() const;
    int versionQuestions() const;  // how often the engine was asked its version
    std::string args(int run = -1) const;    // one per line; run -1 is the latest
    std::string script(int run = -1) const;
    // Every run: its arguments, its command script and each temporary file new or changed since
    // the run before, with temporary names normalised ("$TMP/<n>", numbered by first appearance).
    std::string transcript();
    // The text with each temporary name replaced as in transcript(), however the folder is spelt.
    std::string normalized(const std::string& text);

    fs::path runDir(int run) const;  // the folder of a run's records

private:
    TempDir home_;
    TempDir tmp_;
    TempDir capture_;
    ScopedEnv tmpEnv_;
    ScopedEnv tempEnv_;
    ScopedEnv captureEnv_;
    ScopedEnv sessionEnv_;
    std::map<std::string, int> names_;
};

}  // namespace rizari::test
