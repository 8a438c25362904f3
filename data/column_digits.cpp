#include "data/column_digits.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "script/number_format.h"

namespace rizari {

namespace {

constexpr int kMostDigits = 17;

// A column that keeps more texts than this apart is taken to need a digit more: without a
// collision in that many, a million values a millionth of the range apart cannot all fit.
constexpr std::size_t kMostTracked = std::size_t{1} << 20;

// The text of a value as the data file holds it, reduced to a key (64-bit FNV-1a of the text).
std::uint64_t textKey(double v, int digits)
{
    char text[kMaxNumberText];
    const char* end = formatGDigits(text, v, digits);
    std::uint64_t hash = 14695981039346656037ull;
    for (const char* c = text; c != end; ++c) hash = (hash ^ static_cast<unsigned char>(*c)) * 1099511628211ull;
    return hash;
}

struct Extent {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    bool ascending = true;
    bool descending = true;
};

Extent extentOf(const ColumnValues& values)
{
    Extent e;
    double previous = std::numeric_limits<double>::quiet_NaN();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double v = values[i];
        if (std::isnan(v)) continue;
        if (v < previous) e.ascending = false;
        if (v > previous) e.descending = false;
        previous = v;
        if (v < e.low) e.low = v;
        if (v > e.high) e.high = v;
    }
    return e;
}

// Whether some two values at least `gap` apart share their text when written with `digits`.
bool merges(const ColumnValues& values, const Extent& e, int digits, double gap)
{
    // No two values of one text can lie `gap` apart where the step of the last digit is smaller.
    const double largest = std::max(std::fabs(e.low), std::fabs(e.high));
    if (std::pow(10.0, std::floor(std::log10(largest)) - digits + 1) <= gap) return false;
    if (e.ascending || e.descending) {
        // Sorted: the values of one text follow each other.
        std::uint64_t runKey = 0;
        double runStart = std::numeric_limits<double>::quiet_NaN();
        for (std::size_t i = 0; i < values.size(); ++i) {
            const double v = values[i];
            if (std::isnan(v)) continue;
            const std::uint64_t key = textKey(v, digits);
            if (key == runKey && std::fabs(v - runStart) >= gap) return true;
            if (key != runKey || std::isnan(runStart)) runKey = key, runStart = v;
        }
        return false;
    }
    std::unordered_map<std::uint64_t, std::pair<double, double>> seen;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double v = values[i];
        if (std::isnan(v)) continue;
        auto [at, added] = seen.try_emplace(textKey(v, digits), v, v);
        auto& [low, high] = at->second;
        low = std::min(low, v);
        high = std::max(high, v);
        if (high - low >= gap) return true;
        if (added && seen.size() > kMostTracked) return true;
    }
    return false;
}

}  // namespace

int columnDigits(const ColumnValues& values)
{
    const Extent e = extentOf(values);
    const double range = e.high - e.low;
    if (!(range > 0.0) || !std::isfinite(range)) return kPlainDigits;
    const double gap = range * 1e-6;
    for (int digits = kPlainDigits; digits < kMostDigits; ++digits)
        if (!merges(values, e, digits, gap)) return digits;
    return kMostDigits;
}

}  // namespace rizari
