// The output's section of a plot block.
#pragma once

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

// The terminal and its options (noted as the plot's terminal lines), then the file its picture
// goes to, which every plot sets anew.
void writeTerminalLines(ScriptWriter& w, const PlotState& top);

// The size of the image in pixels or inches, each terminal given it in its own unit (the typed
// front's Size); none: the terminal's default.
void sizeImage(OutputState& out, std::optional<ImageSize> size);

}  // namespace rizari
