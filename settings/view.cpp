// 3D view, contours, coordinate systems, polar plots and the mathematical coordinate look.
#include <cstdio>

#include "plot/cplot.h"
#include "render/script_writer.h"

namespace rizari {

void CPlot::mathCoord()
{
    auto& axes = s_.axes;
    axes.zeroAxes |= PlotAxis::XY;
    axes.zeroAxisLineType = 1;
    axes.zeroAxisLineWidth = 1;
    axes.zeroAxisColor.assign("black");
    s_.style.transparentFill = 1;
    s_.frame.borderSides &= ~15;
    s_.tics.ticsMirrorAxes &= ~PlotAxis::XY;
    s_.frame.gridOn = 1;
    s_.frame.gridOptionText = "front";
    s_.text.enhancedText = 1;
}

}  // namespace rizari
