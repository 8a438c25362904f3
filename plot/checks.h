// The checks every member applies to numbers and option texts before it stores them: numbers
// must be finite (an infinity or NaN would reach the engine as "inf" or "nan" and stop the whole
// script), and an option text, which is written into the script as gnuplot code, must be one line.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <optional>

#include "platform/messages.h"

namespace rizari {

// Value stored in place of an infinity in data sets and shape parameters.
inline constexpr double kLargeValue = 9.8e307;

// The large finite value of an infinity's sign, or the value itself.
inline double finiteValue(double v) { return std::isinf(v) ? (v > 0 ? kLargeValue : -kLargeValue) : v; }

// A sum of large values may overflow: the result stays within the finite doubles.
inline double withinDoubles(double v)
{
    constexpr double kMax = std::numeric_limits<double>::max();
    return v > kMax ? kMax : v < -kMax ? -kMax : v;
}

// What the members that add data sets say when the memory for one cannot be had.
inline constexpr const char* kNoMemoryForCurve = "Error: can't allocate memory for new curve\n";
inline constexpr const char* kNoMemoryForSurface = "Error: can't allocate memory for new surface\n";

// Writes "CPlot::<member>(): more than LIMIT WHAT" for a count beyond a member's limit.
inline void reportLimit(const char* member, long long limit, const char* what)
{
    reportf("CPlot::%s(): more than %lld %s\n", member, limit, what);
}

// The product of the factors, or none when it does not fit in a size_t.
inline std::optional<std::size_t> checkedProduct(std::initializer_list<std::size_t> factors)
{
    std::size_t product = 1;
    for (std::size_t f : factors) {
        if (f != 0 && product > std::numeric_limits<std::size_t>::max() / f) return std::nullopt;
        product *= f;
    }
    return product;
}

// Writes "CPlot::<member>(): invalid parameter".
inline void reportInvalidParameter(const char* member) { reportf("CPlot::%s(): invalid parameter\n", member); }

// True when every value is finite; otherwise the member's invalid-parameter message.
inline bool finiteArguments(const char* member, std::initializer_list<double> values)
{
    for (double v : values) {
        if (!std::isfinite(v)) {
            reportInvalidParameter(member);
            return false;
        }
    }
    return true;
}

// True when the option text (null counts as none) holds no line break; otherwise the member's
// invalid-parameter message.
inline bool oneLine(const char* member, const char* text)
{
    if (text && std::strpbrk(text, "\n\r")) {
        reportInvalidParameter(member);
        return false;
    }
    return true;
}

}  // namespace rizari
