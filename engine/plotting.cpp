// plotting(): writes the command script and data files of a plot (and of the cells of its grid), runs
// the plotting engine on them and tells how it went.
#include <cerrno>
#include <cstdio>
#include <memory>

#include "engine/plot_script.h"
#include "engine/session.h"
#include "platform/messages.h"
#include "platform/platform.h"

namespace rizari {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using ScriptFile = std::unique_ptr<std::FILE, FileCloser>;

// Closes the script; false, with the write error reported and the script removed, when any of its
// writes failed.
bool finishScript(ScriptFile& script, const ScriptWriter& w, OutputState& out)
{
    const int writeError = errno;
    const bool closed = std::fclose(script.release()) == 0;
    if (w.ok() && closed) return true;
    if (!w.ok()) errno = writeError;
    platform::reportWriteError(*out.script);
    platform::removeTemporaryFile(*out.script);
    out.script.reset();
    return false;
}

// The installation home of the engine: the one handed to the plot, else (for programs that use
// the class directly) the interpreter's home from the environment.
std::string engineHomeOf(const PlotImpl& top)
{
    if (top.engineHome) return *top.engineHome;
    return platform::getEnv("ZUHOME").value_or("");
}

// With RIZARI_KEEP=1 the temporary files stay for a look: their names are told.
void tellKeptFiles(PlotImpl& top)
{
    if (!platform::keepTemporaryFiles()) return;
    reportf("CPlot::plotting(): kept script %s\n", top.state.output.script->c_str());
    for (PlotImpl* plot = &top; plot; plot = nextCell(*plot))
        for (const DataSet& set : plot->state.dataSets)
            if (set.temporaryFile) reportf("CPlot::plotting(): kept data file %s\n", set.fileName->c_str());
}

// The engine's own error, if any, is above this line; false when the run failed.
bool reportRun(const platform::RunResult& run, const std::string& script)
{
    using End = platform::RunResult::End;
    if (run.end == End::Exited && run.code == 0) return true;
    if (run.end == End::NotStarted)
        reportf("CPlot::plotting(): gnuplot could not be started; script: %s\n", script.c_str());
    else if (run.end == End::Exited)
        reportf("CPlot::plotting(): gnuplot failed (exit status %d); script: %s\n", run.code, script.c_str());
    else if (run.end == End::Signaled)
        reportf("CPlot::plotting(): gnuplot failed (signal %d); script: %s\n", run.code, script.c_str());
    else
        reportf("CPlot::plotting(): gnuplot was stopped; script: %s\n", script.c_str());
    return false;
}

// A gnuplot of its own runs the script. For the window the engine goes on reading its standard
// input after the script, which keeps the window open until it is closed. Without a terminal to
// read from, the engine reads a pipe that stays open until it ends, when a window opens at all:
// without a display or a plot command no window would ever close and end it.
platform::RunResult runAlone(const std::string& engine, PlotImpl& top)
{
    const OutputState& out = top.state.output;
    std::vector<std::string> args{"gnuplot", *out.script};
    const bool window = out.type == PlotOutputType::Window;
    if (window) args.emplace_back("-");
    platform::RunOptions options;
    options.holdInput = window && anyCellDraws(top) && !platform::inputIsTerminal() && platform::hasDisplay();
    // A caller that collects the messages gets the engine's own words among them.
    options.captureErrors = MessageCapture::active();
    return platform::runAndWait(engine, args, options);
}

// In a session a window plot draws into a window of its own, numbered at its first window plot.
void selectSessionWindow(PlotImpl& top, bool inSession)
{
    OutputState& out = top.state.output;
    const bool window = inSession && out.type == PlotOutputType::Window;
    if (window && !top.sessionWindow) top.sessionWindow = session::newWindow();
    out.sessionWindow = window ? top.sessionWindow : std::nullopt;
}

platform::RunResult runInSession(const std::string& engine, const OutputState& out)
{
    const bool window = out.type == PlotOutputType::Window;
    return session::run(engine, {*out.script, window ? std::string() : session::terminalLinesOf(*out.script), window});
}

}  // namespace

int CPlot::plotting()
{
    try {
        PlotState& s = impl_->state;
        handOutQueuedLegends(s);

        const std::string home = engineHomeOf(*impl_);
        const std::vector<std::string> engines = platform::engineCandidates(home);
        if (engines.empty()) {
            // No script: the data files are still written and each plot reports the engine.
            ScriptWriter none(static_cast<std::FILE*>(nullptr));
            const bool written = writePlotScript(none, *impl_, false);
            if (home.empty()) report("CPlot::plotting(): looked for the engine on PATH; install gnuplot or set ZUHOME\n");
            else reportf("CPlot::plotting(): looked for the engine in %s and on PATH; install gnuplot or set ZUHOME\n",
                              platform::homeEngine(home).c_str());
            return written ? 0 : -1;
        }

        if (!platform::temporaryDirectory()) {
            report("CPlot::plotting(): environment variable TMP should be set infile .zurc in user's home directory.\n");
            return -1;
        }
        const std::string& engine = engines.front();
        const bool inSession = session::active();
        if (inSession) session::prepare(engine);  // it starts while the files are written
        auto created = platform::createTemporaryFile();
        if (!created) report("Error: cannot create unique filename in CPlot\n");
        // The previous call's script is of no further use once this call has its own.
        OutputState& out = s.output;
        if (out.script) platform::removeTemporaryFile(*out.script);
        out.script.reset();
        if (!created) {
            report("CPlot::plotting(): can't open file  for wgnuplot commands.\n");
            return -1;
        }
        out.script = created->name;
        ScriptFile script(created->file);
        std::setvbuf(script.get(), nullptr, _IONBF, 0);
        // The engine's version is asked only when a line of the script depends on it.
        ScriptWriter w(script.get(), [&] { return inSession ? session::majorVersion(engine) : platform::engineMajorVersion(engine); });

        selectSessionWindow(*impl_, inSession);
        const bool written = writePlotScript(w, *impl_, true);
        if (!finishScript(script, w, out) || !written) return -1;

        tellKeptFiles(*impl_);

        const bool image = out.type == PlotOutputType::File && out.file;
        const bool imageHadContent = image && platform::fileSize(*out.file) > 0;
        const platform::RunResult run = inSession ? runInSession(engine, out) : runAlone(engine, *impl_);
        report(run.errors);
        // Some engines take an unknown terminal for a warning and end well with an empty image.
        const bool imageEmpty = image && platform::fileSize(*out.file) == 0;
        const bool ranWell = reportRun(run, *out.script);
        if (ranWell && imageEmpty && anyCellDraws(*impl_))
            reportf("CPlot::plotting(): gnuplot made no image in %s; script: %s\n", out.file->c_str(), out.script->c_str());
        else if (ranWell) {
            if (out.type == PlotOutputType::Stream) CopyFileToStdout(out.file ? out.file->c_str() : nullptr);
            return 0;
        }
        // An empty image left by the failed run goes; a caller's earlier picture never does.
        if (imageEmpty && !imageHadContent) platform::removeFile(*out.file);
        return -1;
    } catch (...) {
        report("CPlot::plotting(): out of memory\n");
        return -1;
    }
}

}  // namespace rizari
