// Curves that the drawing members compute (arcs, closed lines): the coordinates are written
// straight into the block that the new data set keeps, with no buffer in between.
#pragma once

#include <cstddef>
#include <optional>

#include "plot/value_block.h"
#include "rizari/cplot.h"

namespace rizari {

// Room for the coordinates of n >= 0 points of `dimension` coordinates: the n x values, then the n y
// values, then (3D) the n z values; none when the memory cannot be had.
class ComputedCurve {
public:
    static std::optional<ComputedCurve> allocate(int n, int dimension) noexcept;

    double* column(int axis) { return reinterpret_cast<double*>(values_.data()) + static_cast<std::size_t>(axis) * static_cast<std::size_t>(n_); }
    int size() const { return n_; }
    int dimension() const { return dimension_; }
    ValueBlock&& release() { return std::move(values_); }

private:
    ComputedCurve(ValueBlock values, int n, int dimension) : values_(std::move(values)), n_(n), dimension_(dimension) {}

    ValueBlock values_;
    int n_;
    int dimension_;
};

// Adds the curve as data2DCurve (dimension 2) or data3DCurve (dimension 3) adds the same
// coordinates from arrays, with the same messages and result; the data set keeps the curve's block.
int addComputedCurve(CPlot& plot, ComputedCurve&& curve);

}  // namespace rizari
