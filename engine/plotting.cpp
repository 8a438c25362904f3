// plotting(): writes the command script and data files of a plot (and of the cells of its grid), runs
// the plotting engine on them and tells how it went.
#include <cerrno>
#include <cstdio>
#include <memory>

#include "engine/engine_home.h"
#include "engine/image_check.h"
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

// A data file written thinned for its picture says so, with its points before and after.
void tellKeptDataFile(const DataSet& set)
{
    if (!set.reduction || !set.reduction->keptPoints) {
        reportf("CPlot::plotting(): kept data file %s\n", set.fileName->c_str());
        return;
    }
    const int points = set.drawnPoints();
    reportf("CPlot::plotting(): kept data file %s (reduced from %d to %llu points)\n", set.fileName->c_str(), points,
            static_cast<unsigned long long>(*set.reduction->keptPoints));
    if (set.reduction->shadeFile) reportf("CPlot::plotting(): kept image file %s (the other dots' shades)\n", set.reduction->shadeFile->c_str());
}

// With RIZARI_KEEP=1 the temporary files stay for a look: their names are told.
void tellKeptFiles(PlotImpl& top)
{
    if (!platform::keepTemporaryFiles()) return;
    reportf("CPlot::plotting(): kept script %s\n", top.state.output.script->c_str());
    for (PlotImpl* plot = &top; plot; plot = nextCell(*plot))
        for (const DataSet& set : plot->state.dataSets)
            if (set.temporaryFile) tellKeptDataFile(set);
}

// How a message names the command script: it is removed with the plot, or when the plot draws
// again, unless RIZARI_KEEP=1 keeps it.
std::string scriptNote(const std::string& script)
{
    return "script: " + script + (platform::keepTemporaryFiles() ? "" : " (set RIZARI_KEEP=1 to keep it)");
}

// The engine's own error, if any, is above this line; false when the run failed.
bool reportRun(const platform::RunResult& run, const std::string& script)
{
    using End = platform::RunResult::End;
    if (run.end == End::Exited && run.code == 0) return true;
    const std::string note = scriptNote(script);
    if (run.end == End::NotStarted)
        reportf("CPlot::plotting(): gnuplot could not be started; %s\n", note.c_str());
    else if (run.end == End::Exited)
        reportf("CPlot::plotting(): gnuplot failed (exit status %d); %s\n", run.code, note.c_str());
    else if (run.end == End::Signaled)
        reportf("CPlot::plotting(): gnuplot failed (signal %d); %s\n", run.code, note.c_str());
    else if (run.end == End::TimedOut)
        reportf("CPlot::plotting(): gnuplot did not finish the plot within %g s and was ended; %s\n", run.code / 1000.0,
                note.c_str());
    else
        reportf("CPlot::plotting(): gnuplot was stopped; %s\n", note.c_str());
    return false;
}

// Without an engine the data files are still written, and each plot says there is no engine.
int plotWithoutEngine(PlotImpl& top, const std::string& home)
{
    ScriptWriter none(static_cast<std::FILE*>(nullptr));
    const bool written = writePlotScript(none, top, false);
    if (home.empty()) report("CPlot::plotting(): looked for the engine on PATH; install gnuplot or set ZUHOME\n");
    else reportf("CPlot::plotting(): looked for the engine in %s and on PATH; install gnuplot or set ZUHOME\n",
                 platform::homeEngine(home).c_str());
    return written ? 0 : -1;
}

// A file output needs a terminal and a file, the stream a terminal: without them the engine would
// list its terminals and wait for a key. False after the message.
bool outputIsNamed(const OutputState& out)
{
    const bool terminal = out.terminal && !out.terminal->empty();
    const bool file = out.file && !out.file->empty();
    if (out.type == Output::File && (!terminal || !file)) {
        report("CPlot::plotting(): the file output has no terminal or no file name; call outputType(PlotOutputType.File, "
               "TERMINAL, FILE) first\n");
        return false;
    }
    if (out.type == Output::Stream && (!terminal || !file)) {
        report("CPlot::plotting(): the stream output has no terminal or no file; call outputType(PlotOutputType.Stream, "
               "TERMINAL) first\n");
        return false;
    }
    return true;
}

// The temporary folder, when there is one that the engine reads as a folder (a name that begins
// with a command, a data block, the home folder or an option would turn every file in it into
// one) and in which no other user can swap a file before the engine opens it by name. None after
// the message.
std::optional<std::string> usableTemporaryFolder()
{
    const auto folder = platform::temporaryDirectory();
    if (!folder) {
        report("CPlot::plotting(): environment variable TMP should be set infile .zurc in user's home directory.\n");
        return std::nullopt;
    }
    if (engineMisreads(*folder + "rizari") || folder->front() == '-') {
        reportf("Error: unusable temporary folder \"%s\"\n", folder->c_str());
        return std::nullopt;
    }
    if (platform::othersMayReplaceFiles(*folder)) {
        reportf("Error: unusable temporary folder \"%s\" (writable by others and not sticky)\n", folder->c_str());
        return std::nullopt;
    }
    return folder;
}

// The layout probe's script (engine/layout_probe.h) run where the plot will be drawn, its
// messages kept from the caller; true when it ran without an error.
bool probeRun(const std::string& engine, const std::string& script, bool inSession, const EngineEffects& effects)
{
    std::optional<platform::RunResult> run;
    if (inSession && !effects.callerCode) run = session::run(engine, {script, effects, false});
    if (!run) {
        platform::RunOptions options;
        options.captureErrors = true;
        run = platform::runAndWait(engine, {"gnuplot", script}, options);
    }
    return run->end == platform::RunResult::End::Exited && run->code == 0;
}

// Writes the command script and the data files. A stop signal that arrives meanwhile is held
// back, and when one waits no engine is started. False after the message.
bool writeScriptAndData(PlotImpl& top, const std::string& engine, bool inSession, EngineEffects& effects)
{
    const platform::DeferredStopSignals stop;
    OutputState& out = top.state.output;
    auto created = platform::createTemporaryFile();
    if (!created) report("Error: cannot create unique filename in CPlot\n");
    // The previous call's script is of no further use once this call has its own.
    if (out.script) platform::removeTemporaryFile(*out.script);
    out.script.reset();
    if (!created) {
        report("CPlot::plotting(): can't open file  for wgnuplot commands.\n");
        return false;
    }
    out.script = created->name;
    ScriptFile script(created->file);
    std::setvbuf(script.get(), nullptr, _IONBF, 0);
    // The engine's version is asked only when a line of the script depends on it.
    // A session that cannot use its engine answers 0, and the engine is asked on its own.
    const ScriptWriter::VersionSource version = [&] {
        const int major = inSession ? session::majorVersion(engine) : 0;
        return major != 0 ? major : platform::engineMajorVersion(engine);
    };
    ScriptWriter w(script.get(), version);
    w.noteEffects(effects);
    const LayoutProbe probe{version, [&](const std::string& probeScript, const EngineEffects& probeEffects) {
                                return probeRun(engine, probeScript, inSession, probeEffects);
                            }};
    const bool written = writePlotScript(w, top, true, &stop, &probe);
    if (!finishScript(script, w, out) || !written) {
        if (stop.stopRequested()) report("CPlot::plotting(): stopped by a signal before gnuplot started\n");
        return false;
    }
    if (stop.stopRequested()) {
        reportf("CPlot::plotting(): stopped by a signal before gnuplot started; %s\n", scriptNote(*out.script).c_str());
        return false;
    }
    return true;
}

// The picture file of a file or stream output and what was there before the run.
struct ImageWatch {
    std::string path;
    std::optional<platform::FileState> before;
    bool ours;  // the stream's own temporary file
};

std::optional<ImageWatch> watchImage(const OutputState& out)
{
    if (out.type == Output::Window || !out.file) return std::nullopt;
    return ImageWatch{*out.file, platform::fileState(*out.file), out.type == Output::Stream};
}

// The picture file (or "the window") is left without a picture.
void reportNoImage(const std::string& picture, bool drawsSomething, const std::string& script)
{
    reportf("CPlot::plotting(): gnuplot made no image in %s%s; %s\n", picture.c_str(), drawsSomething ? "" : " (the plot has no data)",
            scriptNote(script).c_str());
}

// After a good run: false (after its message) when the run left an empty file or a picture cut
// short. A device, a FIFO or another file that is not a regular one is not looked at, nor a file
// that the engine did not make at all (gnuplot always makes it, or fails).
bool pictureMade(const ImageWatch& image, const OutputState& out, const std::string& script, bool drawsSomething)
{
    const auto after = platform::fileState(image.path);
    if (!after || !after->regular) return true;
    switch (checkImage(image.path, out)) {
    case ImageState::Complete: return true;
    case ImageState::Incomplete:
        reportf("CPlot::plotting(): gnuplot left an incomplete image in %s; %s\n", image.path.c_str(), scriptNote(script).c_str());
        return false;
    case ImageState::Empty: break;
    }
    reportNoImage(image.path, drawsSomething, script);
    return false;
}

// After a failed plot, the empty picture file that this call created or emptied goes. Nothing
// else does: not a file that was empty before, not one that another program wrote or put in its
// place since, not a link, a device or a FIFO.
void removeLeftEmptyImage(const ImageWatch& image)
{
    if (image.ours) return;  // removed with the plot
    const auto after = platform::fileState(image.path);
    if (!after || !after->regular || after->link || after->size != 0) return;
    const auto& before = image.before;
    const bool created = !before;
    const bool emptied = before && before->regular && !before->link && before->size > 0 && before->sameFile(*after);
    if (created || emptied) platform::removeIfStillEmpty(image.path, *after);
}

// A gnuplot of its own runs the script. For the window the engine goes on reading its standard
// input after the script, which keeps the window open until it is closed. Without a terminal to
// read from, the engine reads a pipe that stays open until it ends, when a window opens at all:
// without a display or a plot command no window would ever close and end it.
platform::RunResult runAlone(const std::string& engine, PlotImpl& top)
{
    const OutputState& out = top.state.output;
    std::vector<std::string> args{"gnuplot", *out.script};
    const bool window = out.type == Output::Window;
    if (window) args.emplace_back("-");
    platform::RunOptions options;
    options.holdInput = window && anyCellDraws(top) && !platform::inputIsTerminal() && platform::hasDisplay();
    // A caller that collects the messages gets the engine's own words among them.
    options.captureErrors = MessageCapture::active();
    return platform::runAndWait(engine, args, options);
}

// A live window plot draws into a window of its own plot, numbered at its first live window plot.
void selectSessionWindow(PlotImpl& top, bool inSession)
{
    OutputState& out = top.state.output;
    const bool window = inSession && out.type == Output::Window;
    if (window && !top.sessionWindow) top.sessionWindow = session::newWindow();
    out.sessionWindow = window ? top.sessionWindow : std::nullopt;
}

// The session's engine runs the plot, or a gnuplot of its own: always the window plots that are
// not live, the file and stream plots whose code could set anything in the engine, and those
// that the session hands back.
platform::RunResult runEngine(const std::string& engine, PlotImpl& top, bool inSession, const EngineEffects& effects)
{
    const OutputState& out = top.state.output;
    const bool window = out.type == Output::Window;
    if (inSession && (window || !effects.callerCode))
        if (auto run = session::run(engine, {*out.script, effects, window})) return std::move(*run);
    return runAlone(engine, top);
}

}  // namespace

int CPlot::plotting()
{
    try {
        PlotState& s = impl_->state;
        s.output.engineRun.reset();
        handOutQueuedLegends(s);

        const std::string home = engineHomeOf(*impl_);
        const std::vector<std::string> engines = platform::engineCandidates(home);
        if (engines.empty()) return plotWithoutEngine(*impl_, home);

        OutputState& out = s.output;
        const std::string& engine = engines.front();
        if (!outputIsNamed(out) || !usableTemporaryFolder()) return -1;
        const bool window = out.type == Output::Window;
        const bool inSession = window ? session::forWindows(out.liveWindow) : session::forFiles();
        if (inSession) session::prepare(engine);  // it starts while the files are written
        selectSessionWindow(*impl_, inSession);
        EngineEffects effects;
        if (!writeScriptAndData(*impl_, engine, inSession, effects)) return -1;
        tellKeptFiles(*impl_);
        // A window with nothing to draw would never open, and gnuplot would wait at its prompt.
        if (window && !anyCellDraws(*impl_)) {
            reportNoImage("the window", false, *out.script);
            return -1;
        }

        const auto image = watchImage(out);
        const platform::RunResult& run = out.engineRun.emplace(runEngine(engine, *impl_, inSession, effects));
        report(run.errors);
        if (reportRun(run, *out.script) && (!image || pictureMade(*image, out, *out.script, anyCellDraws(*impl_)))) {
            if (out.type == Output::Stream) return CopyFileToStdout(out.file->c_str());
            return 0;
        }
        if (image) removeLeftEmptyImage(*image);
        return -1;
    } catch (...) {
        report("CPlot::plotting(): out of memory\n");
        return -1;
    }
}

}  // namespace rizari
