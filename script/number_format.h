// Number formatting for engine scripts and data files, independent of the process locale.
// formatG gives exactly what printf "%g" gives, formatF what printf "%f" gives.
#pragma once

#include <cstddef>

namespace rizari {

// Longest text that formatG or formatF can produce, without a terminator ("%f" of -1.8e308).
inline constexpr std::size_t kMaxNumberText = 320;

// Write the "%g" text of v at out (no terminator); returns the end of the text.
char* formatG(char* out, double v);

// Write the "%f" text of v (six decimals) at out (no terminator); returns the end of the text.
char* formatF(char* out, double v);

// Write the "%f" text of v where it keeps v to six significant digits: |v| of 0.1 or more, or six
// decimals that are v exactly (0, 0.5, -3.25, 0.001). A smaller value that six decimals would cut
// is written as "%g" writes it (1.5e-07, not 0.000000).
char* formatSetting(char* out, double v);

// Write v as "%.*g" with that many significant digits ("%g" for 6).
char* formatGDigits(char* out, double v, int digits);

// Write the "%d" text of v at out (no terminator); returns the end of the text.
char* formatD(char* out, long long v);

}  // namespace rizari
