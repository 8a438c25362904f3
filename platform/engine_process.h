// A program that runs beside the library for many commands: it reads them from a channel of its
// own (descriptor 3, which it opens as kCommandFile), not from its standard input, which is the
// null device, so nothing it runs can read our commands or wait at a prompt; it writes its
// messages into a pipe that we read; its standard output is ours. It runs in a process group of
// its own, so that ending it also ends what it left behind (a window kept open after its end),
// and a terminal's Ctrl+C reaches only us, who then end it.
//
// POSIX only (kEngineProcesses): on Windows start() fails and the library runs one engine per plot.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace rizari::platform {

#ifdef _WIN32
inline constexpr bool kEngineProcesses = false;
#else
inline constexpr bool kEngineProcesses = true;
#endif

class EngineProcess {
public:
    // The file name under which the program finds its command channel: an argument to give it.
    static constexpr const char* kCommandFile = "/dev/fd/3";

    EngineProcess();
    ~EngineProcess();  // stop()
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    // Starts the program with the arguments (argv[0] included); false, with errno set, when it
    // could not be started (or one runs already).
    bool start(const std::string& program, const std::vector<std::string>& argv);
    // Started by this process and not yet found ended.
    bool running() const;
    // Whether it has ended by itself since it was started (it is reaped then: no zombie).
    bool endedByItself();
    // The end of a program that endedByItself(), readUntil() found gone or finish() waited for.
    const RunResult& end() const { return end_; }

    // Writes the text whole to its command channel; false when the program no longer reads (no
    // signal is raised).
    bool send(std::string_view text);

    // Reads the program's messages up to the next line that starts with the marker: the messages
    // before it are appended to `before`, the rest of the line (without its line end) is `line`.
    enum class Read { Marker, Ended, Interrupted, TimedOut };
    // Ended: the program closed its messages (it ended; reaped, see end()). Interrupted: a signal
    // whose handler was installed without SA_RESTART arrived (the program is left running).
    // TimedOut: no such line came within the limit (a zero limit waits for ever); the program and
    // its group were then ended and reaped.
    Read readUntil(std::string_view marker, std::string& before, std::string& line, std::chrono::milliseconds limit);

    // Closes its command channel, collects its last messages and waits until it ends; with the
    // group also until every process it left in its group has ended (a signal stops that wait and
    // ends them). Without the group, a program still there after the limit (a stopped one, say)
    // is ended with its group; a zero limit waits for ever.
    const RunResult& finish(bool waitForGroup, std::chrono::milliseconds limit = {});
    // Ends it and its group at once and reaps it.
    const RunResult& stop();

private:
    class GroupWatch;

    void closeChannels();
    void reap(bool interruptible);
    // readUntil() without its limit; Ended leaves the program to be reaped.
    Read readMarkerLine(std::string_view marker, std::string& before, std::string& line);

    int pid_ = -1;
    int owner_ = -1;  // the process that started it: a forked copy of ours leaves it alone
    int input_ = -1;
    int messages_ = -1;
    std::string pending_;  // read past the last marker line
    RunResult end_{RunResult::End::NotStarted, 0, {}};
    std::unique_ptr<GroupWatch> watch_;  // made at the first wait with a limit
};

}  // namespace rizari::platform
