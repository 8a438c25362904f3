// The command script of a plot as a text, for a caller that wants to see it rather than run it.
#pragma once

#include <optional>
#include <string>

#include "plot/plot_state.h"

namespace rizari {

// The script that plotting() would give the engine now, in the dialect of the engine it would
// run (asked only when a line differs between versions; the 5.4 dialect when none is found), with
// the data files it reads written as plotting() writes them; no script file is made and no plot
// is run. None when a data file could not be written (after its message).
std::optional<std::string> plotScriptText(PlotImpl& top);

}  // namespace rizari
