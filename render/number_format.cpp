#include "render/number_format.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace rizari {

namespace {

// printf writes "inf", "-inf", "nan" and "-nan"; to_chars agrees, but spelling them out keeps
// the contract independent of the library version.
char* formatNonFinite(char* out, double v)
{
    const char* text = std::isnan(v) ? (std::signbit(v) ? "-nan" : "nan") : (v < 0 ? "-inf" : "inf");
    const std::size_t n = std::strlen(text);
    std::memcpy(out, text, n);
    return out + n;
}

}  // namespace

char* formatG(char* out, double v)
{
    if (!std::isfinite(v)) return formatNonFinite(out, v);
    return std::to_chars(out, out + kMaxNumberText, v, std::chars_format::general, 6).ptr;
}

char* formatF(char* out, double v)
{
    if (!std::isfinite(v)) return formatNonFinite(out, v);
    return std::to_chars(out, out + kMaxNumberText, v, std::chars_format::fixed, 6).ptr;
}

char* formatD(char* out, long long v)
{
    return std::to_chars(out, out + kMaxNumberText, v).ptr;
}

}  // namespace rizari
