// Writes the values of an in-memory data set to its data file, in the plain text format the
// plotting engine reads: one point per line, coordinates separated by one blank, and an empty
// line between the rows of a 3D grid.
#pragma once

#include <cstdio>

#include "plot/data_set.h"

namespace rizari {

// What became of a data file.
enum class WriteResult {
    Written,
    Refused,  // it could not be opened, or the element type is unknown: reported, and the plot goes on
    Failed,   // a write failed (a full disk): reported, and the plot stops
};

// Writes set.values for a plot of the given dimension (2 or 3) to the open file, which it
// closes; the file is named set.fileName in its messages. With a reduction, a large 2D data set
// of doubles (or a table) is written thinned for reduction->target (data/reduction.h), and
// reduction->keptPoints tells how many points the file holds; none when it was written whole.
WriteResult WriteDataFile(const DataSet& set, int dimension, std::FILE* file, Reduction* reduction = nullptr);

}  // namespace rizari
