// plotting(): the command script of a plot (and of the cells of its subplot grid), its data files,
// and the run of the plotting engine.
#include <cstdio>
#include <memory>

#include "data/data_file_writer.h"
#include "platform/platform.h"
#include "render/sections.h"

namespace rizari {

namespace {

constexpr const char* kNoEngine = "Error: No plotting engine has been installed.\n";
constexpr const char* kNoTemporaryDirectory =
    "Error: environment variable TMP should be set infile .zurc in user's home directory.\n";

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using ScriptFile = std::unique_ptr<std::FILE, FileCloser>;

// The installation home of the engine: the one handed to the plot, else (for programs that use
// the class directly) the interpreter's home from the environment.
std::string engineHomeOf(const PlotImpl& top)
{
    if (top.engineHome) return *top.engineHome;
    const char* home = platform::getEnv("ZUHOME");
    return home ? home : "";
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
// temporary directory can be used.
bool writeDataFiles(PlotState& s)
{
    for (DataSet& set : s.dataSets) {
        if (set.fileName) continue;  // a caller's file, or written by an earlier call
        if (!platform::temporaryDirectory()) {
            std::fputs(kNoTemporaryDirectory, stderr);
            return false;
        }
        const auto name = platform::uniqueTempName();
        if (!name) {
            // No name for this one: it is left without a file and tried again by the next call.
            std::fputs("Error: cannot create unique filename in CPlot\n", stderr);
            continue;
        }
        set.fileName = *name;
        set.temporaryFile = true;
        WriteDataFile(set, s.dimension);
    }
    return true;
}

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
    } else if (!s.dataSets.empty() || !s.draw.shapes.empty() || !s.draw.textLabels.empty()) {
        w.put("set mouse\n\n");
        writeNativeCommands(w, s);
        writeTextOptions(w, s);
        writeShapeObjects(w, s);
        writeObjectRanges(w, s);
        writePlotCommand(w, s);
    }
    w.put("\n");
}

// The block of each plot of the chain, with the data files it needs first; without an engine
// only the data files and one message per plot. Returns false when no temporary data file could
// be named.
bool writePlotBlocks(ScriptWriter& w, PlotImpl& top, bool engineFound)
{
    const bool inGrid = top.nextSubplot != nullptr;
    for (PlotImpl* plot = &top; plot; plot = plot->nextSubplot ? &PlotAccess::impl(*plot->nextSubplot) : nullptr) {
        if (!writeDataFiles(plot->state)) return false;
        if (!engineFound) {
            std::fputs(kNoEngine, stdout);
            continue;
        }
        writePlotBlock(w, plot->state, top.state, inGrid);
    }
    return true;
}

}  // namespace

int CPlot::plotting()
{
    try {
        PlotState& s = impl_->state;
        handOutQueuedLegends(s);

        const std::string home = engineHomeOf(*impl_);
        if (!platform::engineInstalled(home)) {
            // No script: the data files are still written and each plot reports the engine.
            ScriptWriter none(static_cast<std::FILE*>(nullptr));
            return writePlotBlocks(none, *impl_, false) ? 0 : -1;
        }

        if (!platform::temporaryDirectory()) {
            std::fputs("CPlot::plotting(): environment variable TMP should be set infile .zurc in user's home directory.\n",
                       stderr);
            return -1;
        }
        const auto unique = platform::uniqueTempName();
        if (!unique) std::fputs("Error: cannot create unique filename in CPlot\n", stderr);
        // The previous call's script is of no further use once this call has its own.
        OutputState& out = s.output;
        if (out.script && platform::fileExists(*out.script)) platform::removeFile(*out.script);
        out.script = unique;
        ScriptFile script(unique ? std::fopen(unique->c_str(), "w") : nullptr);
        if (!script) {
            std::fprintf(stderr, "CPlot::plotting(): can't open file %s for wgnuplot commands.\n",
                         unique ? unique->c_str() : "");
            return -1;
        }
        std::setvbuf(script.get(), nullptr, _IONBF, 0);
        ScriptWriter w(script.get());

        const bool grid = impl_->nextSubplot != nullptr;
        if (grid) {
            writeTerminalLines(w, s);
            w.put("set multiplot\n");
        }
        if (!writePlotBlocks(w, *impl_, true)) return -1;
        if (grid) w.put("unset multiplot\n");
        script.reset();

        std::vector<std::string> args{"gnuplot", *out.script};
        // For the window the engine goes on reading its standard input after the script, which
        // keeps the window open until it is closed.
        if (out.type == PlotOutputType::Window) args.emplace_back("-");
        platform::runAndWait(platform::engineProgram(home), args);

        if (out.type == PlotOutputType::Stream) CopyFileToStdout(out.file ? out.file->c_str() : nullptr);
        return 0;
    } catch (...) {
        std::fputs("CPlot::plotting(): out of memory\n", stderr);
        return -1;
    }
}

}  // namespace rizari
