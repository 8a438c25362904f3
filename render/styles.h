// Pieces of the per-data-set styles that the plot command writes.
#pragma once

#include "data/data_set.h"

namespace rizari {

class ScriptWriter;

// Whether plotType accepts `count` extra arguments for a type code (none is always accepted),
// and whether those arguments are texts (candlesticks, filled curves, vectors) or ints.
bool plotTypeAcceptsCount(int type, int count);
bool plotTypeTakesTexts(int type);

// The box fill clause of a data set in a 2D plot command: " fs", the fill type words and the
// border words, all on the current line.
void writeBoxFillClause(ScriptWriter& w, const DataSet& set);

}  // namespace rizari
