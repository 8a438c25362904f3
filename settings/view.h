// The view room's sections of a plot block: polar plots and angles, the 3D view and surface,
// clipping and the pm3d colour map.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

void writePolarAndAngles(ScriptWriter& w, const PlotState& s);
// The parametric mode and the angles and scales of the 3D view.
void write3DView(ScriptWriter& w, const PlotState& s);
// The surface, contours, colour box, hidden lines and mapping of a 3D plot.
void write3DSurface(ScriptWriter& w, const PlotState& s);
void writeClip(ScriptWriter& w);
void writeColorMap(ScriptWriter& w, const PlotState& s);

}  // namespace rizari
