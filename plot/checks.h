// The checks every member applies to numbers and option texts before it stores them: numbers
// must be finite (an infinity or NaN would reach the engine as "inf" or "nan" and stop the whole
// script), and an option text, which is written into the script as gnuplot code, must be one line.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace rizari {

// Writes "CPlot::<member>(): invalid parameter".
inline void reportInvalidParameter(const char* member) { std::fprintf(stderr, "CPlot::%s(): invalid parameter\n", member); }

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
