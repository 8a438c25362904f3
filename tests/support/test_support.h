// Helpers shared by the tests: scoped environment variables and directories, file reading,
// capture of standard error and output, and a fake plotting engine that records what it is given.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "rizari/cplot.h"

namespace rizari::test {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path);
void writeFile(const fs::path& path, const std::string& text);

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

// A fresh directory below the system temporary directory, removed with its content.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }
    std::vector<std::string> fileNames() const;  // sorted names of the files in it

private:
    fs::path path_;
};

// Runs a callable and returns what it wrote to standard error (or output).
template <class F> std::string captureStderr(F&& f);
template <class F> std::string captureStdout(F&& f);

// An installation home whose engine is a shell script that records, for each run, its
// arguments, the command script and a copy of every file of the temporary directory. TMP points
// at a private temporary directory for the fixture's lifetime.
class FakeEngine {
public:
    FakeEngine();
    ~FakeEngine();

    std::string home() const { return home_.path().string(); }
    const fs::path& tmpDir() const { return tmp_.path(); }

    int runs() const;                     // how many times the engine was started
    std::string script(int run = -1) const;  // the command script of a run (default: the last)
    std::string args(int run = -1) const;    // its arguments, one per line
    // A file of the temporary directory as the engine saw it (name relative to the directory).
    std::string tmpFileSeen(const std::string& name, int run = -1) const;

    // The script with every temporary file name replaced by a stable placeholder: the
    // temporary directory becomes "$TMP/" and each distinct unique name "<n>" numbered by first
    // appearance, e.g. "$TMP/<1>".
    std::string normalized(const std::string& text) const;
    std::string normalizedScript(int run = -1) const { return normalized(script(run)); }

private:
    fs::path runDir(int run) const;

    TempDir home_;
    TempDir tmp_;
    TempDir capture_;
    ScopedEnv tmpEnv_;
    ScopedEnv tempEnv_;
};

}  // namespace rizari::test

#include <gtest/gtest.h>

namespace rizari::test {

template <class F> std::string captureStderr(F&& f)
{
    testing::internal::CaptureStderr();
    f();
    return testing::internal::GetCapturedStderr();
}

template <class F> std::string captureStdout(F&& f)
{
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    f();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

}  // namespace rizari::test
