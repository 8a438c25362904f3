#include "data/column_digits.h"

#include <algorithm>

namespace rizari {

namespace {

constexpr int kMostDigits = 17;
// The last digit's step may be this many decades below the range's decade.
constexpr int kDecadesBelowRange = kPlainDigits - 1;

int decadeOf(double v) { return static_cast<int>(std::floor(std::log10(v))); }

}  // namespace

int columnDigits(const ColumnStats& stats)
{
    const double range = stats.high - stats.low;
    if (!(range > 0.0) || !std::isfinite(range)) return kPlainDigits;
    // With d digits the last one's step is 10^(top - d + 1).
    const int top = decadeOf(std::max(std::fabs(stats.low), std::fabs(stats.high)));
    int digits = top + 1 + kDecadesBelowRange - decadeOf(range);
    if (stats.ascending || stats.descending) {
        // The fewest digits whose step is at most the spacing.
        const int bySpacing = top + 1 - decadeOf(stats.spacing);
        digits = std::min(digits, bySpacing);
    }
    return std::clamp(digits, kPlainDigits, kMostDigits);
}

}  // namespace rizari
