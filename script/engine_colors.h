// gnuplot's own colours, as far as the library needs to know the colour gnuplot will draw: the
// colour a colour text names, and the default colour of each line type.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace rizari {

// An RGB colour, 0xRRGGBB.
using Rgb = std::uint32_t;

// The colour of an opaque colour text as gnuplot reads it: hexadecimal digits ("#RRGGBB",
// "#00RRGGBB", "0xRRGGBB", "0x00RRGGBB") or one of its colour names; none for a translucent
// colour, a name gnuplot does not know, or anything else.
std::optional<Rgb> opaqueColor(std::string_view text);

// Whether a colour text has an alpha channel that lets what lies below show: "#AARRGGBB" or
// "0xAARRGGBB" with AA above 0.
bool translucentColor(std::string_view text);

// The colour gnuplot gives line type `lineType` (from 1) when nothing redefines it: the same
// eight colours, over and over, in gnuplot 5 and 6.
std::optional<Rgb> defaultLineTypeColor(int lineType);

}  // namespace rizari
