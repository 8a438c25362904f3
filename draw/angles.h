// Sine and cosine for the points of drawn shapes, the same to the printed digit on every platform:
// the script of a circle segment must not depend on the C library it was built with.
#pragma once

#include <cmath>

namespace rizari::draw {

inline constexpr double kPi = 3.141592653589793;

namespace detail {

// MinGW-w64's sin and cos are the x87 instructions, which reduce the argument by a 66-bit pi: near
// a multiple of pi/2 the result is off (cos(pi/2) gives 6.12303e-17, glibc and MSVC 6.12323e-17).
// Reduced here instead, by pi/2 in three parts of 33 bits (fdlibm's medium case), the argument
// leaves the instructions a remainder within pi/4, where they are exact to an ulp. Beyond
// kLargestReduced, n * part is no longer exact and the C library's own functions are used.
inline constexpr double kLargestReduced = 1e6;

struct Reduced {
    double r;
    int quadrant;
};

inline Reduced reduce(double x)
{
    constexpr double kTwoOverPi = 6.36619772367581382433e-01;
    constexpr double kParts[3][2] = {{1.57079632673412561417e+00, 6.07710050650619224932e-11},
                                     {6.07710050630396597660e-11, 2.02226624879595063154e-21},
                                     {2.02226624871116645580e-21, 8.47842766036889956997e-32}};
    const double n = std::nearbyint(x * kTwoOverPi);
    double r = x - n * kParts[0][0];
    double w = n * kParts[0][1];
    for (int i = 1; i < 3; ++i) {
        const double t = r;
        r = t - n * kParts[i][0];
        w = n * kParts[i][1] - ((t - r) - n * kParts[i][0]);
    }
    return {r - w, static_cast<int>(static_cast<long long>(n) & 3)};
}

inline double reducedSine(double x)
{
    if (!(std::fabs(x) < kLargestReduced)) return std::sin(x);
    const auto [r, quadrant] = reduce(x);
    const double values[] = {std::sin(r), std::cos(r), -std::sin(r), -std::cos(r)};
    return values[quadrant];
}

inline double reducedCosine(double x)
{
    if (!(std::fabs(x) < kLargestReduced)) return std::cos(x);
    const auto [r, quadrant] = reduce(x);
    const double values[] = {std::cos(r), -std::sin(r), -std::cos(r), std::sin(r)};
    return values[quadrant];
}

}  // namespace detail

#ifdef __MINGW32__
inline double sine(double x) { return detail::reducedSine(x); }
inline double cosine(double x) { return detail::reducedCosine(x); }
#else
inline double sine(double x) { return std::sin(x); }
inline double cosine(double x) { return std::cos(x); }
#endif

}  // namespace rizari::draw
