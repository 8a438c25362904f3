#include "render/number_format.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
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


char* formatGExact(char* out, double v)
{
    if (!std::isfinite(v)) return formatNonFinite(out, v);
    return std::to_chars(out, out + kMaxNumberText, v, std::chars_format::general, 6).ptr;
}

// The six significant digits of |v| as an integer in [100000, 999999] and the decimal exponent
// of the first one, for 1e-5 <= |v| < 1e15: |v| is scaled by an exactly representable power of
// ten (one rounding), so the integer rounding is exact unless the scaled value lies within 1e-6 of
// a half, where only the exact binary value can decide. Returns false then.
bool sixDigits(double a, std::int64_t& digits, int& exponent)
{
    static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11};
    std::uint64_t bits;
    std::memcpy(&bits, &a, sizeof bits);
    const int binaryExponent = static_cast<int>(bits >> 52) - 1023;
    exponent = (binaryExponent * 78913) >> 18;  // floor(binaryExponent * log10(2)): exact or one low
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int k = 5 - exponent;
        const double scaled = k >= 0 ? a * kPow10[k] : a / kPow10[-k];
        const auto whole = static_cast<std::int64_t>(scaled);
        const double fraction = scaled - static_cast<double>(whole);
        if (std::fabs(fraction - 0.5) < 1e-6) return false;
        digits = whole + (fraction > 0.5 ? 1 : 0);
        if (digits > 1000000) {
            ++exponent;  // the estimate was one low
            continue;
        }
        if (digits == 1000000) {  // rounded up into the next decade
            digits = 100000;
            ++exponent;
        }
        return digits >= 100000;
    }
    return false;
}

}  // namespace

// printf's "%g": six significant digits, trailing zeros dropped, the exponent form below 1e-4
// and from 1e6 on. Data files are mostly numbers of moderate size, which take the fast integer
// path; everything else (and every near tie) goes through to_chars.
char* formatG(char* out, double v)
{
    const double a = std::fabs(v);
    std::int64_t m = 0;
    int exponent = 0;
    if (!(a >= 1e-5 && a < 1e15) || !sixDigits(a, m, exponent)) return formatGExact(out, v);

    char digits[6];
    for (int i = 5; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + m % 10);
        m /= 10;
    }
    int n = 6;
    while (n > 1 && digits[n - 1] == '0') --n;

    char* o = out;
    if (v < 0) *o++ = '-';
    if (exponent < -4 || exponent >= 6) {
        *o++ = digits[0];
        if (n > 1) {
            *o++ = '.';
            o = std::copy(digits + 1, digits + n, o);
        }
        *o++ = 'e';
        *o++ = exponent < 0 ? '-' : '+';
        const int e = exponent < 0 ? -exponent : exponent;
        *o++ = static_cast<char>('0' + e / 10);
        *o++ = static_cast<char>('0' + e % 10);
    } else if (exponent >= 0) {
        for (int i = 0; i <= exponent; ++i) *o++ = i < n ? digits[i] : '0';
        if (n > exponent + 1) {
            *o++ = '.';
            o = std::copy(digits + exponent + 1, digits + n, o);
        }
    } else {
        *o++ = '0';
        *o++ = '.';
        for (int i = 0; i < -exponent - 1; ++i) *o++ = '0';
        o = std::copy(digits, digits + n, o);
    }
    return o;
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
