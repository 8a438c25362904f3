// What the engine left in an image file: nothing, a picture cut short, or a picture. A picture
// is cut short when it lacks the end its terminal's format has (script/terminals.h), as after a
// disk that filled up while the engine wrote; a format without an end of its own is taken whole.
#pragma once

#include <string>

#include "plot/plot_state.h"

namespace rizari {

enum class ImageState { Empty, Incomplete, Complete };

// The state of the regular file at the path, written by the output's terminal; a file that
// cannot be read counts as empty.
ImageState checkImage(const std::string& path, const OutputState& out);

}  // namespace rizari
