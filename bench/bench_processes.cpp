// Whole processes, each started afresh for every repetition: the wall time from its start to its
// exit, and its peak resident set (ru_maxrss of the child, which also covers the engine it ran).
// Every case makes the same sine points (x = linspace(0, 100, n), y = sin x) and writes them:
//   fprintf, to_chars        bare loops writing the lines to a file (bench_peer)
//   rizari-api               the C++ API: data2D and plotting() (bench_peer)
//   rizari-runner            the runner on a four-line script
//   gnuplot-iostream         "plot '-'" and send1d into the pipe of a gnuplot (bench_peer)
// with engines that return at once (the rizari cases) or read their input to the end and drop it
// (gnuplot-iostream). Then the end-to-end time of the runner's script drawing an 800 x 600
// pngcairo image with the real gnuplot, against gnuplot alone drawing it from the same command
// script and data file, prepared beforehand. Last, many plots: a script of 30 small plots run by
// default (one gnuplot for the process) and with an engine per plot (--no-session), against the
// floor, one gnuplot loading the 30 command scripts that such a run kept; and one small plot by
// default against gnuplot alone on its script.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/summary.h"
#include "bench/world.h"

extern char** environ;

using namespace rizari::bench;

namespace {

constexpr long kSizes[] = {100000, 1000000, 2000000, 10000000};
constexpr long kTableSizes[] = {100000, 1000000, 10000000};
constexpr long kTargetSizes[] = {2000000, 10000000};
constexpr long kEndToEndSizes[] = {100000, 1000000};
constexpr int kBatchPlots = 30;
constexpr long kSmallPlot = 100;             // points of each small plot
constexpr double kSessionTarget = 1.15;      // the default batch at most this times the floor
constexpr double kSmallPlotTarget = 1.1;     // one small plot at most this times gnuplot alone
constexpr int kSmallPlotRuns = 10;           // a small plot takes tens of milliseconds: each repetition averages this many
constexpr double kBytesPerCopy = 2 * sizeof(double);  // per point: x and y
constexpr double kMiB = 1024.0 * 1024.0;
constexpr double kRunnerTargetRatio = 0.7;  // the runner's time at most this share of fprintf's
constexpr double kRunnerSlackMiB = 32;      // runner: two copies of the data and this much more
constexpr double kApiSlackMiB = 16;         // API: the caller's arrays, one copy and this much more
// gnuplot-iostream writes 18-digit numbers through a pipe: at 1e7 points one run takes minutes.
constexpr int kSlowRepetitions = 3;

struct Case {
    const char* name;
    const char* title;
};
constexpr Case kCases[] = {
    {"fprintf", "fprintf loop"},
    {"to_chars", "std::to_chars loop"},
    {"rizari-api", "rizari, C++ API"},
    {"rizari-runner", "rizari, runner"},
    {"gnuplot-iostream", "gnuplot-iostream"},
};

// The world of this run: besides the fake home, a PATH folder whose gnuplot drains its input, a
// home whose engine is the real gnuplot, and the runner's scripts.
struct Setup {
    World world;
    std::string realEngine;
    fs::path drainPath() const { return world.root() / "drain-path"; }
    fs::path realHome() const { return world.root() / "real-home"; }
    fs::path recordHome() const { return world.root() / "record-home"; }
    fs::path out() const { return world.root() / "out"; }
};

Setup& setup()
{
    static Setup s;
    return s;
}

std::optional<std::string> onPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    for (std::string_view rest = path ? path : ""; !rest.empty();) {
        const std::size_t end = rest.find(':');
        const fs::path candidate = fs::path(std::string(rest.substr(0, end))) / program;
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return std::nullopt;
}

void writeExecutable(const fs::path& file, const std::string& text)
{
    std::ofstream(file) << text;
    fs::permissions(file, fs::perms::owner_all);
}

void prepareWorld()
{
    Setup& s = setup();
    fs::create_directories(s.drainPath());
    fs::create_directories(s.out());
    writeExecutable(s.drainPath() / "gnuplot", "#!/bin/sh\nexec cat > /dev/null\n");
    if (const auto gnuplot = onPath("gnuplot")) {
        s.realEngine = *gnuplot;
        fs::create_directories(s.realHome() / "sbin");
        fs::create_symlink(*gnuplot, s.realHome() / "sbin" / "gnuplot");
        // Keeps the command script it is given (the data files stay with RIZARI_KEEP=1).
        fs::create_directories(s.recordHome() / "sbin");
        writeExecutable(s.recordHome() / "sbin" / "gnuplot",
                        "#!/bin/sh\n[ \"$1\" = --version ] && exec \"" + *gnuplot + "\" --version\ncp \"$1\" \"$RIZARI_BENCH_RECORD\"\n");
    }
}

fs::path runnerScript(long n, bool png)
{
    const fs::path file = setup().world.root() / ((png ? "png-" : "sine-") + sizeName(n) + ".rz");
    if (fs::exists(file)) return file;
    std::ofstream out(file);
    out << "x = linspace(0, 100, " << n << ")\np = CPlot()\np.data2D(x, sin(x))\n";
    if (png) out << "p.sizeOutput(800, 600)\np.outputType(PlotOutputType.File, \"pngcairo\", \"" << (setup().out() / "e2e.png").string() << "\")\n";
    else out << "p.outputType(PlotOutputType.File, \"png\", \"" << (setup().out() / "fake.png").string() << "\")\n";
    out << "p.plotting()\n";
    return file;
}

// A script of small plots, each into its own 800 x 600 pngcairo image.
fs::path batchScript()
{
    const fs::path file = setup().world.root() / "batch.rz";
    if (fs::exists(file)) return file;
    std::ofstream out(file);
    out << "x = linspace(0, 100, " << kSmallPlot << ")\n";
    for (int i = 0; i < kBatchPlots; ++i)
        out << "p = CPlot()\np.data2D(x, sin(x))\np.sizeOutput(800, 600)\np.outputType(PlotOutputType.File, \"pngcairo\", \""
            << (setup().out() / ("batch-" + std::to_string(i) + ".png")).string() << "\")\np.plotting()\n";
    return file;
}

struct Child {
    double seconds = 0;
    double peakMiB = 0;
    bool ok = false;
};

// Runs the program with the arguments and extra environment entries and waits for it; its
// standard output is dropped, and with quiet its standard error too.
Child run(const std::vector<std::string>& argv, const std::vector<std::string>& env, bool quiet = false)
{
    std::vector<std::string> environment = env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        bool overridden = false;
        for (const std::string& mine : env) overridden = overridden || mine.rfind(name, 0) == 0;
        if (!overridden) environment.push_back(entry);
    }
    std::vector<char*> args, envp;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    for (const std::string& e : environment) envp.push_back(const_cast<char*>(e.c_str()));
    args.push_back(nullptr);
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (quiet) posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    Child child;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return child;
    int status = 0;
    struct rusage usage {};
    while (wait4(pid, &status, 0, &usage) < 0) {
    }
    child.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    child.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
    child.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return child;
}

void measure(benchmark::State& state, long n, const std::vector<std::string>& argv, const std::vector<std::string>& env)
{
    double seconds = 0, peak = 0;
    for (auto _ : state) {
        const Child c = run(argv, env);
        if (!c.ok) {
            state.SkipWithError(("failed: " + argv[0]).c_str());
            return;
        }
        state.SetIterationTime(c.seconds);
        seconds += c.seconds;
        peak = std::max(peak, c.peakMiB);
    }
    state.counters["ns/point"] = seconds * 1e9 / static_cast<double>(n) / static_cast<double>(state.iterations());
    state.counters["peak MiB"] = peak;
}

std::vector<std::string> fakeEngineEnv()
{
    const Setup& s = setup();
    return {"ZUHOME=" + s.world.fakeHome().string(), "TMP=" + s.world.tmp().string(), "RIZARI_SESSION=0",
            "PATH=" + s.drainPath().string() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "")};
}

std::vector<std::string> caseCommand(const std::string& name, long n)
{
    const std::string count = std::to_string(n);
    if (name == "rizari-runner") return {RIZARI_RUNNER, runnerScript(n, false).string()};
    const std::string file = (setup().out() / (name == "rizari-api" || name == "gnuplot-iostream" ? "fake.png" : "points.dat")).string();
    return {RIZARI_BENCH_PEER, name, count, file};
}

// The command script and data file of the end-to-end script, made by a run whose engine keeps
// the script; gnuplot alone then draws from them.
fs::path preparedScript(long n)
{
    const Setup& s = setup();
    const fs::path script = s.world.root() / ("prepared-" + sizeName(n) + ".gp");
    const fs::path tmp = s.world.root() / ("prepared-" + sizeName(n));
    if (fs::exists(script)) return script;
    fs::create_directories(tmp);
    run({RIZARI_RUNNER, runnerScript(n, true).string()},
        {"ZUHOME=" + s.recordHome().string(), "TMP=" + tmp.string(), "RIZARI_KEEP=1", "RIZARI_SESSION=0",
         "RIZARI_BENCH_RECORD=" + script.string()},
        true);
    return script;
}

// One gnuplot script loading the command scripts of the batch, kept (with their data files) by a
// run of the batch with RIZARI_KEEP=1: a command script is the kept file that starts with "reset".
fs::path batchFloor()
{
    const Setup& s = setup();
    const fs::path floor = s.world.root() / "batch-floor.gp", kept = s.world.root() / "batch-kept";
    if (fs::exists(floor)) return floor;
    fs::create_directories(kept);
    run({RIZARI_RUNNER, batchScript().string()}, {"ZUHOME=" + s.realHome().string(), "TMP=" + kept.string(), "RIZARI_KEEP=1"}, true);
    std::ofstream out(floor);
    for (const auto& entry : fs::directory_iterator(kept)) {
        std::ifstream in(entry.path());
        std::string first;
        if (std::getline(in, first) && first == "reset") out << "load \"" << entry.path().string() << "\"\n";
    }
    return floor;
}

void registerCases()
{
    for (const Case& c : kCases)
        for (long n : kSizes) {
            const std::string name = c.name;
            auto* b = addCase(name + "/" + sizeName(n), 1, [=](benchmark::State& state) {
                measure(state, n, caseCommand(name, n), fakeEngineEnv());
            });
            if (name == "gnuplot-iostream" && n >= 10000000) b->Repetitions(kSlowRepetitions);
        }
    if (setup().realEngine.empty()) return;
    for (long n : kEndToEndSizes) {
        addCase("end-to-end/rizari/" + sizeName(n), 1, [=](benchmark::State& state) {
            measure(state, n, {RIZARI_RUNNER, runnerScript(n, true).string()},
                    {"ZUHOME=" + setup().realHome().string(), "TMP=" + setup().world.tmp().string()});
        });
        addCase("end-to-end/gnuplot/" + sizeName(n), 1, [=](benchmark::State& state) {
            measure(state, n, {setup().realEngine, preparedScript(n).string()}, {});
        });
    }
    const std::vector<std::string> realEngine = {"ZUHOME=" + setup().realHome().string(), "TMP=" + setup().world.tmp().string()};
    addCase("small/rizari", kSmallPlotRuns, [=](benchmark::State& state) {
        measure(state, kSmallPlot, {RIZARI_RUNNER, runnerScript(kSmallPlot, true).string()}, realEngine);
    });
    addCase("small/gnuplot", kSmallPlotRuns, [=](benchmark::State& state) {
        measure(state, kSmallPlot, {setup().realEngine, preparedScript(kSmallPlot).string()}, {});
    });
    addCase("batch/engine-per-plot", 1, [=](benchmark::State& state) {
        measure(state, kBatchPlots, {RIZARI_RUNNER, "--no-session", batchScript().string()}, realEngine);
    });
    addCase("batch/default", 1, [=](benchmark::State& state) {
        measure(state, kBatchPlots, {RIZARI_RUNNER, batchScript().string()}, realEngine);
    });
    addCase("batch/floor", 1, [=](benchmark::State& state) {
        measure(state, kBatchPlots, {setup().realEngine, batchFloor().string()}, {});
    });
}

// ---- The summary ----

std::optional<Median> find(const Medians& m, const std::string& name, long n)
{
    const auto it = m.find(name + "/" + sizeName(n));
    return it == m.end() ? std::nullopt : std::optional<Median>(it->second);
}

double nsPerPoint(const Median& m, long n) { return m.seconds * 1e9 / static_cast<double>(n); }

void processTable(const Medians& m, std::FILE* out)
{
    std::fprintf(out, "| whole process |");
    for (long n : kTableSizes) std::fprintf(out, " ns/point %s | peak MiB %s |", sizeName(n).c_str(), sizeName(n).c_str());
    std::fprintf(out, "\n|---|");
    for (std::size_t i = 0; i < std::size(kTableSizes); ++i) std::fprintf(out, "---:|---:|");
    std::fprintf(out, "\n");
    for (const Case& c : kCases) {
        std::fprintf(out, "| %s |", c.title);
        for (long n : kTableSizes) {
            if (const auto r = find(m, c.name, n)) std::fprintf(out, " %.0f | %.0f |", nsPerPoint(*r, n), r->counters.at("peak MiB"));
            else std::fprintf(out, " - | - |");
        }
        std::fprintf(out, "\n");
    }
}

const char* verdict(bool met, bool measured) { return !measured ? "not measured" : met ? "met" : "MISSED"; }

void targets(const Medians& m, std::FILE* out)
{
    std::fprintf(out, "\n| points | runner / fprintf time | runner peak MiB | two copies + %.0f MiB | API peak MiB | arrays + one copy + %.0f MiB |\n",
                 kRunnerSlackMiB, kApiSlackMiB);
    std::fprintf(out, "|---|---:|---:|---:|---:|---:|\n");
    bool timeMet = true, runnerMemoryMet = true, apiMemoryMet = true, measured = true;
    for (long n : kTargetSizes) {
        const auto runner = find(m, "rizari-runner", n), plain = find(m, "fprintf", n), api = find(m, "rizari-api", n);
        measured = measured && runner && plain && api;
        if (!measured) break;
        const double copy = kBytesPerCopy * static_cast<double>(n) / kMiB;
        const double ratio = runner->seconds / plain->seconds;
        const double runnerPeak = runner->counters.at("peak MiB"), apiPeak = api->counters.at("peak MiB");
        timeMet = timeMet && ratio <= kRunnerTargetRatio;
        runnerMemoryMet = runnerMemoryMet && runnerPeak <= 2 * copy + kRunnerSlackMiB;
        apiMemoryMet = apiMemoryMet && apiPeak <= 2 * copy + kApiSlackMiB;
        std::fprintf(out, "| %s | %.2fx | %.0f | %.0f | %.0f | %.0f |\n", sizeName(n).c_str(), ratio, runnerPeak,
                     2 * copy + kRunnerSlackMiB, apiPeak, 2 * copy + kApiSlackMiB);
    }
    std::fprintf(out, "\nRunner time at most %.1fx fprintf's: %s. Runner peak memory: %s. API peak memory: %s.\n",
                 kRunnerTargetRatio, verdict(timeMet, measured), verdict(runnerMemoryMet, measured), verdict(apiMemoryMet, measured));
}

void endToEnd(const Medians& m, std::FILE* out)
{
    std::fprintf(out, "\n| points | runner + gnuplot, PNG ms | gnuplot alone ms | library's share |\n|---|---:|---:|---:|\n");
    for (long n : kEndToEndSizes) {
        const auto total = find(m, "end-to-end/rizari", n), alone = find(m, "end-to-end/gnuplot", n);
        if (!total || !alone) continue;
        std::fprintf(out, "| %s | %.0f | %.0f | %.0f%% |\n", sizeName(n).c_str(), total->seconds * 1e3, alone->seconds * 1e3,
                     100.0 * (total->seconds - alone->seconds) / total->seconds);
    }
}

void manyPlots(const Medians& m, std::FILE* out)
{
    const auto get = [&](const char* name) {
        const auto it = m.find(name);
        return it == m.end() ? std::nullopt : std::optional<double>(it->second.seconds);
    };
    const auto floor = get("batch/floor"), alone = get("small/gnuplot");
    if (!floor || !alone) return;
    std::fprintf(out, "\n| %d small plots (%ld points, 800 x 600 pngcairo) | ms | / floor |\n|---|---:|---:|\n", kBatchPlots, kSmallPlot);
    const std::pair<const char*, const char*> rows[] = {{"batch/engine-per-plot", "runner, an engine per plot (`--no-session`)"},
                                                        {"batch/default", "runner, by default (one gnuplot)"},
                                                        {"batch/floor", "floor: one gnuplot loading the 30 kept scripts"}};
    for (const auto& [name, title] : rows)
        if (const auto t = get(name)) std::fprintf(out, "| %s | %.0f | %.2fx |\n", title, *t * 1e3, *t / *floor);
    const auto small = get("small/rizari"), session = get("batch/default");
    std::fprintf(out, "\n| one small plot | ms | / gnuplot alone |\n|---|---:|---:|\n");
    if (small) std::fprintf(out, "| runner, by default | %.0f | %.2fx |\n", *small * 1e3, *small / *alone);
    std::fprintf(out, "| gnuplot alone on its script | %.0f | 1.00x |\n", *alone * 1e3);
    std::fprintf(out, "\nDefault batch at most %.2fx the floor: %s. One small plot at most %.2fx gnuplot alone: %s.\n", kSessionTarget,
                 verdict(session && *session / *floor <= kSessionTarget, session.has_value()), kSmallPlotTarget,
                 verdict(small && *small / *alone <= kSmallPlotTarget, small.has_value()));
}

void summarize(const Medians& m, std::FILE* out)
{
    processTable(m, out);
    targets(m, out);
    endToEnd(m, out);
    manyPlots(m, out);
}

}  // namespace

int main(int argc, char** argv)
{
    prepareWorld();
    registerCases();
    return runAndSummarize(argc, argv, summarize);
}
