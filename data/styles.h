// The box fill clause of a data set, written by the plot command.
#pragma once

#include "plot/data_set.h"

namespace rizari {

class ScriptWriter;

// " fs", the fill type words and the border words of a box style, all on the current line.
void writeBoxFillClause(ScriptWriter& w, const BoxStyle& boxes);

}  // namespace rizari
