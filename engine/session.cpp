// The session's one engine: started by the first plot that needs it, fed one "load" a plot, and
// ended with the process or with the last EngineSession.
#include "engine/session.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <optional>

#include "platform/engine_process.h"
#include "platform/messages.h"
#include "rizari/cplot.h"
#include "script/script_writer.h"

namespace rizari::session {

namespace {

// Every line the engine writes for the session starts with the marker; the lines before it are
// the engine's own messages.
constexpr std::string_view kMarker = "rizari-session: ";
constexpr std::string_view kVersion = "version";
constexpr std::string_view kDone = "done";
// Before a plot: no setting, variable, function or error of the plot before it stays.
constexpr const char* kClean = "reset session\nreset errors\n";
// At the end a wxt window stays open until it is closed, held by a process the engine leaves in
// its group.
constexpr const char* kKeepWindows = "set terminal wxt persist\n";
constexpr int kFailedScriptStatus = 1;  // gnuplot's own exit status after an error in its script

// The command that has the engine print the marker, the answer's kind and the value.
std::string answerCommand(std::string_view kind, std::string_view value)
{
    return "print \"" + std::string(kMarker) + std::string(kind) + " \", " + std::string(value) + "\n";
}

// At its start the engine tells its version.
std::string announceCommand() { return answerCommand(kVersion, "GPVAL_VERSION"); }

// After a plot, on lines of their own (an error in the loaded script drops the rest of the line
// that loaded it): its error state is kept, a multiplot it left open is ended (only one that is
// open, so that no version has cause to warn), its output file is closed, and the answer goes to
// standard error whatever the script did with "set print".
std::string afterScriptCommand()
{
    return "RIZARI_ERRNO = GPVAL_ERRNO\n"
           "if (exists(\"GPVAL_MULTIPLOT\") && GPVAL_MULTIPLOT) { unset multiplot }\n"
           "unset output\n"
           "set print\n" +
           answerCommand(kDone, "RIZARI_ERRNO");
}

// Whether repeating the terminal lines on an engine that has just read them leaves every
// terminal as a fresh engine would have it at each plot command: the lines after the first
// "set termoption enhanced" (every cell writes its text options starting with it) must repeat the
// first cell's.
bool repeatable(const std::string& lines)
{
    constexpr std::string_view kCellStart = "set termoption enhanced\n";
    const std::size_t first = lines.find(kCellStart);
    if (first == std::string::npos) return true;
    const std::size_t next = lines.find(kCellStart, first + 1);
    if (next == std::string::npos) return true;
    const std::string group = lines.substr(first, next - first);
    for (std::size_t at = next; at < lines.size(); at += group.size())
        if (lines.compare(at, group.size(), group) != 0) return false;
    return true;
}

class Session {
public:
    ~Session()
    {
        try {
            end(platform::getEnv("RIZARI_SESSION") == "1");
        } catch (...) {
            // Nothing is left to tell it to: the engine ends when its input closes with the process.
        }
    }

    void prepare(const std::string& program)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        startFor(program);
    }

    int majorVersion(const std::string& program)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!startFor(program)) return 0;
        if (!version_) awaitAnswer(kVersion, startMessages_);
        return version_.value_or(0);
    }

    platform::RunResult run(const std::string& program, const Job& job)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!job.window && fileTerminal_ && (*fileTerminal_ != job.terminalLines || !repeatable(job.terminalLines)))
            finishEngine(false);
        if (!startFor(program)) return {platform::RunResult::End::NotStarted, errno, {}};
        if (!job.window) fileTerminal_ = job.terminalLines;
        windows_ = windows_ || job.window;
        std::string commands = kClean;
        ScriptWriter(commands).print("load \"%q\"\n", job.script);
        commands += afterScriptCommand();
        std::string messages = std::exchange(startMessages_, {});
        if (!engine_.send(commands)) return withMessages(engine_.stop(), std::move(messages));  // it ended
        const std::optional<int> errorNumber = awaitAnswer(kDone, messages);
        if (interrupted_) return {platform::RunResult::End::Interrupted, SIGTERM, std::move(messages)};
        if (!errorNumber) return withMessages(engine_.end(), std::move(messages));
        return {platform::RunResult::End::Exited, *errorNumber == 0 ? 0 : kFailedScriptStatus, std::move(messages)};
    }

    // Ends the engine; with waitForWindows only once the windows it drew are closed.
    void end(bool waitForWindows)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        finishEngine(waitForWindows);
    }

private:
    // The engine for the program runs (a dead one, or one of another program, is replaced);
    // false, with errno set, when it cannot be started.
    bool startFor(const std::string& program)
    {
        engine_.endedByItself();
        if (engine_.running() && program == program_) return true;
        finishEngine(false);
        if (!engine_.start(program, {"gnuplot"})) return false;
        program_ = program;
        engine_.send(announceCommand());
        return true;
    }

    // Reads the engine's messages into `messages` up to its next answer of this kind and returns
    // the number it gives; none when the engine ended or a signal stopped the wait (the engine
    // is then ended: interrupted_).
    std::optional<int> awaitAnswer(std::string_view kind, std::string& messages)
    {
        interrupted_ = false;
        for (std::string line;;) {
            const auto read = engine_.readUntil(kMarker, messages, line);
            if (read == platform::EngineProcess::Read::Interrupted) {
                interrupted_ = true;
                engine_.stop();
                return std::nullopt;
            }
            if (read == platform::EngineProcess::Read::Ended) return std::nullopt;
            const std::string_view answer(line);
            const int number = std::atoi(line.c_str() + std::min(line.size(), answer.find(' ')));
            if (answer.starts_with(kVersion)) version_ = number;
            if (answer.starts_with(kind)) return number;
        }
    }

    void finishEngine(bool waitForWindows)
    {
        if (engine_.running()) {
            const bool keepWindows = waitForWindows && windows_;
            if (keepWindows) engine_.send(kKeepWindows);
            report(engine_.finish(keepWindows).errors);
        }
        report(std::exchange(startMessages_, {}));
        version_.reset();
        fileTerminal_.reset();
        windows_ = false;
    }

    static platform::RunResult withMessages(platform::RunResult end, std::string messages)
    {
        end.errors = std::move(messages) + end.errors;
        return end;
    }

    std::mutex mutex_;
    platform::EngineProcess engine_;
    std::string program_;
    std::optional<int> version_;             // what the engine said at its start
    std::string startMessages_;              // what it wrote before that, told with the next plot
    std::optional<std::string> fileTerminal_;  // the terminal lines of its latest file plot
    bool windows_ = false;  // it drew into a window
    bool interrupted_ = false;
};

Session& theSession()
{
    static Session session;
    return session;
}

std::atomic<int> liveSessions{0};
std::atomic<int> lastWindow{0};

}  // namespace

bool active()
{
    if (!platform::kEngineProcesses) return false;
    return liveSessions.load() > 0 || platform::getEnv("RIZARI_SESSION") == "1";
}

void prepare(const std::string& program) { theSession().prepare(program); }

int majorVersion(const std::string& program) { return theSession().majorVersion(program); }

platform::RunResult run(const std::string& program, const Job& job) { return theSession().run(program, job); }

std::string terminalLinesOf(const std::string& script)
{
    const std::string text = platform::fileHead(script, SIZE_MAX).value_or("");
    std::string lines;
    // "set term" starts both "set terminal" and "set termoption".
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        if (text.compare(start, 8, "set term") == 0) lines.append(text, start, end + 1 - start);
    }
    return lines;
}

int newWindow() { return ++lastWindow; }

}  // namespace rizari::session

namespace rizari {

EngineSession::EngineSession() noexcept { ++session::liveSessions; }

EngineSession::~EngineSession()
{
    try {
        if (--session::liveSessions == 0) session::theSession().end(false);
    } catch (...) {
        // The engine could not be ended here; it ends with the process.
    }
}

}  // namespace rizari
