// rizari [--module PATH] SCRIPT: runs a plotting script against the module, calling its entry
// points the way the interpreter does. SCRIPT "-" reads standard input.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/unicode.h"
#include "runner/evaluator.h"
#include "runner/member_table.h"
#include "runner/module.h"
#include "runner/parser.h"
#include "runner/script_error.h"

using namespace rizari;
using namespace rizari::runner;

namespace {

constexpr int kPlotFailed = 1;  // also when a member refused an argument
constexpr int kScriptFailure = 2;

constexpr const char* kUsage =
    "usage: rizari [--module PATH] [--session | --no-session] [--reduce on|off] SCRIPT | --help | --members | --version\n";

// Also the text of the manual page, which help2man makes from it: a line ending in ':' over
// indented lines is a heading, "Options:" and "Environment:" start sections of their own, and an
// indented line with two spaces in a row is a term and its description.
std::string helpText()
{
    return std::string(R"(
Runs a plotting script (SCRIPT, or - for standard input) with the rizari module.

Language:
  statements  one a line: name = expr | expr | print(expr, ...) | delete name;
              # starts a comment; a trailing ; is allowed
  blocks      for name in expr { | if cond { | } else if cond { | } else { | }: the opening
              line ends in {, a line } closes the block; for runs once for each value (or
              row) of an array, or each int of a range(); cond is a number, 0 is false
  values      ints (12), doubles (1.5, 1e3, .5), texts ("..." with \" \\ \n \r \t), null,
              arrays [1, 2] and [[1, 2], [3, 4]]
  operators   loosest first: or, and, not; == != < <= > >= (1 or 0; no chains); + -;
              * / %; unary -; ^ (right to left); a[i], a[i:j] (from 0, negative from the
              end; texts too); p.member(). Arrays work element by element; text + text
              joins texts; a % b has the sign of b
  built-ins   CPlot(), linspace(a, b, n), range(first, end[, step]), random(n, seed) (n
              values in [0, 1), the same everywhere for a seed), len(a), str(value[,
              format]) (format: one printf conversion such as %d, %.2f or %g), sin cos tan
              exp log sqrt abs floor, meshx(x, y), meshy(x, y)
  members     p.member(args), e.g. p.title("Sine"); rizari --members lists them all;
              constants as PlotAxis.X; more or fewer arguments than a member takes are
              an error
  nesting     expressions and blocks nest at most )") +
           std::to_string(kMaxNesting) + R"( deep; the whole script is parsed before
              it runs
The reference of the language and of every member is docs/reference.md, installed as
)" RIZARI_INSTALLED_DOC_DIR R"(/reference.md.

Exit status:
  0  the script ran to its end
  1  it ran to its end, but a member refused an argument or a plotting() failed (a last
     line on standard error counts them: rizari: 2 calls refused, 1 plot failed)
  2  an error in the script (reported as FILE:LINE), or a usage error

Options:
  --module PATH  the module to load
  --session      window plots are live too: one window per plot object, redrawn in place
                 by each plotting(), and rizari ends once the windows are closed; the same
                 as RIZARI_SESSION=1
  --no-session   a gnuplot of its own for each file and stream plot (by default one
                 gnuplot draws them all); the same as RIZARI_SESSION=0
  --reduce on|off  thin large data sets to the points the picture can show: on for
                 every output, off for none; without it raster images (png, gif,
                 jpeg) are thinned, windows and vector images are not; the same as
                 RIZARI_REDUCE=1 or 0
  --members      list the members a script can call, with the kinds of their arguments
  --help         show this help
  --version      show the version

Environment:
  ZUHOME         the engine is ZUHOME/sbin/gnuplot (on Windows ZUHOME\sbin\wgnuplot.exe),
                 else the one on PATH
  TMP            the folder for the command scripts and data files (else TEMP, else TMPDIR)
  RIZARI_KEEP=1  keep the command scripts and data files
  RIZARI_SESSION=1|0  as --session or --no-session, for any program that loads the module
  RIZARI_PLOT_LIMIT=S  a plot that the session's gnuplot has not finished after S seconds
                 (default 600; 0 waits for ever) ends that gnuplot and fails
  RIZARI_REDUCE=1|0  as --reduce on|off, for any program that loads the module
  RIZARI_MODULE  the module, else librizari.dl beside rizari, else the one in
                 )" RIZARI_INSTALLED_MODULE_FULL_DIR "\n";
}

bool readLines(const std::string& file, std::vector<std::string>& lines)
{
    std::ifstream in;
    std::istream* src = &std::cin;
    if (file != "-") {
        in.open(unicode::utf8Path(file));
        if (!in) return false;
        src = &in;
    }
    for (std::string line; std::getline(*src, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();  // scripts saved with CRLF line ends
        lines.push_back(line);
    }
    return true;
}

// "int", "double" ... joined, each after ", " (or "" for the first of a list).
std::string kindList(const std::vector<Kind>& kinds, bool afterOthers)
{
    std::string out;
    for (Kind k : kinds) {
        if (afterOthers || !out.empty()) out += ", ";
        out += kindName(k);
    }
    return out;
}

// One member as a script calls it: result, name, fixed argument kinds and the optional forms.
std::string signature(const MemberInfo& m)
{
    if (m.tail == Tail::Lifecycle) return m.result == Result::Instance ? "p = CPlot()" : "delete p";
    static const char* const results[] = {"", "int ", "text ", "CPlot "};
    std::string out = results[static_cast<int>(m.result)] + m.name + "(" + kindList(m.fixed, false);
    const bool more = !m.fixed.empty();
    switch (m.tail) {
    case Tail::Forms: {
        std::string closing;
        for (std::size_t k = 1; k < m.forms.size(); ++k) {
            const std::vector<Kind>& previous = m.forms[k - 1];
            out += (out.back() == '(' ? "[" : " [") + kindList({m.forms[k].begin() + static_cast<std::ptrdiff_t>(previous.size()), m.forms[k].end()},
                                   more || k > 1);
            closing += "]";
        }
        out += closing;
        break;
    }
    default: out += entry::tailSyntax(m.tail); break;
    }
    return out + ")";
}

// "3 calls refused, 1 plot failed"; empty when there were none.
std::string countLine(std::size_t refused, std::size_t failed)
{
    auto counted = [](std::size_t n, const char* one, const char* many, const char* what) {
        return std::to_string(n) + " " + (n == 1 ? one : many) + " " + what;
    };
    std::string out;
    if (refused > 0) out = counted(refused, "call", "calls", "refused");
    if (failed > 0) out += (out.empty() ? "" : ", ") + counted(failed, "plot", "plots", "failed");
    return out;
}

void listMembers()
{
    std::string group;
    for (const MemberInfo& m : allMembers()) {
        if (m.group != group) {
            group = m.group;
            std::printf("%s:\n", group.c_str());
        }
        std::printf("  %s\n", signature(m).c_str());
    }
}

// The module reads its switches from the environment, as any host's would.
bool setSwitch(const char* name, const char* value)
{
#ifdef _WIN32
    return _putenv_s(name, value) == 0;
#else
    return setenv(name, value, 1) == 0;
#endif
}

// The value of RIZARI_REDUCE for --reduce's word; none for another word.
std::optional<const char*> reduceSwitch(const std::string& word)
{
    if (word == "on") return "1";
    if (word == "off") return "0";
    return std::nullopt;
}

// A signal that asks the runner to stop is noted here and acted on between statements; its
// arrival also ends a wait for the engine (the handler does not restart system calls). A second
// one while the first waits for a long statement to end stops the runner at once, without the
// clean-up.
volatile std::sig_atomic_t pendingSignal = 0;

extern "C" void noteSignal(int signal)
{
    if (pendingSignal != 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
    pendingSignal = signal;
}

void catchStopSignals()
{
#ifndef _WIN32
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
#else
    for (int signal : {SIGINT, SIGTERM, SIGBREAK}) std::signal(signal, noteSignal);  // Ctrl+C, Ctrl+Break
#endif
}

// Destroys every plot, which removes their temporary files, and dies of the signal.
[[noreturn]] void stopOnSignal(Evaluator& evaluator, int signal)
{
    evaluator.destroyAll();
    std::fflush(stdout);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    std::_Exit(128 + signal);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args = unicode::arguments(argc, argv);
    std::string modulePath;
    std::string script;
    std::optional<const char*> session;
    std::optional<const char*> reduce;
    bool usageError = false;
    for (std::size_t i = 1; i < args.size() && !usageError; ++i) {
        const std::string& arg = args[i];
        if (arg == "--help") {
            std::fputs(kUsage, stdout);
            std::fputs(helpText().c_str(), stdout);
            return 0;
        }
        if (arg == "--version") {
            std::fputs("rizari " RIZARI_VERSION "\n", stdout);
            return 0;
        }
        if (arg == "--members") {
            listMembers();
            return 0;
        }
        if (arg == "--module" && i + 1 < args.size()) modulePath = args[++i];
        else if (arg == "--session" || arg == "--no-session") {
            usageError = session.has_value();
            session = arg == "--session" ? "1" : "0";
        }
        else if (arg == "--reduce" && i + 1 < args.size()) {
            reduce = reduceSwitch(args[++i]);
            usageError = !reduce;
        }
        else if (script.empty() && (arg == "-" || arg.rfind("-", 0) != 0)) script = arg;
        else usageError = true;
    }
    if (usageError || script.empty()) {
        std::fputs(kUsage, stderr);
        return kScriptFailure;
    }
    if (modulePath.empty()) modulePath = defaultModulePath();
    if ((session && !setSwitch("RIZARI_SESSION", *session)) || (reduce && !setSwitch("RIZARI_REDUCE", *reduce))) {
        std::fputs("rizari: no memory for the environment of --session or --reduce\n", stderr);
        return kScriptFailure;
    }

    std::vector<std::string> lines;
    if (!readLines(script, lines)) {
        std::fprintf(stderr, "rizari: cannot read %s\n", script.c_str());
        return kScriptFailure;
    }
    const std::string shownName = script == "-" ? "<stdin>" : script;

    // The whole script is parsed before anything runs, so a syntax error runs nothing.
    std::vector<Stmt> program;
    try {
        program = parseScript(lines);
    } catch (const ScriptError& e) {
        std::fprintf(stderr, "rizari: %s:%zu: %s\n", shownName.c_str(), e.line, e.what());
        return kScriptFailure;
    }

    std::unique_ptr<Module> module;
    try {
        module = std::make_unique<Module>(modulePath);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rizari: %s\n", e.what());
        return kScriptFailure;
    }

    catchStopSignals();
    int status = 0;
    {
        Evaluator evaluator(*module);
        // Loops run many statements: a stop signal is acted on before each of them.
        evaluator.beforeEachStatement([&evaluator] {
            if (pendingSignal) stopOnSignal(evaluator, pendingSignal);
        });
        try {
            for (const Stmt& statement : program) evaluator.execute(statement);
        } catch (const ScriptError& e) {
            std::fflush(stdout);
            std::fprintf(stderr, "rizari: %s:%zu: %s\n", shownName.c_str(), e.line, e.what());
            status = kScriptFailure;
        }
        if (pendingSignal) stopOnSignal(evaluator, pendingSignal);
        evaluator.destroyAll();
        if (status == 0 && (evaluator.refusedCalls() > 0 || evaluator.failedPlots() > 0)) status = kPlotFailed;
        const std::string counts = countLine(evaluator.refusedCalls(), evaluator.failedPlots());
        if (!counts.empty()) {
            std::fflush(stdout);
            std::fprintf(stderr, "rizari: %s\n", counts.c_str());
        }
    }
    // A session's engine ends with the module, once the windows it drew are closed; a signal
    // while the runner waits for that ends the engine and then the runner.
    module.reset();
    std::fflush(stdout);
    if (pendingSignal) {
        std::signal(pendingSignal, SIG_DFL);
        std::raise(pendingSignal);
    }
    return status;
}
