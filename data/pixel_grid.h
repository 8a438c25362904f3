// The pixels of a cairo picture as gnuplot draws marks into them. gnuplot maps a value to whole
// units of its terminal (the axis's lower edge plus the value's offset times the units per value,
// rounded half up), and its cairo terminal snaps every mark and dot to the centre of a pixel (the
// units over the units per pixel, rounded half to even; rows from the top). With the plot's layout
// (plot/data_set.h) the pixel of each point is known exactly: a mark whose every pixel the solid
// cores of earlier kept marks already cover changes nothing in the picture.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "plot/data_set.h"

namespace rizari {

struct Pixel {
    int column = 0;
    int row = 0;
};

class PixelGrid {
public:
    explicit PixelGrid(const PlotLayout& layout);
    // The pixel of a point of the axes' ranges whose values gnuplot reads back within `xSlack` and
    // `ySlack` of them, relative to their size (a data file's digits round them); none when that,
    // or another arithmetic, could put it in another pixel.
    std::optional<Pixel> pixelOf(double x, double y, double xSlack = 0, double ySlack = 0) const;
    int columns() const { return columns_; }
    int rows() const { return rows_; }

    // The columns and the rows (from the top) of the pixels that lie wholly inside the plot area;
    // empty when last < first.
    struct Span {
        int first, last;
    };
    Span innerColumns() const;
    Span innerRows() const;
    // The axes' values at the centre of a column and of a row.
    double xAt(int column) const;
    double yAt(int row) const;

private:
    struct Axis {
        double min, scale, low, high;
        // The fewest and most units of a value read within `slack` of it.
        std::optional<std::array<long long, 2>> units(double value, double slack) const;
        double valueAt(long long units) const { return min + (static_cast<double>(units) - low) / scale; }
    };
    Axis x_, y_;
    long long pixel_, height_;
    int columns_, rows_;
};

// The pixels of a filled circle about its centre: those it touches at all, or those it covers
// whole. Each row of offsets is one span.
class MarkShape {
public:
    static MarkShape touched(double radius);
    static MarkShape covered(double radius);
    struct Span {
        int dy, from, to;
    };
    const std::vector<Span>& spans() const { return spans_; }

private:
    std::vector<Span> spans_;
};

// Which pixels of a picture kept marks cover whole.
class Coverage {
public:
    Coverage(int columns, int rows);
    // Whether every pixel of the shape about `centre` is covered (none outside the picture is).
    bool covers(Pixel centre, const MarkShape& shape) const;
    void add(Pixel centre, const MarkShape& shape);

private:
    bool spanCovered(int row, int from, int to) const;
    int columns_, rows_;
    std::size_t words_;  // per row
    std::vector<std::uint64_t> bits_;
};

}  // namespace rizari
