// A stand-in for gnuplot that the tests install as an interpreter home's engine. Each run is
// recorded in a new folder RIZARI_FAKE_CAPTURE/<n>: "args" (one argument per line, the program
// name left out), "script" (a copy of the command script) and "tmp/" (a copy of every file of the
// temporary directory TMP and its folders as they were when the engine ran).
//
// Behaviour on request, for the tests of failures and of the window:
//   RIZARI_FAKE_EXIT=N    exit with status N
//   RIZARI_FAKE_STDERR=T  write the text T to standard error
//   RIZARI_FAKE_SLEEP=S   sleep S seconds before exiting
//   RIZARI_FAKE_STDIN=S   wait up to S seconds for standard input to end, and record in the run's
//                         folder "input" whether it "ended" or was "held" open
//   RIZARI_FAKE_VERSION=V the version it answers to --version (5.4 when unset); each question adds a
//                         line to RIZARI_FAKE_CAPTURE/versions instead of a run
//   RIZARI_FAKE_IMAGE=1   write a small binary PNG "image" (with CR and LF bytes, and the end
//                         chunk) to the file named by the script's "set output" line; "cut"
//                         writes it without its end chunk, as a full disk would; "empty" leaves
//                         the file empty
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define read _read
#else
#include <unistd.h>
#endif

#include "platform/unicode.h"

namespace fs = std::filesystem;
using rizari::unicode::utf8Path;

namespace {

std::string env(const char* name) { return rizari::unicode::environment(name).value_or(""); }

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The file named by the last "set output" line, as gnuplot reads it (doubled backslashes undone).
std::string outputFile(const std::string& script)
{
    std::string name;
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        const std::string prefix = "set output \"";
        if (line.rfind(prefix, 0) != 0) continue;
        name.clear();
        for (std::size_t i = prefix.size(); i < line.size() && line[i] != '"'; ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) ++i;
            name += line[i];
        }
    }
    return name;
}

}  // namespace

// Whether standard input ends within the time (a window's engine reads it to the end).
bool inputEnds(double seconds)
{
    std::atomic<bool> ended{false};
    std::thread reader([&] {
        // The descriptor itself: a stdio stream would hold its lock while the read blocks.
        char buffer[256];
        while (read(0, buffer, sizeof buffer) > 0) {
        }
        ended = true;
    });
    reader.detach();  // left blocked on a held input when the time is up
    for (double waited = 0; waited < seconds && !ended; waited += 0.05)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return ended;
}

int main(int argc, char** argv)
{
    const std::vector<std::string> args = rizari::unicode::arguments(argc, argv);
    if (args.size() == 2 && args[1] == "--version") {
        const std::string version = env("RIZARI_FAKE_VERSION");
        std::printf("gnuplot %s patchlevel 0\n", version.empty() ? "5.4" : version.c_str());
        if (const std::string capture = env("RIZARI_FAKE_CAPTURE"); !capture.empty())
            std::ofstream(utf8Path(capture) / "versions", std::ios::app) << "asked\n";
        return 0;
    }
    const std::string script = args.size() > 1 ? readAll(utf8Path(args[1])) : "";
    fs::path dir;
    if (const std::string capture = env("RIZARI_FAKE_CAPTURE"); !capture.empty()) {
        int run = 0;  // engines that run at the same time each get a folder of their own
        while (!fs::create_directory(utf8Path(capture) / std::to_string(run))) ++run;
        dir = utf8Path(capture) / std::to_string(run);
        fs::create_directories(dir / "tmp");
        std::ofstream record(dir / "args", std::ios::binary);
        for (std::size_t i = 1; i < args.size(); ++i) record << args[i] << '\n';
        std::ofstream(dir / "script", std::ios::binary) << script;
        std::string tmp = env("TMP");
        if (tmp.empty()) tmp = env("TEMP");
        std::error_code error;
        // The files of the temporary folder and of the private folders in it, in their folders;
        // one folder open at a time, so that a run with few descriptors left copies them too.
        std::vector<fs::path> folders;
        if (!tmp.empty()) folders.push_back(utf8Path(tmp));
        for (std::size_t i = 0; i < folders.size(); ++i) {
            const fs::path copies = dir / "tmp" / folders[i].lexically_relative(utf8Path(tmp));
            fs::create_directories(copies, error);
            for (const auto& entry : fs::directory_iterator(folders[i], error)) {
                if (entry.is_directory()) folders.push_back(entry.path());
                else if (entry.is_regular_file()) fs::copy_file(entry.path(), copies / entry.path().filename(), error);
            }
        }
    }
    if (const std::string image = env("RIZARI_FAKE_IMAGE"); !image.empty()) {
        const std::string start("\x89PNG\r\n\x1a\n\0\n\r\n\n\xff", 14);
        const std::string end("\0\0\0\0IEND\xae\x42\x60\x82", 12);
        if (const std::string file = outputFile(script); !file.empty())
            std::ofstream(utf8Path(file), std::ios::binary) << (image == "1" ? start + end : image == "cut" ? start : "");
    }
    if (const std::string seconds = env("RIZARI_FAKE_SLEEP"); !seconds.empty())
        std::this_thread::sleep_for(std::chrono::duration<double>(std::atof(seconds.c_str())));
    if (const std::string seconds = env("RIZARI_FAKE_STDIN"); !seconds.empty()) {
        const bool ended = inputEnds(std::atof(seconds.c_str()));
        if (!dir.empty()) std::ofstream(dir / "input") << (ended ? "ended" : "held");
    }
    std::fputs(env("RIZARI_FAKE_STDERR").c_str(), stderr);
    std::fflush(stdout);
    std::_Exit(std::atoi(env("RIZARI_FAKE_EXIT").c_str()));
}
