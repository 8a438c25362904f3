// How many significant digits a column of a data file is written with, so that data keep their
// distinct values: "%g"'s six, more only where the column's values sit far from zero relative to
// their spread (timestamps, large offsets). The digits are decided from the column's extremes and
// the spacing of a sorted column, both gathered while the column is read for other needs; no
// value is formatted or remembered for it.
//  * Extremes: the last digit's step stays at most a hundred-thousandth of the decade of the
//    range (six digits for data that spread over their own magnitude, eleven for times of day
//    given as seconds since 1970).
//  * Spacing: a sorted column whose neighbours lie at least a step apart keeps every value apart
//    with that step, which may take fewer digits.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

namespace rizari {

inline constexpr int kPlainDigits = 6;

// What the digits rule reads of a column, gathered value by value (NaN is skipped).
struct ColumnStats {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    // The smallest distance between neighbours that differ; only meaningful while sorted.
    double spacing = std::numeric_limits<double>::infinity();
    bool ascending = true;
    bool descending = true;
    double last = std::numeric_limits<double>::quiet_NaN();

    void add(double v)
    {
        if (std::isnan(v)) return;
        low = v < low ? v : low;
        high = v > high ? v : high;
        if (!ascending && !descending) return;  // the spacing no longer counts
        // The first step is NaN: it compares false everywhere.
        const double step = v - last;
        ascending = ascending && !(step < 0);
        descending = descending && !(step > 0);
        const double size = std::fabs(step);
        spacing = size > 0 && size < spacing ? size : spacing;
        last = v;
    }
};

int columnDigits(const ColumnStats& stats);

// The stats of n entries of type T at `column`, one every `stride` bytes.
template <class T> ColumnStats columnStats(const unsigned char* column, std::size_t n, std::size_t stride = sizeof(T))
{
    ColumnStats stats;
    for (std::size_t i = 0; i < n; ++i) {
        T v;
        std::memcpy(&v, column + i * stride, sizeof v);
        stats.add(static_cast<double>(v));
    }
    return stats;
}

template <class T> int columnDigits(const unsigned char* column, std::size_t n) { return columnDigits(columnStats<T>(column, n)); }

}  // namespace rizari
