// The command script of a plot and of the cells of its grid, with the data files it reads. The
// order of the sections of a plot block is written here and nowhere else.
#include "engine/plot_script.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "data/data_file_writer.h"
#include "data/dot_shades.h"
#include "data/file_reading.h"
#include "data/histogram.h"
#include "data/plot_command.h"
#include "data/reduction_rule.h"
#include "data/styles.h"
#include "draw/arrows_text.h"
#include "draw/shapes.h"
#include "engine/layout_probe.h"
#include "engine/output.h"
#include "plot/lifecycle.h"
#include "platform/messages.h"
#include "platform/platform.h"
#include "script/terminals.h"
#include "settings/axes.h"
#include "settings/color_map.h"
#include "settings/frame.h"
#include "settings/style_sheet.h"
#include "settings/texts.h"
#include "settings/tics.h"
#include "settings/time_axes.h"
#include "settings/view.h"

namespace rizari {

namespace {

constexpr const char* kNoEngine = "Error: No plotting engine has been installed.\n";
constexpr const char* kNoTemporaryDirectory =
    "Error: environment variable TMP should be set infile .zurc in user's home directory.\n";

// Whether an earlier call wrote the data set's temporary file for another picture than this
// call's (data/reduction_rule.h).
bool writtenForAnotherPicture(const DataSet& set, const std::optional<ReductionTarget>& target)
{
    if (!set.temporaryFile) return false;
    if (!set.reduction || !target) return set.reduction.has_value() != target.has_value();
    return !(set.reduction->target == *target);
}

// One line for a large data set written whole where thinning was wanted, with the reason.
void tellDrawnWhole(const DataSet& set, std::size_t index, std::string_view why)
{
    const long long points = set.drawnPoints();
    if (why.empty() || points <= static_cast<long long>(kToldPoints)) return;
    reportf("CPlot::plotting(): data set %llu (%lld points) drawn whole: %.*s (see Large data in the README)\n",
            static_cast<unsigned long long>(index), points, static_cast<int>(why.size()), why.data());
}

// One line for a large set of dots that a cairo picture draws one by one (about a microsecond
// each) where they could have been an image of their shades (data/dot_shades.h), with the reason.
void tellDotsOneByOne(const DataSet& set, std::size_t index)
{
    if (!set.reduction || !set.reduction->keptPoints || set.reduction->shades) return;
    const ReductionTarget& target = set.reduction->target;
    if (target.plotType != Style::Dots || target.lineWidth <= 0 || set.drawnPoints() <= static_cast<long long>(kToldPoints)) return;
    const char* why = !target.dotColor  ? "their colour is not known for sure (a native command, a mono terminal, or a colour gnuplot has no name for)"
                      : !target.layout ? "the plot's layout is not known (a log axis, or a cell of a grid)"
                                       : "the plot area holds no whole pixel";
    reportf("CPlot::plotting(): data set %llu (%lld points) drawn dot by dot: %s (see Large data in the README)\n",
            static_cast<unsigned long long>(index), static_cast<long long>(set.drawnPoints()), why);
}

// Writes the image of the dots' shades that a reduction made to a temporary file of its own, and
// keeps only where the image lies. False, reported, when it could not be written whole.
bool writeShadeFile(Reduction& reduction)
{
    const auto file = platform::createTemporaryFile();
    if (!file) {
        report("Error: cannot create unique filename in CPlot\n");
        return false;
    }
    reduction.shadeFile = file->name;
    const bool written = writeShadeImage(*reduction.shades, reduction.target.dotColor.value_or(0), file->file);
    const int writeError = errno;
    if (std::fclose(file->file) != 0 || !written) {
        if (!written) errno = writeError;
        platform::reportWriteError(file->name);
        return false;
    }
    const DotShades& s = *reduction.shades;
    reduction.shades = std::make_shared<const DotShades>(DotShades{s.x0, s.y0, s.dx, s.dy, s.columns, s.rows, {}});
    return true;
}

// Writes the data set to a new temporary data file, thinned for `target` when there is one,
// unless its file is the caller's or holds what it would hold. False when no temporary directory
// can be used, a file could not be created or written whole (such a file is removed, so that the
// next call writes it anew), or a stop signal waits.
bool writeDataFile(PlotState& s, std::size_t index, const std::optional<ReductionTarget>& target, std::string_view whyWhole,
                   const platform::DeferredStopSignals* stop)
{
    DataSet& set = s.dataSets[index];
    if (set.fileName && !writtenForAnotherPicture(set, target)) return true;  // a caller's file, or written by an earlier call
    if (stop && stop->stopRequested()) return false;
    if (set.temporaryFile) removeTemporaryData(set);
    if (!platform::temporaryDirectory()) {
        report(kNoTemporaryDirectory);
        return false;
    }
    const auto file = platform::createTemporaryFile();
    if (!file) {
        // Without its file the plot command would read another data set's in its place.
        report("Error: cannot create unique filename in CPlot\n");
        return false;
    }
    set.fileName = file->name;
    set.temporaryFile = true;
    std::optional<Reduction> reduction;
    if (target) reduction.emplace().target = *target;
    if (WriteDataFile(set, s.dimension, file->file, reduction ? &*reduction : nullptr) == WriteResult::Failed) {
        platform::removeTemporaryFile(file->name);
        set.fileName.reset();
        set.temporaryFile = false;
        return false;
    }
    set.reduction = reduction;
    if (reduction && reduction->shades && !writeShadeFile(*set.reduction)) {
        removeTemporaryData(set);
        return false;
    }
    tellDrawnWhole(set, index, reduction ? reduction->whyWhole : whyWhole);
    tellDotsOneByOne(set, index);
    return true;
}

// Writes each data set that needs a file (writeDataFile). The sets whose thinning is exact with
// the plot's layout (marks and dots on a cairo terminal) wait until the others are written and
// the probe has run; without a probe, or in a grid, they are thinned without it.
bool writeDataFiles(PlotState& s, OutputState& output, const platform::DeferredStopSignals* stop, const std::function<void(ScriptWriter&)>& writeBlock,
                    const LayoutProbe* probe)
{
    std::vector<LaidOutSet> laidOut;
    for (std::size_t index = 0; index < s.dataSets.size(); ++index) {
        const ThinningPlan plan = thinningPlan(s, output, s.dataSets[index]);
        if (probe && plan.target && wantsLayout(*plan.target)) {
            laidOut.push_back({index, *plan.target});
            continue;
        }
        if (!writeDataFile(s, index, plan.target, plan.whyWhole, stop)) return false;
    }
    if (laidOut.empty()) return true;
    const auto layout = probeLayout(s, output, laidOut, *probe, writeBlock);
    for (LaidOutSet& set : laidOut) {
        set.target.layout = layout;
        if (!writeDataFile(s, set.index, set.target, {}, stop)) return false;
    }
    return true;
}

// The terminal of a file or stream output; none for the window or a terminal gnuplot does not have.
const Terminal* outputTerminal(const OutputState& out)
{
    const bool file = out.type == Output::File || out.type == Output::Stream;
    return file && out.terminal ? TerminalText(*out.terminal).terminal : nullptr;
}

// Whether the plot's block ends in a plot command.
bool drawsSomething(const PlotState& s) { return !s.dataSets.empty() || !s.draw.shapes.empty() || !s.draw.textLabels.empty(); }

// A cell's text options set options of the terminal: they are noted with the terminal's lines.
void writeCellTextOptions(ScriptWriter& w, const PlotState& s)
{
    const ScriptWriter::TerminalLines noted(w);
    writeTextOptions(w, s);
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
    writeStyleSheet(w, s);
    writeGrid(w, s);
    writeKey(w, s);
    writeBoxWidth(w, s);
    writeBackground(w, s, inGrid);
    writeFillStyle(w, s);
    writeBars(w, s);
    writeTicsFormats(w, s);
    writeTimeAxes(w, s);
    writeFileReading(w, s);
    writeHistogramRanges(w, s);
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
    if (is3D) {
        write3DView(w, s);
        writeTicsLevel(w, s);
        write3DSurface(w, s);
        writeHeatMap(w, s);
        writeColorBoxLabel(w, s);
    }
    writeClip(w);

    if (is3D && !s.dataSets.empty()) {
        writeColorMap(w, s);
        writeNativeCommands(w, s);
        writeCellTextOptions(w, s);
        writeSplotCommand(w, s);
    } else if (drawsSomething(s)) {
        w.put("set mouse\n\n");
        writeNativeCommands(w, s);
        writeCellTextOptions(w, s);
        writeShapeObjects(w, s);
        writeObjectRanges(w, s);
        writePlotCommand(w, s);
    }
    w.put("\n");
}

// A message meant for standard output goes to standard error while the image itself goes there.
void reportForOutput(const PlotState& top, std::string_view text)
{
    if (top.output.type == Output::Stream) report(text);
    else reportToOutput(text);
}


}  // namespace

PlotImpl* nextCell(PlotImpl& plot) { return plot.nextSubplot ? &PlotAccess::impl(*plot.nextSubplot) : nullptr; }

bool anyCellDraws(PlotImpl& top)
{
    for (PlotImpl* plot = &top; plot; plot = nextCell(*plot))
        if (drawsSomething(plot->state)) return true;
    return false;
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

bool writePlotScript(ScriptWriter& w, PlotImpl& top, bool engineFound, const platform::DeferredStopSignals* stop, const LayoutProbe* probe)
{
    const Terminal* terminal = outputTerminal(top.state.output);
    w.showTextsIn(terminal ? terminal->markup : TextMarkup::None);
    const bool inGrid = top.nextSubplot != nullptr;
    if (inGrid && engineFound) {
        writeTerminalLines(w, top.state);
        w.put("set multiplot\n");
    }
    for (PlotImpl* plot = &top; plot; plot = nextCell(*plot)) {
        // The probe runs the block of a plot alone; a grid's cell is drawn among the others.
        const auto writeBlock = [&](ScriptWriter& probeWriter) { writePlotBlock(probeWriter, plot->state, top.state, false); };
        if (!ticsFitTheirLimits(plot->state) || !writeDataFiles(plot->state, top.state.output, stop, writeBlock, inGrid ? nullptr : probe))
            return false;
        if (!engineFound) {
            reportForOutput(top.state, kNoEngine);
            continue;
        }
        writePlotBlock(w, plot->state, top.state, inGrid);
    }
    if (inGrid && engineFound) w.put("unset multiplot\n");
    if (const auto& text = w.refusedText()) {
        reportf("CPlot::plotting(): the %s terminal would take the text \"%s\" as markup; nothing is drawn\n",
                std::string(terminal->name).c_str(), text->c_str());
        return false;
    }
    return true;
}

}  // namespace rizari
