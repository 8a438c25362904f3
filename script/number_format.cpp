#include "script/number_format.h"

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

// 1e0 to 1e308, each the correctly rounded double of its decimal literal.
#define RIZARI_DECADE(d) 1e##d##0, 1e##d##1, 1e##d##2, 1e##d##3, 1e##d##4, 1e##d##5, 1e##d##6, 1e##d##7, 1e##d##8, 1e##d##9
constexpr double kPow10[] = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9,
    RIZARI_DECADE(1), RIZARI_DECADE(2), RIZARI_DECADE(3), RIZARI_DECADE(4), RIZARI_DECADE(5),
    RIZARI_DECADE(6), RIZARI_DECADE(7), RIZARI_DECADE(8), RIZARI_DECADE(9), RIZARI_DECADE(10),
    RIZARI_DECADE(11), RIZARI_DECADE(12), RIZARI_DECADE(13), RIZARI_DECADE(14), RIZARI_DECADE(15),
    RIZARI_DECADE(16), RIZARI_DECADE(17), RIZARI_DECADE(18), RIZARI_DECADE(19), RIZARI_DECADE(20),
    RIZARI_DECADE(21), RIZARI_DECADE(22), RIZARI_DECADE(23), RIZARI_DECADE(24), RIZARI_DECADE(25),
    RIZARI_DECADE(26), RIZARI_DECADE(27), RIZARI_DECADE(28), RIZARI_DECADE(29),
    1e300, 1e301, 1e302, 1e303, 1e304, 1e305, 1e306, 1e307, 1e308};
#undef RIZARI_DECADE
constexpr int kMaxPow10 = 308;
static_assert(sizeof kPow10 / sizeof kPow10[0] == kMaxPow10 + 1);

// |v| * 10^k for a normal |v| and a k that brings it near [1e5, 1e7): at most two table factors
// (one when k <= 308) and one rounding each, so the result is within 4 units in the last place
// (under 5e-9 at that size) of the exact product.
double scaled(double a, int k)
{
    if (k < 0) return a / kPow10[-k];
    if (k <= kMaxPow10) return a * kPow10[k];
    return a * kPow10[kMaxPow10] * kPow10[k - kMaxPow10];  // |v| below 1e-303: no overflow on the way
}

// The six significant digits of |v| as an integer in [100000, 999999] and the decimal exponent
// of the first one, for a normal |v|. The scaled value is close enough to the exact one that the
// integer rounding is exact unless it lies within 1e-6 of a half, where only the exact binary
// value can decide. Returns false then.
bool sixDigits(double a, std::int64_t& digits, int& exponent)
{
    std::uint64_t bits;
    std::memcpy(&bits, &a, sizeof bits);
    const int binaryExponent = static_cast<int>(bits >> 52) - 1023;
    exponent = (binaryExponent * 78913) >> 18;  // floor(binaryExponent * log10(2)): exact or one low
    for (int attempt = 0; attempt < 2; ++attempt) {
        const double s = scaled(a, 5 - exponent);
        const auto whole = static_cast<std::int64_t>(s);
        const double fraction = s - static_cast<double>(whole);
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
// and from 1e6 on. Every normal number takes the fast integer path; zero, subnormals, infinities,
// NaN and every near tie go through to_chars.
char* formatG(char* out, double v)
{
    const double a = std::fabs(v);
    std::int64_t m = 0;
    int exponent = 0;
    if (!std::isnormal(a) || !sixDigits(a, m, exponent)) return formatGExact(out, v);

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
        if (e >= 100) *o++ = static_cast<char>('0' + e / 100);
        *o++ = static_cast<char>('0' + e / 10 % 10);
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

char* formatSetting(char* out, double v)
{
    char* end = formatF(out, v);
    if (!std::isfinite(v) || std::fabs(v) >= 0.1) return end;
    double back = 0.0;
    if (std::from_chars(out, end, back).ec == std::errc() && back == v) return end;
    return formatG(out, v);
}

char* formatGDigits(char* out, double v, int digits)
{
    if (digits == 6 || !std::isfinite(v)) return formatG(out, v);
    return std::to_chars(out, out + kMaxNumberText, v, std::chars_format::general, digits).ptr;
}

char* formatD(char* out, long long v)
{
    return std::to_chars(out, out + kMaxNumberText, v).ptr;
}

}  // namespace rizari
