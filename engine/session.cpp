// The session's one engine: started by the first plot that needs it, fed one "load" a plot, and
// ended with the process or with the last EngineSession.
#include "engine/session.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <optional>
#include <random>

#include "platform/engine_process.h"
#include "platform/messages.h"
#include "plot/plot_state.h"
#include "rizari/cplot.h"

namespace rizari::session {

namespace {

// The answers the engine gives: its version at its start, and a plot's error number at its end.
constexpr std::string_view kVersion = "version";
constexpr std::string_view kDone = "done";
// Before a plot: no setting, variable, function or error of the plot before it stays.
constexpr const char* kClean = "reset session\nreset errors\n";
// At the end a wxt window stays open until it is closed, held by a process the engine leaves in
// its group.
constexpr const char* kKeepWindows = "set terminal wxt persist\n";
constexpr int kFailedScriptStatus = 1;  // gnuplot's own exit status after an error in its script
// How long a plot may take when RIZARI_PLOT_LIMIT does not say.
constexpr std::chrono::seconds kDefaultPlotLimit{600};

// A marker that no text of a plot can hold: 128 random bits, new for each engine.
std::string newMarker()
{
    std::uint64_t halves[2];
    try {
        std::random_device source;
        for (std::uint64_t& half : halves) half = (std::uint64_t{source()} << 32) ^ source();
    } catch (...) {
        // No source of randomness: the clock and this object's address, still unknown to any plot.
        halves[0] = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        halves[1] = reinterpret_cast<std::uintptr_t>(&halves) ^ static_cast<std::uint64_t>(std::time(nullptr));
    }
    char text[2 * 16 + 1];
    std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(halves[0]),
                  static_cast<unsigned long long>(halves[1]));
    return "rizari-" + std::string(text) + " ";
}

// How long the engine may take over one plot; zero for no limit. RIZARI_PLOT_LIMIT gives it in
// seconds.
std::chrono::milliseconds plotLimit()
{
    constexpr double kLongest = 1e6;  // seconds; a larger number is no limit a clock can wait for
    const std::string text = platform::getEnv("RIZARI_PLOT_LIMIT").value_or("");
    double seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);  // whatever the locale
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !(seconds >= 0) || seconds > kLongest)
        return kDefaultPlotLimit;
    return std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
}

// Whether repeating the terminal lines on an engine that has just drawn with them leaves the
// terminal at every plot command as a fresh engine has it: every cell sets the same options (the
// first group is the plot's terminal, each later one a cell's text options).
bool repeatable(const std::vector<std::string>& lines)
{
    for (std::size_t i = 2; i < lines.size(); ++i)
        if (lines[i] != lines[1]) return false;
    return true;
}

// The working folder, which the engine takes at its start; empty when it cannot be told.
std::string workingFolder()
{
    std::error_code error;
    const auto folder = std::filesystem::current_path(error);
    return error ? std::string() : folder.string();
}

class Session {
public:
    ~Session()
    {
        try {
            end(windows_);
        } catch (...) {
            // Nothing is left to tell it to: the engine ends when its channel closes with the process.
        }
    }

    void prepare(const std::string& program)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (program != withoutChannel_) startFor(program);
    }

    int majorVersion(const std::string& program)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (program == withoutChannel_ || !startFor(program)) return 0;
        if (!version_ && !awaitAnswer(0, startMessages_) && !interrupted_) giveUpChannel(program);
        return version_.value_or(0);
    }

    std::optional<platform::RunResult> run(const std::string& program, const Job& job)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (program == withoutChannel_) return std::nullopt;
        if (!reusableFor(program, job)) {
            if (windows_ && !job.window && engine_.running()) return std::nullopt;  // a fresh engine would close them
            finishEngine(false);
        }
        if (!startFor(program)) return platform::RunResult{platform::RunResult::End::NotStarted, errno, {}};
        noteEffects(job);
        const int sequence = ++sent_;
        std::string commands = kClean;
        ScriptWriter(commands).print("load \"%q\"\n", job.script);
        commands += afterScriptCommand(sequence);
        std::string messages = std::exchange(startMessages_, {});
        const bool sent = engine_.send(commands);  // false: it ended
        const std::optional<int> errorNumber = sent ? awaitAnswer(sequence, messages) : std::nullopt;
        if (interrupted_) return platform::RunResult{platform::RunResult::End::Interrupted, SIGTERM, std::move(messages)};
        if (!errorNumber && answered_ == 0) {
            giveUpChannel(program);
            return std::nullopt;
        }
        if (!sent) return withMessages(engine_.stop(), std::move(messages));
        if (!errorNumber) return withMessages(engine_.end(), std::move(messages));
        return platform::RunResult{platform::RunResult::End::Exited, *errorNumber == 0 ? 0 : kFailedScriptStatus, std::move(messages)};
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
        folder_ = workingFolder();
        if (!engine_.start(program, {"gnuplot", platform::EngineProcess::kCommandFile})) return false;
        program_ = program;
        marker_ = newMarker();
        sent_ = 0;
        answered_ = 0;
        engine_.send(answerCommand(0, kVersion, "GPVAL_VERSION"));
        return true;
    }

    // An engine that ended before its first answer could not read its command channel (a system
    // without /dev/fd, such as a bare chroot): the program's plots run a gnuplot of their own from
    // now on, and what the engine said about its channel is no plot's business.
    void giveUpChannel(const std::string& program)
    {
        withoutChannel_ = program;
        startMessages_.clear();
        if (engine_.running()) engine_.finish(false, plotLimit());  // its last words are about the channel too
        finishEngine(false);
    }

    // Whether the running engine draws this plot as a fresh one would.
    bool reusableFor(const std::string& program, const Job& job) const
    {
        if (program != program_ || tainted_ || workingFolder() != folder_) return false;
        if (job.window || !fileTerminal_) return true;
        return repeatable(*fileTerminal_) && *fileTerminal_ == job.effects.terminalLines;
    }

    // A file plot's terminal lines stay with the file terminal; a window plot's go to the window's
    // own terminal. Code of a caller can have set anything.
    void noteEffects(const Job& job)
    {
        if (!job.window) fileTerminal_ = job.effects.terminalLines;
        tainted_ = tainted_ || job.effects.callerCode;
        windows_ = windows_ || job.window;
    }

    // The command that has the engine print the marker, the answer's number, its kind and the value.
    std::string answerCommand(int sequence, std::string_view kind, std::string_view value) const
    {
        return "print \"" + marker_ + std::to_string(sequence) + " " + std::string(kind) + " \", " + std::string(value) + "\n";
    }

    // After a plot, on lines of their own: its error state is kept, a multiplot it left open is
    // ended (only one that is open, so that no version has cause to warn), its output file is
    // closed, and the answer goes to standard error.
    std::string afterScriptCommand(int sequence) const
    {
        return "RIZARI_ERRNO = GPVAL_ERRNO\n"
               "if (exists(\"GPVAL_MULTIPLOT\") && GPVAL_MULTIPLOT) { unset multiplot }\n"
               "unset output\n"
               "set print\n" +
               answerCommand(sequence, kDone, "RIZARI_ERRNO");
    }

    // Reads the engine's messages into `messages` up to its answer number `sequence` and returns
    // the number it gives. The answers come in order; one out of order ends the engine. None when
    // the engine ended, outlasted the limit, or a signal stopped the wait (the engine is then
    // ended: interrupted_).
    std::optional<int> awaitAnswer(int sequence, std::string& messages)
    {
        interrupted_ = false;
        const std::chrono::milliseconds limit = plotLimit();
        while (answered_ <= sequence) {
            std::string line;
            const auto read = engine_.readUntil(marker_, messages, line, limit);
            if (read == platform::EngineProcess::Read::Interrupted) {
                interrupted_ = true;
                engine_.stop();
                return std::nullopt;
            }
            if (read != platform::EngineProcess::Read::Marker) return std::nullopt;
            const std::optional<int> value = answerValue(line, answered_);
            if (!value) {
                engine_.stop();
                return std::nullopt;
            }
            if (answered_++ == 0) version_ = *value;
            if (answered_ > sequence) return value;
        }
        return std::nullopt;
    }

    // The value of an answer line "N KIND VALUE" that has the expected number; none for another.
    static std::optional<int> answerValue(const std::string& line, int expected)
    {
        int number = -1, value = 0;
        const char* end = line.data() + line.size();
        const auto [afterNumber, numberError] = std::from_chars(line.data(), end, number);
        if (numberError != std::errc() || number != expected) return std::nullopt;
        const std::size_t valueStart = line.rfind(' ');
        if (valueStart == std::string::npos) return std::nullopt;
        std::from_chars(line.data() + valueStart + 1, end, value);
        return value;
    }

    void finishEngine(bool waitForWindows)
    {
        if (engine_.running() && answered_ <= sent_) awaitAnswer(sent_, startMessages_);  // answers are no messages
        if (engine_.running()) {
            const bool keepWindows = waitForWindows && windows_;
            if (keepWindows) engine_.send(kKeepWindows);
            report(engine_.finish(keepWindows, plotLimit()).errors);
        }
        report(std::exchange(startMessages_, {}));
        version_.reset();
        fileTerminal_.reset();
        tainted_ = false;
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
    std::string withoutChannel_;  // a program whose engine cannot read its command channel
    std::string folder_;   // the working folder it started in
    std::string marker_;   // begins each of its answers
    int sent_ = 0;         // the number of the latest answer asked for (0: the version)
    int answered_ = 0;     // how many answers were read
    std::optional<int> version_;  // what the engine said at its start
    std::string startMessages_;   // what it wrote before that, told with the next plot
    std::optional<std::vector<std::string>> fileTerminal_;  // the terminal lines of its latest file plot
    bool tainted_ = false;  // it ran a caller's code
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
// useEngineSession(): 1 on, 0 off, -1 not called (the environment decides).
std::atomic<int> chosen{-1};

}  // namespace

bool forFiles()
{
    if (!platform::kEngineProcesses) return false;
    if (liveSessions.load() > 0) return true;
    if (chosen.load() >= 0) return chosen.load() == 1;
    return platform::getEnv("RIZARI_SESSION") != "0";
}

bool forWindows(bool asked)
{
    if (!platform::kEngineProcesses) return false;
    return asked || liveSessions.load() > 0 || (chosen.load() != 0 && platform::getEnv("RIZARI_SESSION") == "1");
}

void prepare(const std::string& program) { theSession().prepare(program); }

int majorVersion(const std::string& program) { return theSession().majorVersion(program); }

std::optional<platform::RunResult> run(const std::string& program, const Job& job) { return theSession().run(program, job); }

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

void useEngineSession(bool on) noexcept
{
    session::chosen = on ? 1 : 0;
    if (on) return;
    try {
        session::theSession().end(false);
    } catch (...) {
        // The engine could not be ended here; it ends with the process.
    }
}

void CPlot::liveWindow(int flag)
{
    if (flag != 0 && flag != 1) {
        report("CPlot::liveWindow(): invalid parameter\n");
        return;
    }
    impl_->state.output.liveWindow = flag == 1;
}

}  // namespace rizari
