// Whole scripts through the runner's evaluator, the module and the fake engine. Each script of
// tests/golden runs statement by statement; the comment lines under a statement say what it must
// write:
//   #= text   a line on standard output      #> text   a line on standard error
//   #! text   the script error it stops with ("at its line N: " when a block's line N made it)
// (a last line without its line end carries " (no line end)"). NAME.gp beside NAME.rz holds every
// engine run of the script: its arguments, its command script and the temporary files it read.
// The scripts are plain runner scripts: `rizari tests/golden/NAME.rz` runs them too.
//
// RIZARI_UPDATE_GOLDEN=1 rewrites the expectations from what happens; review the diff.
#ifndef _WIN32
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <thread>

#include <cstring>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "runner/builtins.h"
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
    std::vector<std::string> lines;
    std::istringstream text(readFile(script));
    for (std::string line; std::getline(text, line);)
        if (!isExpectation(line)) lines.push_back(line);
    {
        runner::Evaluator evaluator(module);
        // A statement at a time (a block is one); a syntax error is recorded under its line.
        for (runner::ScriptReader reader(lines); !reader.atEnd();) {
            const std::size_t first = reader.position();
            std::string error, err;
            const std::string out = captureStdout([&] {
                err = captureStderr([&] {
                    try {
                        evaluator.execute(reader.next());
                    } catch (const runner::ScriptError& e) {
                        error = e.what();
                        if (e.line != first + 1) error = "at its line " + std::to_string(e.line - first) + ": " + error;
                    }
                });
            });
            for (std::size_t n = first; n < reader.position(); ++n) rewritten += lines[n] + "\n";
            rewritten += expectationLines("#=", out) + expectationLines("#>", err) + (error.empty() ? "" : "#! " + error + "\n");
        }
        EXPECT_EQ(captureStderr([&] { evaluator.destroyAll(); }), "") << "messages while destroying the plots";
    }
    fs::current_path(cwd);
    // A plotting() call points the engine at the interpreter's PostScript files.
    const char* postScript = std::getenv("GNUPLOT_PS_DIR");
    if (fake.runs() > 0) {
        EXPECT_EQ(std::string(postScript ? postScript : ""), fake.home() + "//sbin/PostScript");
    }
    // The module's "NAME=value" text stays allocated for the environment: the leak checker must
    // still reach it once the variable is restored, so the list is never destroyed.
    static auto* const keptAssignments = new std::vector<const char*>;
    if (postScript) keptAssignments->push_back(postScript - std::strlen("GNUPLOT_PS_DIR="));
    for (const auto& left : fs::recursive_directory_iterator(fake.tmpDir())) ADD_FAILURE() << "left after the script: " << left.path();

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
// C++ header), every constant with its value and every built-in as a call (`name(parameters)` in
// the paragraph of the built-ins, in the table's order), and nothing that does not exist.
TEST(EntryPoints, TheReferenceCoversTheMembersConstantsAndBuiltIns)
{
    std::istringstream doc(readFile(unicode::utf8Path(buildPath(RIZARI_SOURCE_DIR)) / "docs" / "reference.md"));
    std::string members, constants, builtins, builtinParagraph, group, expectedMembers, expectedConstants, expectedBuiltins;
    bool inBuiltins = false;
    for (std::string line; std::getline(doc, line);) {
        if (line.rfind("## ", 0) == 0) group = line.substr(3);
        if (line.rfind("### `", 0) == 0) members += group + ": " + line.substr(5, line.find('`', 5) - 5) + "\n";
        if (line.rfind("| `", 0) == 0) constants += line.substr(3, line.find(" |", line.find('`', 3) + 4) - 3) + "\n";  // | `G.N` | value |
        inBuiltins = line.rfind("**Built-ins.**", 0) == 0 || (inBuiltins && !line.empty());
        if (inBuiltins) builtinParagraph += line + " ";
    }
    // The calls quoted in the paragraph: `name(...)`.
    std::istringstream pieces(builtinParagraph);
    bool quoted = false;
    const auto isCall = [](const std::string& piece) {
        const std::size_t open = piece.find('(');
        const bool named = open != std::string::npos && open > 0 &&
                           std::all_of(piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(open), [](unsigned char c) { return std::isalnum(c) || c == '_'; });
        return named && piece.back() == ')';
    };
    for (std::string piece; std::getline(pieces, piece, '`'); quoted = !quoted)
        if (quoted && isCall(piece)) builtins += piece + "\n";
    for (const MemberInfo& m : runner::allMembers()) expectedMembers += m.group + ": " + m.name + "\n";
    for (const NamedCode& c : kScriptCodes) expectedConstants += std::string(c.group) + "." + c.name + "` | " + std::to_string(c.value) + "\n";
    for (const runner::Builtin& b : runner::allBuiltins()) expectedBuiltins += b.signature() + "\n";
    EXPECT_EQ(members, expectedMembers);
    EXPECT_EQ(constants, expectedConstants);
    EXPECT_EQ(builtins, expectedBuiltins);
}

// The reference's code blocks after the forms of a member (and every block outside the members):
// its examples.
std::vector<std::string> referenceExamples(const std::string& reference)
{
    std::vector<std::string> examples;
    std::size_t at = 0;
    bool inMember = false;
    int blockOfMember = 0;
    for (std::size_t fence; (fence = reference.find("```", at)) != std::string::npos;) {
        const std::size_t heading = reference.rfind("\n### `", fence);
        const std::size_t section = reference.rfind("\n## ", fence);
        const bool member = heading != std::string::npos && (section == std::string::npos || heading > section);
        blockOfMember = member && inMember && heading < at ? blockOfMember + 1 : 0;
        inMember = member;
        const std::size_t start = reference.find('\n', fence) + 1, end = reference.find("```", start);
        if (!member || blockOfMember > 0) examples.push_back(reference.substr(start, end - start));
        at = end + 3;
    }
    return examples;
}

// Every example runs with x, y and t given and p a new plot: no script error and no message.
TEST(EntryPoints, TheReferenceExamplesRun)
{
    const std::string reference = readFile(unicode::utf8Path(buildPath(RIZARI_SOURCE_DIR)) / "docs" / "reference.md");
    const std::vector<std::string> examples = referenceExamples(reference);
    EXPECT_GT(examples.size(), 100u);
    const runner::Module module(kModulePath);
    TempDir work;  // before the fake engine points TMP at its own folder
    FakeEngine fake;
    ScopedEnv home("ZUHOME", fake.home());
    // Set here, the module leaves it alone: a text it put into the environment would be lost
    // (a leak) once a later test restores the variable.
    ScopedEnv psDir("GNUPLOT_PS_DIR", fake.home() + "/sbin/PostScript");
    writeFile(work.path() / "measurements.dat", "1 2 3\n2 3 5\n3 5 4\n");
    const fs::path cwd = fs::current_path();
    fs::current_path(work.path());
    for (const std::string& example : examples) {
        std::vector<std::string> lines{"x = linspace(0, 6.283185, 20)", "y = sin(x)", "t = linspace(0, 12.566, 50)", "p = CPlot()"};
        std::istringstream text(example);
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        std::string error;
        const std::string err = captureStderr([&] {
            captureStdout([&] {
                try {
                    runner::Evaluator evaluator(module);
                    for (const runner::Stmt& statement : runner::parseScript(lines)) evaluator.execute(statement);
                } catch (const runner::ScriptError& e) {
                    error = e.what();
                }
            });
        });
        EXPECT_EQ(error + err, "") << example;
    }
    fs::current_path(cwd);
}

// How a failure message that names a command script ends without RIZARI_KEEP=1.
const std::string kKeepHint = " (set RIZARI_KEEP=1 to keep it)\n";

// Stands for any text in a pattern; no message holds it.
constexpr char kAnyText = '\x01';

// A printf format as a pattern: each conversion stands for any text, "%%" for a '%'.
std::string formatPattern(std::string_view format)
{
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
        } else if (format[i + 1] == '%') {
            out += '%', ++i;
        } else {
            while (i + 1 < format.size() && std::strchr("-0123456789.lh*", format[i + 1])) ++i;
            out += kAnyText, ++i;
        }
    }
    return out;
}

// Whether some text fits both patterns.
bool overlap(std::string_view a, std::string_view b)
{
    std::vector<std::vector<signed char>> known(a.size() + 1, std::vector<signed char>(b.size() + 1, -1));
    std::function<bool(std::size_t, std::size_t)> from = [&](std::size_t i, std::size_t j) -> bool {
        signed char& result = known[i][j];
        if (result < 0) {
            if (i == a.size() && j == b.size()) result = 1;
            else if (i < a.size() && a[i] == kAnyText) result = from(i + 1, j) || (j < b.size() && from(i, j + 1));
            else if (j < b.size() && b[j] == kAnyText) result = from(i, j + 1) || (i < a.size() && from(i + 1, j));
            else result = i < a.size() && j < b.size() && a[i] == b[j] && from(i + 1, j + 1);
        }
        return result == 1;
    };
    return from(0, 0);
}

// Every message the reference quotes is one the code prints: it fits a message text of the
// library or the runner, where a word in capitals (NAME, PATH, N) stands for what is printed.
TEST(EntryPoints, TheReferenceQuotesOnlyMessagesTheCodePrints)
{
    const fs::path source = unicode::utf8Path(buildPath(RIZARI_SOURCE_DIR));
    std::vector<std::string> formats;
    for (const char* folder : {"platform", "plot", "script", "data", "settings", "draw", "engine", "binding", "runner"}) {
        for (const auto& file : fs::directory_iterator(source / folder)) {
            // String literals, those written next to each other joined, escapes undone.
            const std::string code = readFile(file.path());
            std::string literal;
            bool open = false, pending = false;
            for (std::size_t i = 0; i < code.size(); ++i) {
                const char c = code[i];
                if (open) {
                    if (c == '\\' && i + 1 < code.size()) literal += code[++i] == 'n' ? '\n' : code[i];
                    else if (c == '"') open = false, pending = true;
                    else literal += c;
                } else if (c == '"' && (i == 0 || code[i - 1] != '\'')) {
                    open = true;
                } else if (pending && !std::isspace(static_cast<unsigned char>(c))) {
                    formats.push_back(std::exchange(literal, {}));
                    pending = false;
                }
            }
        }
    }
    const std::string reference = readFile(source / "docs" / "reference.md");
    int quoted = 0;
    for (std::size_t at = 0; (at = reference.find('`', at)) != std::string::npos;) {
        const std::size_t end = reference.find('`', at + 1);
        ASSERT_NE(end, std::string::npos) << "a backtick without its pair at byte " << at;
        std::string message = reference.substr(at + 1, end - at - 1);
        at = end + 1;
        if (message.rfind("CPlot::", 0) != 0 && message.rfind("Error:", 0) != 0 && message.rfind("plot.line", 0) != 0) continue;
        ++quoted;
        // A word in capitals stands for any text.
        auto isUpper = [](char c) { return std::isupper(static_cast<unsigned char>(c)) || c == '_'; };
        for (std::size_t i = 0; i < message.size(); ++i) {
            if (!isUpper(message[i]) || (i > 0 && std::isalnum(static_cast<unsigned char>(message[i - 1])))) continue;
            std::size_t j = i;
            while (j < message.size() && isUpper(message[j])) ++j;
            if (j == message.size() || !std::islower(static_cast<unsigned char>(message[j]))) message.replace(i, j - i, 1, kAnyText);
        }
        // A format that begins with a conversion ("%s: %s") would fit any message.
        const bool printed = std::any_of(formats.begin(), formats.end(), [&](const std::string& format) {
            const std::string pattern = formatPattern(format);
            return format.find('%') >= 5 && (overlap(pattern, message) || overlap(pattern, message + "\n"));
        });
        EXPECT_TRUE(printed) << message;
    }
    EXPECT_GT(quoted, 100);
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
    // A folder or a device is no script; after -- a name that begins with - is one, before it an
    // option (a usage error, as --module without its value is).
    TempDir dir;
    writeFile(dir.path() / "-x.rz", "print(1)\n");
    for (const auto& [args, expected] : std::vector<std::pair<std::string, std::string>>{
             {"/", "rizari: cannot read /\n"}, {"/dev/zero", "rizari: cannot read /dev/zero\n"}, {"-- -x.rz", "1\n"}, {"-x.rz", ""}, {"script.rz --module", ""}}) {
        const int status = std::system(("cd '" + dir.path().string() + "' && '" + kRunner + "' " + args + " >out.txt 2>err.txt").c_str());
        EXPECT_EQ(status, expected == "1\n" ? 0 : 2 << 8) << args;
        const std::string err = readFile(dir.path() / "err.txt");
        EXPECT_EQ(readFile(dir.path() / "out.txt") + (err.rfind("usage:", 0) == 0 ? "" : err), expected) << args;
    }
#endif
    // The usage line after a wrong option; --help and --version (the manual page is made of them)
    // print on standard output and end well.
    Outcome wrong = runRunner("", "--verbose");
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.out + wrong.err, "usage: rizari [--module PATH] [--session | --no-session] [--reduce on|off] [--] SCRIPT | --help | --members | --version\n");
    Outcome help = runRunner("", "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind(wrong.err, 0), 0u) << help.out;
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(runRunner("", "--version").out, "rizari " RIZARI_VERSION "\n");
    EXPECT_EQ(runRunner("print(1)\n", "--session").out, "1\n");  // no plot: no engine is started
    for (const char* wrongReduce : {"--reduce yes", "--reduce", "--session --no-session"}) EXPECT_EQ(runRunner("print(1)\n", wrongReduce).status, 2) << wrongReduce;
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
    EXPECT_EQ(fake.temporaryFiles(), 2);
}

// --reduce on thins a large data set also for a vector image, --reduce off not even for a raster
// image, as RIZARI_REDUCE=1 and 0 do; a kept data file says that it is thinned.
TEST(Runner, ReduceSwitchesTheThinningOfLargeData)
{
    ScopedEnv keep("RIZARI_KEEP", "1");
    ScopedEnv unset("RIZARI_REDUCE", std::nullopt);
    auto keptLine = [](const char* terminal, const std::string& options) {
        FakeEngine fake;
        ScopedEnv home("ZUHOME", fake.home());
        const Outcome r = runRunner(std::string("x = linspace(0, 100, 100000)\np = CPlot()\np.data2D(x, sin(x) + random(100000, 1))\n"
                                                "p.outputType(PlotOutputType.File, \"") + terminal + "\", \"out\")\np.plotting()\n",
                                    options);
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string told = fake.normalized(r.err);
        return told.substr(told.find("kept data file"));
    };
    const std::string whole = "kept data file $TMP/<2>\n";
    EXPECT_EQ(keptLine("svg", ""), whole);
    EXPECT_EQ(keptLine("pngcairo", "--reduce off"), whole);
    EXPECT_EQ(keptLine("pngcairo", "").rfind("kept data file $TMP/<2> (reduced from 100000 to ", 0), 0u);
    EXPECT_EQ(keptLine("svg", "--reduce on").rfind("kept data file $TMP/<2> (reduced from 100000 to ", 0), 0u);
}

// A failed plot is told with gnuplot's own words above it; the script goes on and the runner
// exits with status 1. The empty file that a failed run made or emptied goes; a file the engine
// did not touch, and a picture cut short, stay.
TEST(Runner, FailedPlotsAreToldAndGiveStatus1)
{
    TempDir dir;  // before the fake engine points TMP at its own folder
    FakeEngine fake;
    ScopedEnv home("ZUHOME", fake.home());
    writeFile(dir.path() / "old.png", "an earlier picture");
    const std::string script = "p = CPlot()\np.data2D([1, 2], [3, 4])\np.outputType(PlotOutputType.File, \"png\", \"new.png\")\n"
                               "print(p.plotting())\np.outputType(PlotOutputType.File, \"png\", \"old.png\")\nprint(p.plotting())\n";
    {
        ScopedEnv exit("RIZARI_FAKE_EXIT", "3");
        ScopedEnv image("RIZARI_FAKE_IMAGE", "empty");
        Outcome r = runRunner(script, "", false, dir.path());
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "-1\n-1\n");
        EXPECT_EQ(fake.normalized(r.err), "CPlot::plotting(): gnuplot failed (exit status 3); script: $TMP/<1>" + kKeepHint +
                                              "CPlot::plotting(): gnuplot failed (exit status 3); script: $TMP/<2>" + kKeepHint +
                                              "rizari: 2 plots failed\n");
        EXPECT_FALSE(fs::exists(dir.path() / "new.png"));
        EXPECT_FALSE(fs::exists(dir.path() / "old.png"));  // gnuplot itself had emptied the earlier picture
    }
    writeFile(dir.path() / "old.png", "an earlier picture");
    {
        ScopedEnv exit("RIZARI_FAKE_EXIT", "1");
        runRunner(script, "", false, dir.path());
        EXPECT_EQ(readFile(dir.path() / "old.png"), "an earlier picture");
    }
    {
        // An engine that ends well without an image (an unknown terminal is a warning to some),
        // and a plot with nothing to draw, into a file and into a window (whose engine is not run:
        // it would wait at its prompt).
        ScopedEnv image("RIZARI_FAKE_IMAGE", "empty");
        const int runs = fake.runs();
        Outcome r = runRunner(script + "q = CPlot()\nq.outputType(PlotOutputType.File, \"png\", \"none.png\")\nprint(q.plotting())\n"
                                       "w = CPlot()\nprint(w.plotting())\n",
                              "", false, dir.path());
        EXPECT_EQ(r.out, "-1\n-1\n-1\n-1\n");
        EXPECT_EQ(fake.normalized(r.err), "CPlot::plotting(): gnuplot made no image in new.png; script: $TMP/<3>" + kKeepHint +
                                              "CPlot::plotting(): gnuplot made no image in old.png; script: $TMP/<4>" + kKeepHint +
                                              "CPlot::plotting(): gnuplot made no image in none.png (the plot has no data); script: $TMP/<5>" +
                                              kKeepHint +
                                              "CPlot::plotting(): gnuplot made no image in the window (the plot has no data); script: "
                                              "$TMP/<6>" +
                                              kKeepHint + "rizari: 4 plots failed\n");
        EXPECT_EQ(fake.runs(), runs + 3);
        EXPECT_EQ(r.status, 1);
        for (const char* file : {"new.png", "old.png", "none.png"}) EXPECT_FALSE(fs::exists(dir.path() / file)) << file;
    }
    {
        // A picture cut short (a disk that filled up) fails the plot and stays for a look.
        ScopedEnv image("RIZARI_FAKE_IMAGE", "cut");
        Outcome r = runRunner(script, "", false, dir.path());
        EXPECT_EQ(r.out, "-1\n-1\n");
        EXPECT_EQ(fake.normalized(r.err), "CPlot::plotting(): gnuplot left an incomplete image in new.png; script: $TMP/<7>" + kKeepHint +
                                              "CPlot::plotting(): gnuplot left an incomplete image in old.png; script: $TMP/<8>" + kKeepHint +
                                              "rizari: 2 plots failed\n");
        EXPECT_EQ(fs::file_size(dir.path() / "new.png"), 14u);
    }
    const fs::path engine = fake.engine();
    fs::remove(engine);
    writeFile(engine, "not a program");
    fs::permissions(engine, fs::perms::owner_all);
    Outcome r = runRunner("p = CPlot()\np.data2D([1, 2], [3, 4])\nprint(p.plotting())\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(fake.normalized(r.err).rfind("CPlot::plotting(): gnuplot could not be started; script: $TMP/<", 0), 0u) << r.err;
}

// A member that refuses an argument says so on standard error and the script goes on; the
// runner then exits with status 1 and counts the refused calls and failed plots on its last line.
// Arguments beyond a member's longest form are a script error, as too few are.
TEST(Runner, RefusedCallsAndFailedPlotsAreCounted)
{
    FakeEngine fake;
    ScopedEnv home("ZUHOME", fake.home());
    const std::string refusing = "p = CPlot()\np.sizeOutput(0, 0)\nprint(p.dataFile(\"missing.dat\"))\np.label(99, \"x\")\n";
    Outcome three = runRunner(refusing + "p.title(\"fine\")\n");
    EXPECT_EQ(three.status, 1);
    EXPECT_EQ(three.out, "-1\n");
    EXPECT_EQ(three.err, "CPlot::sizeOutput(): invalid parameter\nCPlot::dataFile(): cannot open file \"missing.dat\".\n"
                         "CPlot::label(): invalid axis number\nrizari: 3 calls refused\n");
    {
        ScopedEnv exit("RIZARI_FAKE_EXIT", "1");
        Outcome both = runRunner("p = CPlot()\np.label(99, \"x\")\np.data2D([1, 2], [3, 4])\nprint(p.plotting())\n");
        EXPECT_EQ(both.status, 1);
        EXPECT_EQ(fake.normalized(both.err), "CPlot::label(): invalid axis number\n"
                                             "CPlot::plotting(): gnuplot failed (exit status 1); script: $TMP/<1>" + kKeepHint +
                                                 "rizari: 1 call refused, 1 plot failed\n");
    }
    // The count comes after the script error that stopped the run, whose status stays 2.
    Outcome stopped = runRunner(refusing + "p.lineType(0, 1, 2, \"red\", \"x\")\nprint(\"not reached\")\n");
    EXPECT_EQ(stopped.status, 2);
    EXPECT_EQ(stopped.err.substr(stopped.err.find("rizari:")),
              "rizari: script.rz:5: lineType() expects 3 or 4 arguments, got 5\nrizari: 3 calls refused\n");
    Outcome few = runRunner("p = CPlot()\np.outputType()\n");
    EXPECT_EQ(few.err, "rizari: script.rz:2: outputType() expects 1 to 3 arguments, got 0\n");
    // Calls that write nothing are not counted, also inside loops.
    Outcome quiet = runRunner("p = CPlot()\nfor i in range(0, 3) {\n    p.title(\"t\" + str(i))\n}\nprint(p.getTitle())\n");
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.out + quiet.err, "t2\n");
}

// A mistake inside a block is reported at its own line; the script ran up to it. Nesting deeper
// than the runner's limit (expressions or blocks) is a script error found before anything runs,
// never a crash; the deepest accepted nesting runs, also in a sanitizer build.
TEST(Runner, BlockErrorsAndTheNestingLimit)
{
    Outcome inner = runRunner("for i in range(0, 3) {\n    if i == 1 {\n        print(q)\n    }\n    print(i)\n}\n");
    EXPECT_EQ(inner.status, 2);
    EXPECT_EQ(inner.out + inner.err, "0\nrizari: script.rz:3: unknown variable 'q'\n");
    Outcome unclosed = runRunner("print(1)\nif 1 {\n    print(2)\n");
    EXPECT_EQ(unclosed.out + unclosed.err, "rizari: script.rz:2: no '}' closes the block of this line\n");

    auto repeat = [](const std::string& text, int n) {
        std::string out;
        for (int i = 0; i < n; ++i) out += text;
        return out;
    };
    const std::string limit = "nesting deeper than " + std::to_string(runner::kMaxNesting);
    const int most = runner::kMaxNesting - 1;  // the statement's own expression is one level
    for (const auto& [open, close] : std::vector<std::pair<std::string, std::string>>{
             {"(", ")"}, {"sin(", ")"}, {"-", ""}, {"[", "]"}, {"not ", ""}, {"2 ^ ", ""}}) {
        SCOPED_TRACE(open);
        Outcome deepest = runRunner("x = " + repeat(open, most) + "0" + repeat(close, most) + "\nprint(1)\n");
        EXPECT_EQ(deepest.status, 0) << deepest.err;
        Outcome deeper = runRunner("print(1)\nx = " + repeat(open, 15000) + "0" + repeat(close, 15000) + "\n");
        EXPECT_EQ(deeper.status, 2);
        EXPECT_EQ(deeper.out + deeper.err, "rizari: script.rz:2: " + limit + "\n");
    }
    Outcome chain = runRunner("x = [1]\ny = x" + repeat("[0:1]", most) + "\nz = x" + repeat("[0:1]", 20000) + "\n");
    EXPECT_EQ(chain.err, "rizari: script.rz:3: " + limit + "\n");
    // Blocks as deep as the limit, each holding the deepest expression.
    const std::string deepExpr = "x = " + repeat("(", most) + "1" + repeat(")", most) + "\n";
    Outcome blocks = runRunner(repeat("if 1 {\n" + deepExpr, runner::kMaxNesting) + repeat("}\n", runner::kMaxNesting) + "print(x)\n");
    EXPECT_EQ(blocks.out + blocks.err, "1\n");
    Outcome tooMany = runRunner(repeat("for i in [1] {\n", 20000) + repeat("}\n", 20000));
    EXPECT_EQ(tooMany.err, "rizari: script.rz:" + std::to_string(runner::kMaxNesting + 1) + ": " + limit + "\n");
    // An array that a loop nests stops at the same limit, never a crash; the deepest one prints.
    auto nested = [](const std::string& rounds) { return "a = 1\nfor i in range(0, " + rounds + ") {\n    a = [a]\n}\nprint(a)\n"; };
    Outcome deepestArray = runRunner(nested(std::to_string(runner::kMaxNesting)));
    EXPECT_EQ(deepestArray.out + deepestArray.err, repeat("[", runner::kMaxNesting) + "1" + repeat("]", runner::kMaxNesting) + "\n");
    Outcome deeperArray = runRunner(nested("70000"));
    EXPECT_EQ(deeperArray.status, 2);
    EXPECT_EQ(deeperArray.err, "rizari: script.rz:3: array " + limit + "\n");
    // A long sum is no nesting: its terms are added left to right.
    Outcome sum = runRunner("x = 1" + repeat(" + 1", 59999) + "\nprint(x)\n");
    EXPECT_EQ(sum.out + sum.err, "60000\n");
}

// Without a terminal to read from, the window's engine reads a pipe held open until it ends, so
// the window stays until it is closed; without a display or anything to draw no window opens to
// be closed. An image streamed to standard output arrives byte for byte (on Windows standard
// output is binary for it, so no LF gains a CR), and text after it is text again.
TEST(Runner, WindowAndStreamOutput)
{
    TempDir dir;  // before the fake engine points TMP at its own folder
    FakeEngine fake;
    ScopedEnv home("ZUHOME", fake.home());
    ScopedEnv input("RIZARI_FAKE_STDIN", "0.5");
    ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
    const std::string window = "p = CPlot()\np.data2D([1, 2], [3, 4])\np.plotting()\n";
    {
        ScopedEnv display("DISPLAY", ":9");
        runRunner(window + "p.outputType(PlotOutputType.File, \"png\", \"a.png\")\np.plotting()\n");
    }
    ScopedEnv display("DISPLAY", std::nullopt);
    runRunner(window);
    std::vector<std::string> inputs;
    for (int run = 0; run < 3; ++run) inputs.push_back(readFile(fake.runDir(run) / "input"));
    EXPECT_EQ(inputs, (std::vector<std::string>{"held", "ended", "ended"}));  // window, file, no display
    ScopedEnv image("RIZARI_FAKE_IMAGE", "1");
    Outcome r = runRunner("p = CPlot()\np.data2D([1, 2], [3, 4])\np.outputType(PlotOutputType.Stream, \"png\")\np.plotting()\nprint(1)\n");
    EXPECT_EQ(r.bytes, std::string("\x89PNG\r\n\x1a\n\0\n\r\n\n\xff\0\0\0\0IEND\xae\x42\x60\x82", 26) + "1" + kLineEnd);
    EXPECT_EQ(r.status, 0) << r.err;
#ifndef _WIN32
    // A reader that went away (no SIGPIPE ends the runner) and a full disk fail the plot with the
    // reason; the runner ends as always, its plots destroyed with their files.
    writeFile(dir.path() / "stream.rz", "p = CPlot()\np.data2D([1, 2], [3, 4])\np.outputType(PlotOutputType.Stream, \"png\")\np.plotting()\n");
    const std::string script = utf8(dir.path() / "stream.rz"), errors = utf8(dir.path() / "err.txt");
    for (const bool readerGone : {true, false}) {
        SCOPED_TRACE(readerGone);
        int ends[2] = {-1, -1};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (readerGone) {
            ASSERT_EQ(pipe(ends), 0);
            close(ends[0]);
            posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
        } else {
            posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/full", O_WRONLY, 0);
        }
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        char* const args[] = {const_cast<char*>(kRunner.c_str()), const_cast<char*>(script.c_str()), nullptr};
        pid_t runner = 0;
        ASSERT_EQ(posix_spawn(&runner, kRunner.c_str(), &actions, nullptr, args, environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        if (readerGone) close(ends[1]);
        int status = 0;
        waitpid(runner, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
        EXPECT_EQ(readFile(dir.path() / "err.txt"), std::string("Error: cannot write the image to standard output: ") +
                                                        std::strerror(readerGone ? EPIPE : ENOSPC) + "\nrizari: 1 plot failed\n");
        EXPECT_EQ(fake.temporaryFiles(), 0);
    }
#endif
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
    // A signal while the data files are written: no engine starts afterwards.
    TempDir dir;
    FakeEngine fake;
    ScopedEnv home("ZUHOME", fake.home());
    std::string script = "x = linspace(0, 1, 4000000)\np = CPlot()\n";
    for (int i = 0; i < 6; ++i) script += "p.data2D(x, x)\n";
    writeFile(dir.path() / "script.rz", script + "p.plotting()\n");
    const std::string path = (dir.path() / "script.rz").string();
    char* const args[] = {const_cast<char*>(kRunner.c_str()), const_cast<char*>(path.c_str()), nullptr};
    pid_t runner = 0;
    ASSERT_EQ(posix_spawn(&runner, kRunner.c_str(), nullptr, nullptr, args, environ), 0);
    const auto start = std::chrono::steady_clock::now();
    auto files = [&] { return fake.temporaryFiles(); };
    while (files() < 2 && std::chrono::steady_clock::now() - start < std::chrono::seconds(60))  // the script and a data file
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    kill(runner, SIGTERM);
    int status = 0;
    waitpid(runner, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_EQ(fake.runs(), 0);
    EXPECT_TRUE(fs::is_empty(fake.tmpDir()));
}

// File names that the engine would read as a command, a pipe, a data block, a pseudo-file or a
// name in the home folder are written so that they name the file, and a backslash is a character
// of a name; a data file must be a regular file (a FIFO would block). A temporary folder that
// would turn every file into one, or in which another user could swap a file, is refused.
TEST(Runner, FileNamesAreOnlyFiles)
{
    TempDir dir;  // before the fake engine points TMP at its own folder
    FakeEngine fake;
    ScopedEnv home("ZUHOME", fake.home());
    fs::create_directory(dir.path() / "~");
    std::string script = "p = CPlot()\n";
    for (const char* name : {"<touch X", "|touch X", "-", "+", "++", "$data", "~/d", "back\\slash", "plain"}) {
        writeFile(dir.path() / name, "1 2\n3 4\n");
        std::string spelled;  // in the runner's strings a backslash is escaped
        for (const char c : std::string_view(name)) spelled += c == '\\' ? std::string("\\\\") : std::string(1, c);
        script += "p.dataFile(\"" + spelled + "\")\n";
    }
    ASSERT_EQ(mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
    script += "print(p.dataFile(\"fifo\"))\n";
    Outcome r = runRunner(script + "p.outputType(PlotOutputType.File, \"png\", \"|touch X\")\nprint(p.plotting())\n"
                                   "p.outputType(PlotOutputType.File, \"png\", \"~/o.png\")\nprint(p.plotting())\n",
                          "", false, dir.path());
    EXPECT_EQ(r.out + r.err, "-1\n0\n0\nCPlot::dataFile(): \"fifo\" is not a regular file.\nrizari: 1 call refused\n");
    EXPECT_NE(fake.script(0).find("set output \"./|touch X\"\n"), std::string::npos);
    EXPECT_NE(fake.script(1).find("set output \"./~/o.png\"\n"), std::string::npos);
    const std::string written = fake.script();
    EXPECT_NE(written.find("plot \"./<touch X\" notitle with lines lw 2, \"./|touch X\" notitle with lines lw 2, "
                           "\"./-\" notitle with lines lw 2, \"./+\" notitle with lines lw 2, \"./++\" notitle with lines lw 2, "
                           "\"./$data\" notitle with lines lw 2, \"./~/d\" notitle with lines lw 2, "
                           "\"back\\\\slash\" notitle with lines lw 2, \"plain\" notitle with lines lw 2\n"),
              std::string::npos)
        << written;

    // Refused temporary folders; a sticky one that all may write, and one with a backslash in
    // its name, serve.
    for (const char* folder : {"|tmp", "~", "open", "shared", "back\\tmp"}) fs::create_directory(dir.path() / folder);
    fs::permissions(dir.path() / "open", fs::perms::all);
    fs::permissions(dir.path() / "shared", fs::perms::all | fs::perms::sticky_bit);
    writeFile(dir.path() / "script.rz", "p = CPlot()\np.data2D([1, 2], [3, 4])\nprint(p.plotting())\n");
    const std::pair<const char*, const char*> cases[] = {
        {"|tmp", "Error: unusable temporary folder \"|tmp/\"\n"},
        {"~", "Error: unusable temporary folder \"~/\"\n"},
        {"open", "Error: unusable temporary folder \"open/\" (writable by others and not sticky)\n"},
        {"shared", ""},
        {"back\\tmp", ""},
    };
    for (const auto& [folder, refusal] : cases) {
        SCOPED_TRACE(folder);
        const int runs = fake.runs();
        const fs::path tmp = dir.path() / folder;
        const auto entries = [&] { return std::distance(fs::directory_iterator(tmp), {}); };
        const auto before = entries();
        std::system(("cd '" + dir.path().string() + "' && TMP='" + folder + "' '" + kRunner + "' script.rz >out.txt 2>err.txt").c_str());
        const bool refused = *refusal != '\0';
        EXPECT_EQ(readFile(dir.path() / "out.txt"), refused ? "-1\n" : "0\n");
        EXPECT_EQ(readFile(dir.path() / "err.txt"), refused ? refusal + std::string("rizari: 1 plot failed\n") : "");
        EXPECT_EQ(fake.runs(), runs + (refused ? 0 : 1));
        EXPECT_EQ(entries(), before);  // nothing left there
    }
}

// With too few file descriptors left for a data file, the plot stops; it never plots without it.
TEST(Runner, AMissingDataFileStopsThePlot)
{
    TempDir dir;  // before the fake engine points TMP at its own folder
    FakeEngine fake;
    ScopedEnv home("ZUHOME", fake.home());
    writeFile(dir.path() / "script.rz", "p = CPlot()\np.data2D([1, 2], [3, 4])\np.data2D([1, 2], [5, 6])\nprint(p.plotting())\n");
    // The runner starts with only its standard streams open, then gets one more descriptor each round.
    std::string closeInherited;
    for (int fd = 3; fd < 64; ++fd) closeInherited += ' ' + std::to_string(fd) + ">&-";
    bool stopped = false;
    const std::string folder = dir.path().string();
    for (int descriptors = 4; descriptors <= 16 && !stopped; ++descriptors) {
        const std::string command = "cd '" + folder + "' && bash -c 'exec" + closeInherited + "; ulimit -n " +
                                    std::to_string(descriptors) + "; exec \"$0\" script.rz' '" + kRunner + "' >out.txt 2>err.txt";
        const int runs = fake.runs();
        std::system(command.c_str());
        const std::string out = readFile(dir.path() / "out.txt"), err = readFile(dir.path() / "err.txt");
        if (err.find("Error: cannot create unique filename in CPlot\n") != std::string::npos) {
            EXPECT_EQ(out, "-1\n") << descriptors;
            EXPECT_EQ(fake.runs(), runs) << descriptors;
            stopped = true;
        } else if (out == "0\n") {
            // The engine got both data sets, each in a file of its own.
            const std::string files = fake.transcript();
            EXPECT_NE(files.find("1 3\n2 4\n"), std::string::npos) << descriptors;
            EXPECT_NE(files.find("1 5\n2 6\n"), std::string::npos) << descriptors;
        }  // else too few descriptors for the runner or the engine themselves
    }
#if !defined(__SANITIZE_ADDRESS__)  // the sanitizers' runtime needs descriptors of its own
    EXPECT_TRUE(stopped);
#endif
    EXPECT_TRUE(fs::is_empty(fake.tmpDir()));
}

// A failed run never removes what is not its own: a FIFO, a link (to a device or to a file) and
// a file that was empty before stay. A FIFO is no failure after a good run.
TEST(Runner, OutputsThatAreNotOursStay)
{
    TempDir dir;  // before the fake engine points TMP at its own folder
    FakeEngine fake;
    ScopedEnv home("ZUHOME", fake.home());
    ASSERT_EQ(mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", dir.path() / "null");
    writeFile(dir.path() / "target.png", "");
    fs::create_symlink(dir.path() / "target.png", dir.path() / "link.png");
    writeFile(dir.path() / "was-empty.png", "");
    std::string script = "p = CPlot()\np.data2D([1, 2], [3, 4])\n";
    for (const char* file : {"fifo", "null", "link.png", "was-empty.png"})
        script += "p.outputType(PlotOutputType.File, \"png\", \"" + std::string(file) + "\")\nprint(p.plotting())\n";
    Outcome good = runRunner(script, "", false, dir.path());
    EXPECT_EQ(good.out, "0\n0\n-1\n-1\n");  // a FIFO and a device are not looked at; the empty files are no image
    ScopedEnv exit("RIZARI_FAKE_EXIT", "1");
    Outcome failed = runRunner(script, "", false, dir.path());
    EXPECT_EQ(failed.out, "-1\n-1\n-1\n-1\n");
    EXPECT_EQ(fs::status(dir.path() / "fifo").type(), fs::file_type::fifo);
    EXPECT_TRUE(fs::is_symlink(dir.path() / "null"));
    EXPECT_EQ(fs::status("/dev/null").type(), fs::file_type::character);
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.png"));
    EXPECT_TRUE(fs::exists(dir.path() / "target.png"));
    EXPECT_TRUE(fs::exists(dir.path() / "was-empty.png"));
}

// A loop runs many statements: a stop signal is acted on inside it.
TEST(Runner, AStopSignalEndsALoop)
{
    TempDir dir;
    writeFile(dir.path() / "script.rz", "p = CPlot()\nfor i in range(0, 2000000000) {\n    x = i\n}\n");
    const std::string script = (dir.path() / "script.rz").string();
    char* const args[] = {const_cast<char*>(kRunner.c_str()), const_cast<char*>(script.c_str()), nullptr};
    pid_t runner = 0;
    ASSERT_EQ(posix_spawn(&runner, kRunner.c_str(), nullptr, nullptr, args, environ), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(runner, SIGTERM);
    int status = 0;
    waitpid(runner, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
}
#endif

}  // namespace
}  // namespace rizari::test
