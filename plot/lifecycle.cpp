// Creation, reset and destruction of a plot, and the small queries on its data set list.
#include "plot/lifecycle.h"

#include <atomic>
#include <cstdio>

#include "platform/messages.h"
#include "platform/platform.h"
#include "platform/temporary_files.h"
#include "plot/choices.h"

namespace rizari {

namespace {

// RIZARI_STYLE names the look of every new plot (CPlot::styleSheet); a name no sheet has is told
// once per process, and the plots keep the classic look.
void applyEnvironmentStyle(CPlot& plot)
{
    const auto name = platform::getEnv("RIZARI_STYLE");
    if (!name) return;
    if (choiceNamed<StyleSheet>(kStyleSheetNames, name->c_str())) {
        plot.styleSheet(name->c_str());
        return;
    }
    static std::atomic<bool> told{false};
    if (!told.exchange(true))
        reportf("rizari: RIZARI_STYLE names no style sheet; known: %.*s\n", static_cast<int>(kStyleSheetList.size()),
                kStyleSheetList.data());
}

// The defaults of a new plot: the state's own, with the look of mathCoord(), or of the style
// sheet that RIZARI_STYLE names.
void initialise(CPlot& plot, PlotState& s)
{
    s = PlotState{};
    plot.mathCoord();
    applyEnvironmentStyle(plot);
}

// Releases the data sets (removing their temporary files), the drawn items, the tic lists and
// the subplot chain. The chain is walked iteratively: each cell is released completely before
// the next one.
void releaseOwned(PlotImpl& impl)
{
    PlotState& s = impl.state;
    removeDataSets(s);
    while (impl.nextSubplot) {
        std::unique_ptr<CPlot> cell = std::move(impl.nextSubplot);
        impl.nextSubplot = std::move(PlotAccess::impl(*cell).nextSubplot);
    }
}

}  // namespace

void removeDataSets(PlotState& s)
{
    for (DataSet& set : s.dataSets) {
        if (removeTemporaryData(set) != 0) platform::reportError("CPlot::RemoveCurves()");
    }
    s.dataSets.clear();
}

int removeTemporaryData(DataSet& set)
{
    int result = 0;
    if (set.reduction && set.reduction->shadeFile && platform::removeTemporaryFile(*set.reduction->shadeFile) != 0) result = -1;
    if (set.temporaryFile && platform::removeTemporaryFile(*set.fileName) != 0) result = -1;
    if (set.temporaryFile) set.fileName.reset();
    set.temporaryFile = false;
    set.reduction.reset();
    return result;
}

void removeTemporaryOutputs(OutputState& out)
{
    if (out.script) platform::removeTemporaryFile(*out.script);
    out.script.reset();
    if (out.streamImage) platform::removeTemporaryFile(*out.streamImage);
    out.streamImage.reset();
}

DataSet* dataSetByNumber(PlotState& s, int num)
{
    if (s.dataSets.empty()) return nullptr;
    if (num <= 0) return &s.dataSets.front();
    if (static_cast<std::size_t>(num) >= s.dataSets.size()) return nullptr;
    return &s.dataSets[static_cast<std::size_t>(num)];
}

CPlot::CPlot() : impl_(std::make_unique<PlotImpl>()) { initialise(*this, impl_->state); }

CPlot::~CPlot()
{
    releaseOwned(*impl_);
    removeTemporaryOutputs(impl_->state.output);
}

void CPlot::deletePlots()
{
    releaseOwned(*impl_);
    // The reset forgets the names of the script and of the stream image; nothing else could
    // ever remove those temporary files, so they go now.
    removeTemporaryOutputs(impl_->state.output);
    initialise(*this, impl_->state);
}

void CPlot::dimension(int dim)
{
    PlotState& s = impl_->state;
    if (dim == 2) {
        s.dimension = 2;
    } else if (dim == 3) {
        s.dimension = 3;
        s.frame.border = kBorder3D;
        s.tics.mirrored = AxisSet(PlotAxis::XY);
    } else {
        report("CPlot::dimension(): invalid dimension\n");
    }
}

int CPlot::isUsed() const { return impl_->state.dataSets.empty() ? 0 : 1; }

int CPlot::dataSetNum() const { return static_cast<int>(impl_->state.dataSets.size()) - 1; }

void removeTemporaryFiles() noexcept { platform::temporary_files::removeAll(); }

}  // namespace rizari
