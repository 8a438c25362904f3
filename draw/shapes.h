// Shape objects: adding one of a geometry with the plot's current fill and stroke, and the shape
// objects section of a plot block.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

// Adds a shape object of the geometry, filled and stroked as the plot's drawing state says; -1
// after the message in a 3D plot or when the memory cannot be had.
int addShape(PlotState& s, ShapeGeometry&& geometry);
void writeShapeObjects(ScriptWriter& w, const PlotState& s);

}  // namespace rizari
