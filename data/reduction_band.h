// A dense line of tall strokes (noise many pixels high, dozens of points a pixel column) draws a
// solid band: within a pixel column the line runs up and down through every height between its
// lowest and highest point there, and a line two pixels wide covers the column at each of them.
// gnuplot's time grows with the length of the strokes it draws, not with what they cover, so the
// thinned line (data/reduction.h) is drawn with its strokes cut where they enter the band's solid
// interior: the pieces above and below it stay as they are, and a few strokes fill the interior,
// one down and one up a pixel column. Everything drawn either is a piece of a stroke of the
// thinned line or lies inside the interior, which every stroke near it covers: the picture is the
// thinned line's.
//
// Where cairo joins two strokes at a sharp angle it draws a miter of up to ten half line widths;
// the joins at the cut ends point into the interior, which is tall enough to hold them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace rizari {

// A point of a thinned line in the picture's space: one of the data set's (its index) or one of the
// reduction's own.
struct LinePoint {
    double x = 0;
    double y = 0;
    std::optional<std::size_t> index;
};

// What the line covers over equal buckets of the picture's x range: per bucket the lowest and
// highest y of its drawn points, and how many there are.
struct BucketSpans {
    double xLow = 0;         // the first bucket's left edge
    double bucketWidth = 1;  // in x
    std::vector<double> low, high;
    std::vector<std::uint32_t> points;
};

// The picture's scale as far as the band needs it: bounds that hold whatever the plot area's size.
struct BandScale {
    double xPixelsLeast = 0;  // pixels per unit of x, at least
    double xPixelsMost = 0;   // and at most
    double yPixelsLeast = 0;  // pixels per unit of y, at least
    double lineWidth = 0;     // the line's width in pixels
};

// The thinned line with its strokes through the band's interior cut short and the interior filled;
// none when no part of the line is such a band.
std::optional<std::vector<LinePoint>> cutThroughBand(const std::vector<LinePoint>& line, const BucketSpans& spans, const BandScale& scale);

}  // namespace rizari
