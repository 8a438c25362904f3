// Creation, reset and destruction of a plot, and the small queries on its data set list.
#include <cstdio>

#include "plot/cplot.h"
#include "platform/platform.h"

namespace rizari {

CPlot::CPlot() { initialise(); }

void CPlot::initialise()
{
    s_ = PlotState{};
    mathCoord();
}

CPlot::~CPlot()
{
    engineHome_.reset();
    releaseOwned();
    removeTemporaryOutputs();
}

// Removes the command script of the latest plotting() and the stream output's image file, both
// of which this plot created; forgets their names.
void CPlot::removeTemporaryOutputs()
{
    auto& out = s_.output;
    if (out.scriptFileName && platform::fileExists(*out.scriptFileName)) platform::removeFile(*out.scriptFileName);
    out.scriptFileName.reset();
    if (out.streamTempFile) platform::removeFile(*out.streamTempFile);
    out.streamTempFile.reset();
}

// Releases the data sets (removing their temporary files), the drawn items, the tic lists and
// the subplot chain, in that order. The chain is walked iteratively: each cell is released
// completely before the next one.
void CPlot::releaseOwned()
{
    RemoveCurves();
    s_.draw.textLabels.clear();
    s_.draw.arrows.clear();
    for (auto& list : s_.tics.ticsLabelList) list.clear();
    while (nextSubplot_) {
        std::unique_ptr<CPlot> cell = std::move(nextSubplot_);
        nextSubplot_ = std::move(cell->nextSubplot_);
    }
    s_.text.nativeCommands.clear();
    s_.style.queuedLegends.clear();
    s_.draw.shapeObjects.clear();
}

void CPlot::RemoveCurves()
{
    for (DataSet& set : s_.dataSets) {
        // Only a data set holding values owns its file: a caller's data file is never removed.
        if (set.values && set.fileName && platform::removeFile(*set.fileName) != 0)
            platform::reportError("CPlot::RemoveCurves()");
    }
    s_.dataSets.clear();
}

void CPlot::deletePlots()
{
    releaseOwned();
    // The reset forgets the names of the script and of the stream image; nothing else could
    // ever remove those temporary files, so they go now.
    removeTemporaryOutputs();
    initialise();
}

void CPlot::dimension(int dim)
{
    if (dim == 2) {
        s_.plotDimension = 2;
    } else if (dim == 3) {
        s_.plotDimension = 3;
        s_.frame.borderSides = 31;
        s_.tics.ticsMirrorAxes = PlotAxis::XY;
    } else {
        std::fputs("CPlot::dimension(): invalid dimension\n", stderr);
    }
}

int CPlot::isUsed() const { return s_.dataSets.empty() ? 0 : 1; }

int CPlot::dataSetNum() const { return static_cast<int>(s_.dataSets.size()) - 1; }

DataSet* CPlot::dataSetByNumber(int num)
{
    if (s_.dataSets.empty()) return nullptr;
    if (num <= 0) return &s_.dataSets.front();
    if (static_cast<std::size_t>(num) >= s_.dataSets.size()) return nullptr;
    return &s_.dataSets[static_cast<std::size_t>(num)];
}

}  // namespace rizari
