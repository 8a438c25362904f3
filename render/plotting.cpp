// plotting(): the command script of a plot (and of the cells of its subplot grid), its data files,
// and the run of the plotting engine.
#include <cstdio>
#include <memory>

#include "data/data_file_writer.h"
#include "platform/platform.h"
#include "plot/cplot.h"
#include "render/script_writer.h"

namespace rizari {

namespace {

constexpr const char* kNoEngine = "Error: No plotting engine has been installed.\n";

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using ScriptFile = std::unique_ptr<std::FILE, FileCloser>;

// The installation home of the engine: the one handed to the plot, else (for programs that use
// the class directly) the interpreter's home from the environment.
std::string engineHomeOf(const CPlot& top)
{
    if (top.engineHome()) return *top.engineHome();
    const char* home = platform::getEnv("ZUHOME");
    return home ? home : "";
}

bool engineInstalled(const CPlot& top) { return platform::engineInstalled(engineHomeOf(top)); }

}  // namespace

int CPlot::plotting()
{
    try {
        // Legends given without a data set number go to the data sets that take them, in order.
        auto& queue = s_.style.queuedLegends;
        for (DataSet& set : s_.dataSets) {
            if (queue.empty()) break;
            if (set.takesQueuedLegend != 1) continue;
            set.legend = std::move(queue.front());
            queue.pop_front();
        }
        queue.clear();

        const std::string home = engineHomeOf(*this);
        if (!platform::engineInstalled(home)) {
            // No script: the data files are still written and each plot reports the engine.
            ScriptWriter none(static_cast<std::FILE*>(nullptr));
            return writePlotBlocks(none, *this) == 0 ? 0 : -1;
        }

        if (!platform::temporaryDirectory()) {
            std::fputs("CPlot::plotting(): environment variable TMP should be set infile .zurc in user's home directory.\n",
                       stderr);
            return -1;
        }
        const auto unique = platform::uniqueTempName();
        if (!unique) std::fputs("Error: cannot create unique filename in CPlot\n", stderr);
        // The previous call's script is of no further use once this call has its own.
        auto& out = s_.output;
        if (out.scriptFileName && platform::fileExists(*out.scriptFileName)) platform::removeFile(*out.scriptFileName);
        out.scriptFileName = unique;
        ScriptFile script(unique ? std::fopen(unique->c_str(), "w") : nullptr);
        if (!script) {
            std::fprintf(stderr, "CPlot::plotting(): can't open file %s for wgnuplot commands.\n",
                         unique ? unique->c_str() : "");
            return -1;
        }
        std::setvbuf(script.get(), nullptr, _IONBF, 0);
        ScriptWriter w(script.get());

        if (nextSubplot_) {
            writeTerminalLines(w);
            w.put("set multiplot\n");
        }
        if (writePlotBlocks(w, *this) != 0) return -1;
        if (!platform::engineInstalled(home)) return 0;
        if (nextSubplot_) w.put("unset multiplot\n");
        script.reset();

        std::vector<std::string> args{"gnuplot", *out.scriptFileName};
        // For the window the engine goes on reading its standard input after the script, which
        // keeps the window open until it is closed.
        if (out.outputType == PlotOutputType::Window) args.emplace_back("-");
        platform::runAndWait(platform::engineProgram(home), args);

        if (out.outputType == PlotOutputType::Stream)
            CopyFileToStdout(out.outputFileName ? out.outputFileName->c_str() : nullptr);
        return 0;
    } catch (...) {
        std::fputs("CPlot::plotting(): out of memory\n", stderr);
        return -1;
    }
}

// The block of each plot of the chain, with the data files it needs first. Returns -1 when no
// temporary data file could be named.
int CPlot::writePlotBlocks(ScriptWriter& w, const CPlot& top)
{
    for (CPlot* plot = this; plot; plot = plot->nextSubplot_.get()) {
        for (DataSet& set : plot->s_.dataSets) {
            if (set.fileName) continue;  // a caller's file, or written by an earlier call
            if (!platform::temporaryDirectory()) {
                std::fputs("Error: environment variable TMP should be set infile .zurc in user's home directory.\n",
                           stderr);
                return -1;
            }
            const auto name = platform::uniqueTempName();
            if (!name) {
                // No name for this one: it is left without a file and tried again by the next call.
                std::fputs("Error: cannot create unique filename in CPlot\n", stderr);
                continue;
            }
            set.fileName = *name;
            WriteDataFile(set, plot->s_.plotDimension);
        }
        if (!engineInstalled(top)) {
            std::fputs(kNoEngine, stdout);
            continue;
        }
        plot->writePlotBlock(w, top);
    }
    return 0;
}

// One plot's block, section by section in the order the engine needs them: settings that later
// lines depend on come first, then the terminal, the titles, the 3D settings and finally the
// plot command.
void CPlot::writePlotBlock(ScriptWriter& w, const CPlot& top)
{
    const bool inGrid = top.nextSubplot() != nullptr;
    const bool is3D = s_.plotDimension == 3;

    w.put("reset\n");
    writeAutoscale(w);
    writeBorder(w);
    writeGrid(w);
    writeKey(w);
    writeBoxWidth(w);
    writeBackground(w, inGrid);
    writeFillStyle(w);
    writeBars(w);
    writeTicsFormats(w);
    writeArrows(w);
    writeTextLabels(w);
    writeAxisTics(w);
    writeLogScales(w);
    writeMarginsAndLayout(w);
    writeTicsDirection(w);
    writePolarAndAngles(w);
    writeTimeStamp(w);
    writeDayMonthTics(w);
    writeRanges(w);
    writeZeroAxes(w);
    if (!inGrid) top.writeTerminalLines(w);  // a grid has them once, before "set multiplot"
    writeTitlesAndLabels(w);
    if (is3D) write3DSettings(w);
    writeClip(w);

    if (is3D && !s_.dataSets.empty()) {
        writeColorMap(w);
        writeNativeCommands(w);
        writeTextOptions(w);
        writeSplotCommand(w);
    } else if (!s_.dataSets.empty() || !s_.draw.shapeObjects.empty() || !s_.draw.textLabels.empty()) {
        w.put("set mouse\n\n");
        writeNativeCommands(w);
        writeTextOptions(w);
        writeShapeObjects(w);
        writeObjectRanges(w);
        writePlotCommand(w);
    }
    w.put("\n");
}

}  // namespace rizari
