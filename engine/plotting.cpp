// plotting(): the command script of a plot (and of the cells of its subplot grid), its data files,
// and the run of the plotting engine.
#include <cerrno>
#include <cstdio>
#include <memory>

#include "data/data_file_writer.h"
#include "platform/messages.h"
#include "platform/platform.h"
#include "script/sections.h"

namespace rizari {

namespace {

constexpr const char* kNoEngine = "Error: No plotting engine has been installed.\n";
constexpr const char* kNoTemporaryDirectory =
    "Error: environment variable TMP should be set infile .zurc in user's home directory.\n";

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

// Legends given without a data set number go to the data sets that take them, in order; the
// ones left over are dropped.
void handOutQueuedLegends(PlotState& s)
{
    auto& queue = s.style.queuedLegends;
    for (DataSet& set : s.dataSets) {
        if (queue.empty()) break;
        if (!set.takesQueuedLegend) continue;
        set.legend = std::move(queue.front());
        queue.pop_front();
    }
    queue.clear();
}

// Writes each data set that has no file yet to a new temporary data file. False when no
// temporary directory can be used or a file could not be written whole; such a file is removed,
// so that the next call writes it anew.
bool writeDataFiles(PlotState& s)
{
    for (DataSet& set : s.dataSets) {
        if (set.fileName) continue;  // a caller's file, or written by an earlier call
        if (!platform::temporaryDirectory()) {
            report(kNoTemporaryDirectory);
            return false;
        }
        const auto file = platform::createTemporaryFile();
        if (!file) {
            // No name for this one: it is left without a file and tried again by the next call.
            report("Error: cannot create unique filename in CPlot\n");
            continue;
        }
        set.fileName = file->name;
        set.temporaryFile = true;
        if (WriteDataFile(set, s.dimension, file->file) == WriteResult::Failed) {
            platform::removeTemporaryFile(file->name);
            set.fileName.reset();
            set.temporaryFile = false;
            return false;
        }
    }
    return true;
}

// Whether the plot's block ends in a plot command.
bool drawsSomething(const PlotState& s) { return !s.dataSets.empty() || !s.draw.shapes.empty() || !s.draw.textLabels.empty(); }

// One plot's block, section by section in the order the engine needs them: settings that later
// lines depend on come first, then the terminal, the titles, the 3D settings and finally the
// plot command.
void writePlotBlock(ScriptWriter& w, const PlotState& s, const PlotState& top, bool inGrid)
{
    const bool is3D = s.dimension == 3;
    w.put("reset\n");
    writeAutoscale(w, s);
    writeBorder(w, s);
    writeGrid(w, s);
    writeKey(w, s);
    writeBoxWidth(w, s);
    writeBackground(w, s, inGrid);
    writeFillStyle(w, s);
    writeBars(w, s);
    writeTicsFormats(w, s);
    writeArrows(w, s);
    writeTextLabels(w, s);
    writeAxisTics(w, s);
    writeLogScales(w, s);
    writeMarginsAndLayout(w, s);
    writeTicsDirection(w, s);
    writePolarAndAngles(w, s);
    writeTimeStamp(w, s);
    writeDayMonthTics(w, s);
    writeRanges(w, s);
    writeZeroAxes(w, s);
    if (!inGrid) writeTerminalLines(w, top);  // a grid has them once, before "set multiplot"
    writeTitlesAndLabels(w, s);
    if (is3D) write3DSettings(w, s);
    writeClip(w);

    if (is3D && !s.dataSets.empty()) {
        writeColorMap(w, s);
        writeNativeCommands(w, s);
        writeTextOptions(w, s);
        writeSplotCommand(w, s);
    } else if (drawsSomething(s)) {
        w.put("set mouse\n\n");
        writeNativeCommands(w, s);
        writeTextOptions(w, s);
        writeShapeObjects(w, s);
        writeObjectRanges(w, s);
        writePlotCommand(w, s);
    }
    w.put("\n");
}

PlotImpl* nextCell(PlotImpl& plot) { return plot.nextSubplot ? &PlotAccess::impl(*plot.nextSubplot) : nullptr; }

bool anyCellDraws(PlotImpl& top)
{
    for (PlotImpl* plot = &top; plot; plot = nextCell(*plot))
        if (drawsSomething(plot->state)) return true;
    return false;
}

// A message meant for standard output goes to standard error while the image itself goes there.
void reportForOutput(const PlotState& top, std::string_view text)
{
    if (top.output.type == PlotOutputType::Stream) report(text);
    else reportToOutput(text);
}

// The block of each plot of the chain, with the data files it needs first; without an engine
// only the data files and one message per plot. Returns false when a data file could not be
// named or written.
bool writePlotBlocks(ScriptWriter& w, PlotImpl& top, bool engineFound)
{
    const bool inGrid = top.nextSubplot != nullptr;
    for (PlotImpl* plot = &top; plot; plot = nextCell(*plot)) {
        if (!writeDataFiles(plot->state)) return false;
        if (!engineFound) {
            reportForOutput(top.state, kNoEngine);
            continue;
        }
        writePlotBlock(w, plot->state, top.state, inGrid);
    }
    return true;
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
            const bool written = writePlotBlocks(none, *impl_, false);
            if (home.empty()) report("CPlot::plotting(): looked for the engine on PATH; install gnuplot or set ZUHOME\n");
            else reportf("CPlot::plotting(): looked for the engine in %s and on PATH; install gnuplot or set ZUHOME\n",
                              platform::homeEngine(home).c_str());
            return written ? 0 : -1;
        }

        if (!platform::temporaryDirectory()) {
            report("CPlot::plotting(): environment variable TMP should be set infile .zurc in user's home directory.\n");
            return -1;
        }
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
        ScriptWriter w(script.get(), dialectFor(platform::engineMajorVersion(engines.front())));

        const bool grid = impl_->nextSubplot != nullptr;
        if (grid) {
            writeTerminalLines(w, s);
            w.put("set multiplot\n");
        }
        const bool written = writePlotBlocks(w, *impl_, true);
        if (grid) w.put("unset multiplot\n");
        if (!finishScript(script, w, out) || !written) return -1;

        tellKeptFiles(*impl_);

        std::vector<std::string> args{"gnuplot", *out.script};
        // For the window the engine goes on reading its standard input after the script, which
        // keeps the window open until it is closed. Without a terminal to read from, the engine
        // reads a pipe that stays open until it ends, when a window opens at all: without a
        // display or a plot command no window would ever close and end it.
        const bool window = out.type == PlotOutputType::Window;
        if (window) args.emplace_back("-");
        const bool image = out.type == PlotOutputType::File && out.file;
        const bool imageHadContent = image && platform::fileSize(*out.file) > 0;
        platform::RunOptions options;
        options.holdInput = window && anyCellDraws(*impl_) && !platform::inputIsTerminal() && platform::hasDisplay();
        // A caller that collects the messages gets the engine's own words among them.
        options.captureErrors = MessageCapture::active();
        const platform::RunResult run = platform::runAndWait(engines.front(), args, options);
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
