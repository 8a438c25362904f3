// Dots drawn as an image of their shades. gnuplot's cairo terminals draw a dot over 184/255 of its
// one pixel (data/pixel_grid.h tells which pixel), at about a microsecond a dot: a million dots
// take a second. With the plot's layout known, the dots whose pixels lie wholly inside the plot
// area are counted per pixel instead, and drawn as one image in the dots' colour whose opacity at
// each pixel is what its dots leave there: the same pixels in a few milliseconds. The image goes
// right after the data set and does not autoscale; the data set keeps the points that set the
// ranges, the dots of the pixels the plot area's edge cuts (gnuplot clips an image there) and the
// dots too near a pixel's edge to be placed for sure.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "script/engine_colors.h"

namespace rizari {

// What of its pixel a dot leaves uncovered, in 255ths.
inline constexpr unsigned kDotUncovered = 71;
// More dots than this in one pixel leave less than a 255th of it uncovered.
inline constexpr std::uint8_t kMostShadedDots = 8;

// The dots of a picture's pixels, and where the pixels lie in the axes' values.
struct DotShades {
    double x0 = 0, y0 = 0;  // the centre of the lowest row's first pixel
    double dx = 0, dy = 0;  // from one pixel's centre to the next
    int columns = 0, rows = 0;
    std::vector<std::uint8_t> dots;  // row by row from the lowest, at most kMostShadedDots a pixel
};

// The opacity, in 255ths, of a pixel that `dots` dots of an opaque colour cover, as cairo leaves
// it after drawing them one over the other.
std::uint8_t shadeOpacity(unsigned dots);

// Writes the image as gnuplot's rgbalpha reads it: four bytes a pixel, red, green, blue and
// opacity, rows from the lowest. False when a write failed.
bool writeShadeImage(const DotShades& shades, Rgb color, std::FILE* file);

}  // namespace rizari
