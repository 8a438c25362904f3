// Which of a plot's native gnuplot commands can change how its data map to pixels: the x range
// and scale, the plot area and the picture's size. A plot with such a command is drawn from every
// point; any other command (a grid, a key, a style, tics) leaves the thinning on.
#pragma once

#include <string_view>

namespace rizari {

// Whether a native command text (one or more commands, separated by ';' or line ends) may change
// the mapping of x to pixels or the size of the picture.
bool changesPicture(std::string_view commands);

}  // namespace rizari
