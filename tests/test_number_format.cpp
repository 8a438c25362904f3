// The number texts of scripts and data files must equal printf's, byte for byte, in any locale.
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "render/number_format.h"
#include "render/script_writer.h"

using namespace rizari;

namespace {

std::string viaG(double v)
{
    char buf[kMaxNumberText];
    return std::string(buf, formatG(buf, v));
}

std::string viaF(double v)
{
    char buf[kMaxNumberText];
    return std::string(buf, formatF(buf, v));
}

std::string printfText(const char* format, double v)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

}  // namespace

TEST(NumberFormat, EdgeValuesMatchPrintf)
{
    const double values[] = {0.0, -0.0, 1e-5, 1e-4, 123456, 1234567, 1e16, 9.8e307, -9.8e307,
                             std::numeric_limits<double>::denorm_min(), 2.2250738585072014e-308,
                             -std::numeric_limits<double>::denorm_min(), 0.1 + 0.2, 9.9999995, 999999.5,
                             99999.95, 0.00009999995, 0.5, 1.5, 2.5, -2.5, 1e300, 1e-300,
                             std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
                             INFINITY, -INFINITY, NAN, -NAN};
    for (double v : values) {
        EXPECT_EQ(viaG(v), printfText("%g", v)) << "value " << v;
        EXPECT_EQ(viaF(v), printfText("%f", v)) << "value " << v;
    }
}

TEST(NumberFormat, MillionRandomDoublesOfEveryMagnitudeMatchPrintf)
{
    std::mt19937_64 rng(20261205);
    int mismatches = 0;
    for (int i = 0; i < 1000000; ++i) {
        double v;
        if (i % 2 == 0) {
            const std::uint64_t bits = rng();  // every exponent, denormals, infinities and NaNs
            std::memcpy(&v, &bits, sizeof v);
        } else {
            const double mantissa = std::ldexp(static_cast<double>(rng() >> 11), -53) * 2.0 - 1.0;
            v = mantissa * std::pow(10.0, static_cast<int>(rng() % 40) - 20);
        }
        if (viaG(v) != printfText("%g", v)) ++mismatches;
        if (i % 10 == 0 && viaF(v) != printfText("%f", v)) ++mismatches;
    }
    EXPECT_EQ(mismatches, 0);
}

// Seven-digit decimals ending in 5 lie exactly between two six-digit texts; only the binary value
// (a hair above or below) decides the rounding. They and their neighbours must round as printf does.
TEST(NumberFormat, DecimalTiesAndTheirNeighboursMatchPrintf)
{
    std::mt19937_64 rng(5);
    int mismatches = 0;
    for (int i = 0; i < 200000; ++i) {
        const double digits = static_cast<double>(1000000 + rng() % 9000000 / 10 * 10 + 5);  // d.dddddd5
        const double tie = digits / std::pow(10.0, static_cast<int>(rng() % 26) - 6);
        for (double v : {tie, std::nextafter(tie, 0.0), std::nextafter(tie, INFINITY), -tie})
            if (viaG(v) != printfText("%g", v)) ++mismatches;
    }
    for (int k = -6; k <= 16; ++k) {  // the decade boundaries, where the exponent changes
        const double p = std::pow(10.0, k);
        for (double v : {p, std::nextafter(p, 0.0), std::nextafter(p, INFINITY), p * 0.9999995, p * 9.999995})
            if (viaG(v) != printfText("%g", v)) ++mismatches;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(ScriptWriter, FormatsConversionsAndIgnoresTheLocale)
{
    std::string out;
    ScriptWriter w(out);
    const char* old = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // may be absent; then C stays
    w.print("set view %f, %g, %d %s%c%%\n", 60.0, 0.25, 7, "ok", 'x');
    w.print("set label \"%s\" at %lf\n", static_cast<const char*>(nullptr), 1.0);
    w.put("%d stays\n");
    if (old) std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(out, "set view 60.000000, 0.25, 7 okx%\nset label \"\" at 1.000000\n%d stays\n");
}
