// rizari [OPTIONS] SCRIPT: runs a plotting script against the module, calling its entry points
// the way the interpreter does. SCRIPT "-" reads standard input.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/unicode.h"
#include "runner/builtins.h"
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

// What the command line asks for.
struct Options {
    std::string modulePath;
    std::string script;
    std::optional<const char*> session;  // the value of RIZARI_SESSION
    std::optional<const char*> reduce;   // the value of RIZARI_REDUCE
    bool optionsEnded = false;          // after "--" every argument is the script
    void (*answer)() = nullptr;         // an option that answers at once (--help) and runs nothing
};

// The value of RIZARI_REDUCE for --reduce's word; none for another word.
std::optional<const char*> reduceSwitch(const std::string& word)
{
    if (word == "on") return "1";
    if (word == "off") return "0";
    return std::nullopt;
}

void showHelp();
void showVersion() { std::fputs("rizari " RIZARI_VERSION "\n", stdout); }
void listMembers();

// One option of the command line: its name, the placeholder of its value (empty for a switch), and
// either what it does to the options (false for a wrong value) or the answer it prints; its help
// lines (the lines after the first are indented under it).
struct Option {
    std::string_view name;
    std::string_view value;
    bool (*apply)(Options& options, const std::string& value);
    void (*answer)();
    std::string_view help;
    bool excludesPrevious = false;  // the previous option's other choice: "[--session | --no-session]"
};

const Option kOptions[] = {
    {"--module", "PATH", [](Options& o, const std::string& path) { o.modulePath = path; return true; }, nullptr,
     "the module to load"},
    {"--session", "", [](Options& o, const std::string&) { return !std::exchange(o.session, "1"); }, nullptr,
     "window plots are live too: one window per plot object, redrawn in place\n"
     "by each plotting(), and rizari ends once the windows are closed; the same\n"
     "as RIZARI_SESSION=1"},
    {"--no-session", "", [](Options& o, const std::string&) { return !std::exchange(o.session, "0"); }, nullptr,
     "a gnuplot of its own for each file and stream plot (by default one\n"
     "gnuplot draws them all); the same as RIZARI_SESSION=0", true},
    {"--reduce", "on|off", [](Options& o, const std::string& word) { o.reduce = reduceSwitch(word); return o.reduce.has_value(); }, nullptr,
     "thin large data sets to the points the picture can show: on for\n"
     "every output, off for none; without it raster images (png, gif,\n"
     "jpeg) are thinned, windows and vector images are not; the same as\n"
     "RIZARI_REDUCE=1 or 0"},
    {"--", "", [](Options& o, const std::string&) { o.optionsEnded = true; return true; }, nullptr,
     "ends the options: the next argument is the script, also one named -x.rz"},
    {"--help", "", nullptr, showHelp, "show this help"},
    {"--members", "", nullptr, listMembers, "list the members a script can call, with the kinds of their arguments"},
    {"--version", "", nullptr, showVersion, "show the version"},
};

const Option* findOption(const std::string& arg)
{
    for (const Option& option : kOptions)
        if (arg == option.name) return &option;
    return nullptr;
}

std::string optionTerm(const Option& option)
{
    return std::string(option.name) + (option.value.empty() ? "" : " " + std::string(option.value));
}

// "usage: rizari [--module PATH] ... SCRIPT | --help ...": the options that set something before
// the script, those that answer after it.
std::string usage()
{
    std::string line = "usage: rizari";
    for (const Option& option : kOptions) {
        if (!option.apply || option.name == "--") continue;
        if (option.excludesPrevious) line.insert(line.size() - 1, " | " + optionTerm(option));
        else line += " [" + optionTerm(option) + "]";
    }
    line += " [--] SCRIPT";
    for (const Option& option : kOptions)
        if (option.answer) line += " | " + optionTerm(option);
    return line + "\n";
}

// The options, or none after a usage error.
std::optional<Options> parseOptions(const std::vector<std::string>& args)
{
    Options options;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const Option* option = options.optionsEnded ? nullptr : findOption(arg);
        if (option && option->answer) {
            options.answer = option->answer;
            return options;
        }
        if (option) {
            if (!option->value.empty() && ++i == args.size()) return std::nullopt;
            if (!option->apply(options, option->value.empty() ? std::string() : args[i])) return std::nullopt;
        } else if (options.script.empty() && (options.optionsEnded || arg == "-" || arg.rfind('-', 0) != 0)) {
            options.script = arg;
        } else {
            return std::nullopt;
        }
    }
    if (options.script.empty()) return std::nullopt;
    return options;
}

// A section of --help made of terms and their descriptions, each description's lines indented
// alike.
std::string termSection(const std::vector<std::pair<std::string, std::string_view>>& rows, std::size_t width)
{
    std::string out;
    for (const auto& [term, description] : rows) {
        out += "  " + term + std::string(width > term.size() ? width - term.size() : 0, ' ') + "  ";
        for (char c : description) out += c == '\n' ? "\n" + std::string(width + 4, ' ') : std::string(1, c);
        out += '\n';
    }
    return out;
}

std::string builtinSection()
{
    std::vector<std::pair<std::string, std::string_view>> rows;
    std::size_t width = 0;
    for (const Builtin& builtin : allBuiltins()) {
        rows.emplace_back(builtin.signature(), builtin.help);
        width = std::max(width, rows.back().first.size());
    }
    return termSection(rows, width);
}

std::string optionSection()
{
    constexpr std::size_t kTermWidth = 13;
    std::vector<std::pair<std::string, std::string_view>> rows;
    for (const Option& option : kOptions) rows.emplace_back(optionTerm(option), option.help);
    return termSection(rows, kTermWidth);
}

// Also the text of the manual page, which help2man makes from it: a line ending in ':' over
// indented lines is a heading, "Options:" and "Environment:" start sections of their own, and an
// indented line with two spaces in a row is a term and its description.
void showHelp()
{
    const std::string text = usage() + R"(
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
  members     p.member(args), e.g. p.title("Sine"); rizari --members lists them all;
              constants as PlotAxis.X; more or fewer arguments than a member takes are
              an error
  nesting     expressions, blocks and arrays nest at most )" +
                             std::to_string(kMaxNesting) + R"( deep; the whole script is
              parsed before it runs
The reference of the language and of every member is docs/reference.md, installed as
)" RIZARI_INSTALLED_DOC_DIR R"(/reference.md.

Built-ins:
)" + builtinSection() + R"(
Exit status:
  0  the script ran to its end
  1  it ran to its end, but a member refused an argument or a plotting() failed (a last
     line on standard error counts them: rizari: 2 calls refused, 1 plot failed)
  2  an error in the script (reported as FILE:LINE), or a usage error

Options:
)" + optionSection() + R"(
Environment:
  ZUHOME         the engine is ZUHOME/sbin/gnuplot (on Windows ZUHOME\sbin\wgnuplot.exe),
                 else the one on PATH
  TMP            the folder for the command scripts and data files (else TEMP, else TMPDIR)
  RIZARI_KEEP=1  keep the command scripts and data files
  RIZARI_SESSION=1|0  as --session or --no-session, for any program that loads the module
  RIZARI_PLOT_LIMIT=S  a plot that the session's gnuplot has not finished after S seconds
                 (default 600; 0 waits for ever) ends that gnuplot and fails
  RIZARI_REDUCE=1|0  as --reduce on|off, for any program that loads the module
  RIZARI_STYLE=clean  the clean look for every new plot (see styleSheet); classic is the default
  RIZARI_MODULE  the module, else librizari.dl beside rizari, else the one in
                 )" RIZARI_INSTALLED_MODULE_FULL_DIR "\n";
    std::fputs(text.c_str(), stdout);
}

// The lines of the script file (a regular file; - is standard input); false when it cannot be read.
bool readScript(const std::string& file, std::vector<std::string>& lines)
{
    std::ifstream in;
    std::istream* src = &std::cin;
    if (file != "-") {
        std::error_code error;
        if (!std::filesystem::is_regular_file(unicode::utf8Path(file), error)) return false;  // not a folder or a device
        in.open(unicode::utf8Path(file));
        if (!in) return false;
        src = &in;
    }
    for (std::string line; std::getline(*src, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();  // scripts saved with CRLF line ends
        lines.push_back(line);
    }
    return !src->bad();
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
    // A reader that goes away is a failed write, not a stop: the plot that streams to it fails,
    // and the runner ends as always, its plots destroyed with their files.
    std::signal(SIGPIPE, SIG_IGN);
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

// The switches that the module reads from the environment, as --session and --reduce set them.
bool applySwitches(const Options& options)
{
    if ((options.session && !setSwitch("RIZARI_SESSION", *options.session)) || (options.reduce && !setSwitch("RIZARI_REDUCE", *options.reduce))) {
        std::fputs("rizari: no memory for the environment of --session or --reduce\n", stderr);
        return false;
    }
    return true;
}

void reportScriptError(const std::string& shownName, const ScriptError& e)
{
    std::fflush(stdout);
    std::fprintf(stderr, "rizari: %s:%llu: %s\n", shownName.c_str(), static_cast<unsigned long long>(e.line), e.what());
}

// Runs the statements and destroys every plot; the exit status.
int runProgram(const std::vector<Stmt>& program, const Module& module, const std::string& shownName)
{
    int status = 0;
    Evaluator evaluator(module);
    // Loops run many statements: a stop signal is acted on before each of them.
    evaluator.beforeEachStatement([&evaluator] {
        if (pendingSignal) stopOnSignal(evaluator, pendingSignal);
    });
    try {
        for (const Stmt& statement : program) evaluator.execute(statement);
    } catch (const ScriptError& e) {
        reportScriptError(shownName, e);
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
    return status;
}

// Reads and parses the whole script, loads the module and runs the script; the exit status.
int runScript(const Options& options)
{
    if (!applySwitches(options)) return kScriptFailure;
    std::vector<std::string> lines;
    if (!readScript(options.script, lines)) {
        std::fprintf(stderr, "rizari: cannot read %s\n", options.script.c_str());
        return kScriptFailure;
    }
    const std::string shownName = options.script == "-" ? "<stdin>" : options.script;
    // The whole script is parsed before anything runs, so a syntax error runs nothing.
    std::vector<Stmt> program;
    try {
        program = parseScript(lines);
    } catch (const ScriptError& e) {
        reportScriptError(shownName, e);
        return kScriptFailure;
    }
    std::unique_ptr<Module> module;
    try {
        module = std::make_unique<Module>(options.modulePath.empty() ? defaultModulePath() : options.modulePath);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rizari: %s\n", e.what());
        return kScriptFailure;
    }
    catchStopSignals();
    int status = runProgram(program, *module, shownName);
    // A session's engine ends with the module, once the windows it drew are closed; a signal
    // while the runner waits for that ends the engine and then the runner.
    module.reset();
    if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && !pendingSignal) {
        std::fputs("rizari: cannot write standard output\n", stderr);
        if (status == 0) status = kPlotFailed;
    }
    if (pendingSignal) {
        std::signal(pendingSignal, SIG_DFL);
        std::raise(pendingSignal);
    }
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::optional<Options> options = parseOptions(unicode::arguments(argc, argv));
    if (!options) {
        std::fputs(usage().c_str(), stderr);
        return kScriptFailure;
    }
    if (options->answer) {
        options->answer();
        return 0;
    }
    return runScript(*options);
}
