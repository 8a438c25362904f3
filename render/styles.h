// Pieces of the per-data-set styles that the plot command writes.
#pragma once

#include "data/data_set.h"

namespace rizari {

class ScriptWriter;

// The box fill clause of a data set in a 2D plot command: " fs", the fill type words and the
// border words, all on the current line.
void writeBoxFillClause(ScriptWriter& w, const DataSet& set);

}  // namespace rizari
