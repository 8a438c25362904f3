// Data sets made from a caller's columns of any element type (double, float, the integer types of
// ElementType): the values are copied once, straight into the block the data set keeps.
#pragma once

#include <span>

#include "rizari/cplot.h"

namespace rizari {

// Adds a curve of n points from its columns, x and y (in the plane) or x, y and z (in space, which
// makes the plot 3D), each holding n entries of the element type: as data2DCurve and data3DCurve
// add the same points from doubles, with their messages and result.
int addColumns(CPlot& plot, int elementType, std::span<const void* const> columns, int n);

// Adds a surface over the grid of the nx entries of x and the ny entries of y; z holds nx * ny
// entries, row i for x[i]. As data3DSurface adds it from doubles, with its messages and result.
int addGridColumns(CPlot& plot, int elementType, const void* x, int nx, const void* y, int ny, const void* z);

// Adds a curve of n points in the plane that draws from the caller's columns x and y (n entries of
// the element type each) where they lie, with no copy: the caller keeps them alive until the plot
// is drawn. As data2DCurve adds the same points, with its messages and result.
int addBorrowedColumns(CPlot& plot, int elementType, const void* x, const void* y, int n);

}  // namespace rizari
