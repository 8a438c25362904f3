// Writes the values of an in-memory data set to its data file, in the plain text format the
// plotting engine reads: one point per line, coordinates separated by one blank, and an empty
// line between the rows of a 3D grid.
#pragma once

#include "data/data_set.h"

namespace rizari {

// Writes set.values to the file named set.fileName for a plot of the given dimension (2 or 3),
// replacing its content. Returns 0 when the file was written, -1 when it could not be opened or
// written or the element type is unknown (the first and last with a message on standard error).
int WriteDataFile(const DataSet& set, int dimension);

}  // namespace rizari
