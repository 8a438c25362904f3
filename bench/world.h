// A private folder for one benchmark run, removed with its content at the end: the temporary
// folder of the plots (TMP points at it) and an interpreter home whose engine returns at once
// (sbin/gnuplot is a link to /bin/true), so that only the library's own work is measured.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace rizari::bench {

namespace fs = std::filesystem;

class World {
public:
    World()
    {
        std::string pattern = (fs::temp_directory_path() / "rizari-bench-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        fs::create_directories(tmp());
        fs::create_directories(fakeHome() / "sbin");
        fs::create_symlink("/bin/true", fakeHome() / "sbin" / "gnuplot");
        setenv("TMP", tmp().c_str(), 1);
    }
    ~World()
    {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    const fs::path& root() const { return root_; }
    fs::path tmp() const { return root_ / "tmp"; }
    fs::path fakeHome() const { return root_ / "fake-home"; }

private:
    fs::path root_;
};

}  // namespace rizari::bench
