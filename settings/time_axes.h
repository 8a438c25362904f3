// Time axes: which axes of a plot show times, how data files give the times, how the tics label
// them, and their lines of the command script.
#pragma once

#include <optional>
#include <string_view>

#include "plot/plot_state.h"
#include "script/script_writer.h"

namespace rizari {

// Seconds since 1970-01-01 00:00 UTC of a text in an input format of time axes (the engine's
// conversions %Y %y %m %d %j %H %M %S %s %b %B %p, a blank for any blanks, other characters as
// they stand); none when the text does not match the format or names no valid date.
std::optional<double> parseTime(std::string_view text, std::string_view format);

// The time axes of the plot: each one's kind and label format, the plot's input format, and an
// autoscaled time axis fitted to its data rather than widened to the next whole month or year.
void writeTimeAxes(ScriptWriter& w, const PlotState& s);

}  // namespace rizari
