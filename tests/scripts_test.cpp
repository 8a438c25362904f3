// Whole scripts through the runner's evaluator, the module and the fake engine. Each script of
// tests/golden runs statement by statement; the comment lines under a statement say what it must
// write:
//   #= text   a line on standard output      #> text   a line on standard error
//   #! text   the script error it stops with
// (a last line without its line end carries " (no line end)"). NAME.gp beside NAME.rz holds every
// engine run of the script: its arguments, its command script and the temporary files it read.
// The scripts are plain runner scripts: `rizari tests/golden/NAME.rz` runs them too.
//
// RIZARI_UPDATE_GOLDEN=1 rewrites the expectations from what happens; review the diff.
#ifndef _WIN32
#include <spawn.h>
#include <sys/wait.h>
#endif

#include <chrono>
#include <csignal>
#include <thread>

#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "runner/evaluator.h"
#include "runner/member_table.h"
#include "runner/module.h"
#include "runner/parser.h"
#include "platform/unicode.h"
#include "rizari/codes.h"
#include "runner/script_error.h"
#include "support.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace rizari::test {
namespace {

const std::string kModulePath = buildPath(RIZARI_MODULE_PATH);
const std::string kRunner = buildPath(RIZARI_RUNNER);

const fs::path kGolden = unicode::utf8Path(buildPath(RIZARI_SOURCE_DIR)) / "tests" / "golden";

bool isExpectation(const std::string& line)
{
    return line.size() >= 2 && line[0] == '#' && (line[1] == '=' || line[1] == '>' || line[1] == '!');
}

// The expectation lines for one stream of output.
std::string expectationLines(const char* tag, const std::string& text)
{
    std::string out;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) out += std::string(tag) + " " + line + "\n";
    if (!text.empty() && text.back() != '\n') out.insert(out.size() - 1, " (no line end)");
    return out;
}

class Golden : public testing::TestWithParam<std::string> {};

TEST_P(Golden, ScriptWritesWhatItsExpectationsSay)
{
    const fs::path script = kGolden / (GetParam() + ".rz");
    const fs::path engineRuns = kGolden / (GetParam() + ".gp");
    const bool update = std::getenv("RIZARI_UPDATE_GOLDEN") != nullptr;
    // A module of its own, as a new interpreter process has: the shapes' colour cycle starts anew.
    const runner::Module module(kModulePath);

    FakeEngine fake;
    ScopedEnv home("ZUHOME", fake.home() + "/");  // its separators become backslashes, and it still works
    ScopedEnv psDir("GNUPLOT_PS_DIR", std::nullopt);
    const fs::path cwd = fs::current_path();
    fs::current_path(kGolden);  // scripts name their data files relative to their own folder

    // The script as it should read: each statement followed by what it wrote. A difference shows as
    // a diff of the whole file.
    std::string rewritten;
    std::istringstream lines(readFile(script));
    {
        runner::Evaluator evaluator(module);
        for (std::string line; std::getline(lines, line);) {
            if (isExpectation(line)) continue;
            std::string error, err;
            const std::string out = captureStdout([&] {
                err = captureStderr([&] {
                    try {
                        evaluator.execute(runner::parseLine(line));
                    } catch (const runner::ScriptError& e) {
                        error = e.what();
                    }
                });
            });
            rewritten += line + "\n" + expectationLines("#=", out) + expectationLines("#>", err) + (error.empty() ? "" : "#! " + error + "\n");
        }
        EXPECT_EQ(captureStderr([&] { evaluator.destroyAll(); }), "") << "messages while destroying the plots";
    }
    fs::current_path(cwd);
    if (fake.runs() > 0) {  // the engine is pointed at the interpreter's PostScript files
        const char* postScript = std::getenv("GNUPLOT_PS_DIR");
        EXPECT_EQ(std::string(postScript ? postScript : ""), fake.home() + "//sbin/PostScript");
        // The module's "NAME=value" text stays allocated for the environment: the leak checker
        // must still reach it once the variable is restored, so the list is never destroyed.
        static auto* const keptAssignments = new std::vector<const char*>;
        if (postScript) keptAssignments->push_back(postScript - std::strlen("GNUPLOT_PS_DIR="));
    }
    for (const auto& left : fs::directory_iterator(fake.tmpDir())) ADD_FAILURE() << "left after the script: " << left.path();

    const std::string transcript = fake.transcript();
    if (update) {
        writeFile(script, rewritten);
        if (!transcript.empty()) writeFile(engineRuns, transcript);
        else fs::remove(engineRuns);
    } else {
        EXPECT_EQ(readFile(script), rewritten) << script.filename().string();
        EXPECT_EQ(fs::exists(engineRuns) ? readFile(engineRuns) : "", transcript) << engineRuns.filename().string();
    }
}

std::vector<std::string> goldenNames()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kGolden))
        if (entry.path().extension() == ".rz") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Scripts, Golden, testing::ValuesIn(goldenNames()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace rizari::test

// ---- The entry points themselves, called with argument lists as the interpreter builds them ----

namespace rizari::test {
namespace {

using runner::MemberInfo;

TEST(EntryPoints, TheModuleExportsExactlyTheMemberTable)
{
#ifdef _WIN32
    GTEST_SKIP() << "scripts/windows-check.sh reads the DLL's exports with objdump";
#else
    std::set<std::string> expected{"__builtin_Zu_VaArg"};
    for (const MemberInfo& m : runner::allMembers()) expected.insert("CPlot_" + m.name + "_zudl");
    FILE* nm = popen(("nm -D --defined-only --just-symbols " + kModulePath).c_str(), "r");
    ASSERT_NE(nm, nullptr);
    std::set<std::string> exported;
    for (char name[512]; std::fgets(name, sizeof name, nm);) exported.insert(std::string(name, std::strcspn(name, "@\n")));
    ASSERT_EQ(pclose(nm), 0);
    EXPECT_EQ(exported, expected);
#endif
}

// docs/reference.md documents every member (a "### `name`" heading each, under the group of the
// C++ header) and every constant with its value, and nothing that does not exist.
TEST(EntryPoints, TheReferenceCoversTheMembersAndConstants)
{
    std::istringstream doc(readFile(unicode::utf8Path(buildPath(RIZARI_SOURCE_DIR)) / "docs" / "reference.md"));
    std::string members, constants, group, expectedMembers, expectedConstants;
    for (std::string line; std::getline(doc, line);) {
        if (line.rfind("## ", 0) == 0) group = line.substr(3);
        if (line.rfind("### `", 0) == 0) members += group + ": " + line.substr(5, line.find('`', 5) - 5) + "\n";
        if (line.rfind("| `", 0) == 0) constants += line.substr(3, line.find(" |", line.find('`', 3) + 4) - 3) + "\n";  // | `G.N` | value |
    }
    for (const MemberInfo& m : runner::allMembers()) expectedMembers += m.group + ": " + m.name + "\n";
    for (const NamedCode& c : kScriptCodes) expectedConstants += std::string(c.group) + "." + c.name + "` | " + std::to_string(c.value) + "\n";
    EXPECT_EQ(members, expectedMembers);
    EXPECT_EQ(constants, expectedConstants);
}

}  // namespace
}  // namespace rizari::test

// ---- The runner as a program: standard output, standard error and exit status ----

namespace rizari::test {
namespace {

#ifdef _WIN32
constexpr const char* kLineEnd = "\r\n";  // of text on standard output
#else
constexpr const char* kLineEnd = "\n";
#endif

struct Outcome {
    int status;
    std::string out;  // lines end in "\n" on every platform
    std::string err;
    std::string bytes;  // standard output as it is
};

std::string withLineFeeds(std::string text)
{
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;) text.erase(at, 1);
    return text;
}

// Runs the runner through the platform's shell on the script (from a file script.rz in a fresh
// folder, or "-" for standard input; else standard input is the null device).
Outcome runRunner(const std::string& script, const std::string& options = "", bool fromStdin = false,
                  const fs::path& folder = {})
{
    TempDir fresh;
    const fs::path& dir = folder.empty() ? fresh.path() : folder;
    writeFile(dir / "script.rz", script);
#ifdef _WIN32
    const std::string command = "cd /d \"" + utf8(dir) + "\" && \"" + kRunner + "\" " + options +
                                (fromStdin ? " - <script.rz" : " script.rz <NUL") + " >out.txt 2>err.txt";
    const int status = _wsystem(unicode::widen(command).c_str());
#else
    const std::string command = "cd '" + dir.string() + "' && '" + kRunner + "' " + options +
                                (fromStdin ? " - <script.rz" : " script.rz </dev/null") + " >out.txt 2>err.txt";
    const int raw = std::system(command.c_str());
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    const std::string out = readFile(dir / "out.txt");
    return {status, withLineFeeds(out), withLineFeeds(readFile(dir / "err.txt")), out};
}

// The options, the member list, and script errors: the file and line, status 2.
TEST(Runner, OptionsAndScriptErrors)
{
    // The whole script is parsed first: a syntax error runs nothing.
    Outcome syntax = runRunner("print(1)\ny = (2\n");
    EXPECT_EQ(syntax.status, 2);
    EXPECT_EQ(syntax.out + syntax.err, "rizari: script.rz:2: expected ')' but found end of line\n");
    Outcome later = runRunner("print(1)\nprint(z)\nprint(2)\n", "", true);
    EXPECT_EQ(later.status, 2);
    EXPECT_EQ(later.out + later.err, "1\nrizari: <stdin>:2: unknown variable 'z'\n");
    {
        ScopedEnv module("RIZARI_MODULE", "/nonexistent/other.dl");
        EXPECT_EQ(runRunner("print(1)\n").err.rfind("rizari: cannot load module: /nonexistent/other.dl", 0), 0u);
        EXPECT_EQ(runRunner("print(1)\n", "--module " + kModulePath).out, "1\n");  // --module wins
    }
#ifndef _WIN32
    EXPECT_EQ(std::system(("'" + kRunner + "' script.rz --module 2>/dev/null").c_str()), 2 << 8);  // --module without its value
#endif
    EXPECT_EQ(runRunner("print(1)\n", "--session").out, "1\n");  // no plot: no engine is started
    const Outcome unknown = runRunner("print(1)\n", "--sessions");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "usage: rizari [--module PATH] [--session] SCRIPT | --help | --members\n");
    const std::string members = runRunner("", "--members").out;
    for (const char* part : {"Lifecycle and dimension:\n  p = CPlot()\n  delete p\n", "\nSubplots:\n  int subplot(int, int)\n",
                             "\n  int dataFile(text [, text])\n", "\n  outputType(int [, text [, text]])\n"})
        EXPECT_NE(members.find(part), std::string::npos) << part;
}

// Instances made by CPlot() are destroyed at the end, also when an error stops the script: their
// command scripts and data files leave the temporary folder. RIZARI_KEEP=1 keeps them, and says
// where they are.
TEST(Runner, InstancesAreDestroyedAtTheEnd)
{
    for (const char* ending : {"", "p.plotting(1)\n", "delete p\nprint(1)\n"}) {
        SCOPED_TRACE(ending);
        FakeEngine fake;
        ScopedEnv home("ZUHOME", fake.home());
        Outcome r = runRunner(std::string("p = CPlot()\nq = CPlot()\np.data2D([1, 2, 3], [3, 1, 2])\n"
                                          "q.data2D([1, 2], [2, 1])\np.plotting()\nq.plotting()\n") + ending);
        EXPECT_EQ(fake.runs(), 2);
        EXPECT_EQ(r.status, *ending == 'p' ? 2 : 0) << r.err;
        EXPECT_TRUE(fs::is_empty(fake.tmpDir()));
    }
    FakeEngine fake;
    ScopedEnv home("ZUHOME", fake.home());
    ScopedEnv keep("RIZARI_KEEP", "1");
    Outcome r = runRunner("p = CPlot()\np.data2D([1, 2], [3, 4])\np.plotting()\n");
    EXPECT_EQ(fake.normalized(r.err), "CPlot::plotting(): kept script $TMP/<1>\nCPlot::plotting(): kept data file $TMP/<2>\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(fake.tmpDir()), {}), 2);
}

// A failed plot is told with gnuplot's own words above it; the script goes on and the runner
// exits with status 1. An image the failed run left empty goes; an earlier picture stays.
TEST(Runner, FailedPlotsAreToldAndGiveStatus1)
{
    FakeEngine fake;
    ScopedEnv home("ZUHOME", fake.home());
    TempDir dir;
    writeFile(dir.path() / "old.png", "an earlier picture");
    const std::string script = "p = CPlot()\np.data2D([1, 2], [3, 4])\np.outputType(PlotOutputType.File, \"png\", \"new.png\")\n"
                               "print(p.plotting())\np.outputType(PlotOutputType.File, \"png\", \"old.png\")\nprint(p.plotting())\n";
    {
        ScopedEnv exit("RIZARI_FAKE_EXIT", "3");
        ScopedEnv image("RIZARI_FAKE_IMAGE", "empty");
        Outcome r = runRunner(script, "", false, dir.path());
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "-1\n-1\n");
        EXPECT_EQ(fake.normalized(r.err), "CPlot::plotting(): gnuplot failed (exit status 3); script: $TMP/<1>\n"
                                          "CPlot::plotting(): gnuplot failed (exit status 3); script: $TMP/<2>\n");
        EXPECT_FALSE(fs::exists(dir.path() / "new.png"));
        EXPECT_EQ(readFile(dir.path() / "old.png"), "");  // the caller's picture was emptied by gnuplot itself
    }
    writeFile(dir.path() / "old.png", "an earlier picture");
    {
        ScopedEnv exit("RIZARI_FAKE_EXIT", "1");
        runRunner(script, "", false, dir.path());
        EXPECT_EQ(readFile(dir.path() / "old.png"), "an earlier picture");
    }
    {
        // An engine that ends well without an image (an unknown terminal is a warning to some).
        ScopedEnv image("RIZARI_FAKE_IMAGE", "empty");
        Outcome r = runRunner(script, "", false, dir.path());
        EXPECT_EQ(r.out, "-1\n-1\n");
        EXPECT_EQ(fake.normalized(r.err), "CPlot::plotting(): gnuplot made no image in new.png; script: $TMP/<3>\n"
                                          "CPlot::plotting(): gnuplot made no image in old.png; script: $TMP/<4>\n");
        EXPECT_FALSE(fs::exists(dir.path() / "new.png"));
        EXPECT_TRUE(fs::exists(dir.path() / "old.png"));
    }
    const fs::path engine = fake.engine();
    fs::remove(engine);
    writeFile(engine, "not a program");
    fs::permissions(engine, fs::perms::owner_all);
    Outcome r = runRunner("p = CPlot()\nprint(p.plotting())\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(fake.normalized(r.err).rfind("CPlot::plotting(): gnuplot could not be started; script: $TMP/<", 0), 0u) << r.err;
}

// Without a terminal to read from, the window's engine reads a pipe held open until it ends, so
// the window stays until it is closed; without a display or anything to draw no window opens to
// be closed. An image streamed to standard output arrives byte for byte (on Windows standard
// output is binary for it, so no LF gains a CR), and text after it is text again.
TEST(Runner, WindowAndStreamOutput)
{
    FakeEngine fake;
    ScopedEnv home("ZUHOME", fake.home());
    ScopedEnv input("RIZARI_FAKE_STDIN", "0.5");
    ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
    const std::string window = "p = CPlot()\np.data2D([1, 2], [3, 4])\np.plotting()\n";
    {
        ScopedEnv display("DISPLAY", ":9");
        runRunner(window + "p.outputType(PlotOutputType.File, \"png\", \"a.png\")\np.plotting()\nq = CPlot()\nq.plotting()\n");
    }
    ScopedEnv display("DISPLAY", std::nullopt);
    runRunner(window);
    std::vector<std::string> inputs;
    for (int run = 0; run < 4; ++run) inputs.push_back(readFile(fake.runDir(run) / "input"));
    EXPECT_EQ(inputs, (std::vector<std::string>{"held", "ended", "ended", "ended"}));  // window, file, empty, no display
    ScopedEnv image("RIZARI_FAKE_IMAGE", "1");
    Outcome r = runRunner("p = CPlot()\np.data2D([1, 2], [3, 4])\np.outputType(PlotOutputType.Stream, \"png\")\np.plotting()\nprint(1)\n");
    EXPECT_EQ(r.bytes, std::string("\x89PNG\r\n\x1a\n\0\n\r\n\n\xff", 14) + "1" + kLineEnd);
    EXPECT_EQ(r.status, 0) << r.err;
}

#ifndef _WIN32
// SIGINT, SIGTERM or SIGHUP while the engine runs: the engine is ended, the plots are destroyed
// with their temporary files, and the runner dies of the signal.
TEST(Runner, AStopSignalLeavesNoTemporaryFiles)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        TempDir dir;  // before the fake engine points TMP at its own folder
        FakeEngine fake;
        ScopedEnv home("ZUHOME", fake.home());
        ScopedEnv sleep("RIZARI_FAKE_SLEEP", "30");
        writeFile(dir.path() / "script.rz", "p = CPlot()\np.data2D([1, 2], [3, 4])\np.plotting()\nprint(1)\n");
        const std::string script = (dir.path() / "script.rz").string();
        char* const args[] = {const_cast<char*>(kRunner.c_str()), const_cast<char*>(script.c_str()), nullptr};
        pid_t runner = 0;
        ASSERT_EQ(posix_spawn(&runner, kRunner.c_str(), nullptr, nullptr, args, environ), 0);
        const auto start = std::chrono::steady_clock::now();
        while (fake.runs() == 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        kill(runner, signal);
        int status = 0;
        waitpid(runner, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_TRUE(fs::is_empty(fake.tmpDir()));
    }
}
#endif

}  // namespace
}  // namespace rizari::test
