// The text the library writes by itself: numbers as printf writes them, and the data files of
// in-memory data sets, compared byte for byte.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

#include "data/data_file_writer.h"
#include "plot/plot_state.h"
#include "script/number_format.h"
#include "tests/support.h"

namespace rizari::test {
namespace {

std::string via(char* (*format)(char*, double), double v)
{
    char buf[kMaxNumberText];
    return std::string(buf, format(buf, v));
}

// printf as glibc writes: MinGW-w64's leaves out the sign of a negative NaN, which the library
// writes on every platform.
std::string printfText(const char* format, double v)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, format, v);
#ifdef __MINGW32__
    if (std::isnan(v) && std::signbit(v)) return std::string("-") + buf;
#endif
    return buf;
}

// Edge values, random doubles of every magnitude, and the hard cases: seven-digit decimals ending
// in 5 lie exactly between two six-digit texts, so only the binary value (a hair above or below)
// decides the rounding; at the decade boundaries the exponent changes.
TEST(NumberFormat, MatchesPrintf)
{
    using limits = std::numeric_limits<double>;
    std::vector<double> values = {0.0, -0.0, 1e-5, 1e-4, 123456, 1234567, 1e16, 9.8e307, -9.8e307, limits::denorm_min(),
                                  2.2250738585072014e-308, -limits::denorm_min(), 0.1 + 0.2, 9.9999995, 999999.5, 99999.95,
                                  0.00009999995, 0.5, 1.5, 2.5, -2.5, 1e300, 1e-300, limits::max(), -limits::max(),
                                  INFINITY, -INFINITY, NAN, -NAN};
    const std::size_t edges = values.size();  // %f too for each of these; for one in ten of the rest
    std::mt19937_64 rng(20261205);
    for (int i = 0; i < 500000; ++i) {
        const std::uint64_t bits = rng();  // every exponent, denormals, infinities and NaNs
        double v;
        std::memcpy(&v, &bits, sizeof v);
        values.push_back(v);
        values.push_back((std::ldexp(static_cast<double>(rng() >> 11), -53) * 2 - 1) * std::pow(10.0, static_cast<int>(rng() % 40) - 20));
    }
    for (int i = 0; i < 200000; ++i) {
        const double digits = static_cast<double>(1000000 + rng() % 9000000 / 10 * 10 + 5);  // d.dddddd5
        const int scale = i % 2 == 0 ? static_cast<int>(rng() % 26) - 6 : static_cast<int>(rng() % 610) - 300;  // common, then any size
        const double tie = digits / std::pow(10.0, scale);
        values.insert(values.end(), {tie, std::nextafter(tie, 0.0), std::nextafter(tie, INFINITY), -tie});
    }
    for (int k = -307; k <= 308; ++k) {
        const double p = std::pow(10.0, k);
        values.insert(values.end(), {p, std::nextafter(p, 0.0), std::nextafter(p, INFINITY), p * 0.9999995, p * 9.999995});
    }
    int mismatches = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        mismatches += via(formatG, values[i]) != printfText("%g", values[i]);
        if (i < edges || i % 10 == 0) mismatches += via(formatF, values[i]) != printfText("%f", values[i]);
    }
    EXPECT_EQ(mismatches, 0);
}

// A data set of n points whose columns (x, y and maybe z) hold entries of type T.
template <class T> DataSet makeSet(int elementType, const std::vector<std::vector<T>>& columns, int gridXCount = 0)
{
    DataSet set;
    set.elementType = KeptCode<Element>(elementType);
    set.pointCount = static_cast<int>(columns[0].size());
    if (gridXCount > 0) set.gridXCount = gridXCount;
    set.values = ValueBlock::allocate(columns.size() * columns[0].size() * sizeof(T));
    unsigned char* out = set.values->data();
    for (const auto& column : columns) {
        if (!column.empty()) std::memcpy(out, column.data(), column.size() * sizeof(T));
        out += column.size() * sizeof(T);
    }
    return set;
}

class WriterTest : public testing::Test {
protected:
    // Writes the set to a fresh file and returns the file's content.
    std::string write(DataSet set, int dimension, WriteResult expectedResult = WriteResult::Written)
    {
        set.fileName = (dir_.path() / ("out" + std::to_string(++count_))).string();
        std::FILE* file = std::fopen(set.fileName->c_str(), "wb");
        EXPECT_NE(file, nullptr);
        EXPECT_EQ(WriteDataFile(set, dimension, file), expectedResult);
        return readFile(*set.fileName);
    }
    TempDir dir_;
    int count_ = 0;
};

TEST_F(WriterTest, ElementTypes)
{
    EXPECT_EQ(write(makeSet<std::int32_t>(ElementType::Int, {{-2147483647 - 1}, {1}}), 2), "-2147483648 1\n");
    EXPECT_EQ(write(makeSet<double>(ElementType::Double, {{-1e-5}, {kLargeValue}, {0.1}}, 1), 3), "-1e-05 9.8e+307 0.1\n");
    EXPECT_EQ(write(makeSet<float>(ElementType::Float, {{0.1f}, {3.0f}}), 2), "0.1 3\n");
    EXPECT_EQ(write(makeSet<std::int8_t>(ElementType::Char, {{'a'}, {'b'}, {'c'}}, 1), 3), "a b c\n");

    // NaN is a missing value for floating types only; x is never tested.
    EXPECT_EQ(write(makeSet<float>(ElementType::Float, {{1, 2, NAN}, {NAN, 5, 6}}), 2), "2 5\nnan 6\n");
}

TEST_F(WriterTest, GridsAndSpaceCurves)
{
    const std::vector<double> x = {1, 1, 1, 2, 2, 2};
    const std::vector<double> y = {1, 2, 3, 1, 2, 3};
    EXPECT_EQ(write(makeSet<double>(ElementType::Double, {x, y, {0, 1, 2, 3, 4, 5}}, 2), 3),
              "1 1 0\n1 2 1\n1 3 2\n\n2 1 3\n2 2 4\n2 3 5\n");
    EXPECT_EQ(write(makeSet<double>(ElementType::Double, {x, y, {0, 1, 2, 3, 4, 5}}, 1), 3),
              "1 1 0\n1 2 1\n1 3 2\n2 1 3\n2 2 4\n2 3 5\n");
    // A row whose first point is missing keeps its separator.
    EXPECT_EQ(write(makeSet<double>(ElementType::Double, {x, {1, 2, 3, NAN, 2, 3}, {0, NAN, 2, 3, 4, 5}}, 2), 3),
              "1 1 0\n1 3 2\n\n2 2 4\n2 3 5\n");
    // More rows than points: no row is long enough for a separator.
    EXPECT_EQ(write(makeSet<double>(ElementType::Double, {{1, 2}, {3, 4}, {5, 6}}, 3), 3), "1 3 5\n2 4 6\n");
    // A data set added while the plot was 2D lies in the plane z = 0.
    EXPECT_EQ(write(makeSet<double>(ElementType::Double, {{1, 2}, {3, NAN}}), 3), "1 3 0\n");
    EXPECT_EQ(write(makeSet<int>(ElementType::Int, {{1}, {3}}), 3), "1 3 0\n");
}

// Data keep their distinct values: six digits while they keep apart every two values a millionth
// of the column's range apart, else the fewest digits that do; settings that six decimals would
// cut keep six significant digits.
TEST_F(WriterTest, ValuesStayDistinct)
{
    // Timestamps a second apart and an offset column; y is ordinary and keeps six digits.
    EXPECT_EQ(write(makeSet<double>(ElementType::Double, {{1700000000, 1700000001, 1700086400}, {0.25, 1.0 / 3, 0.5}}), 2),
              "1700000000 0.25\n1700000001 0.333333\n1700086400 0.5\n");
    EXPECT_EQ(write(makeSet<double>(ElementType::Double, {{1234566, 1234567, 1234570}, {1, 2, 3}}), 2),
              "1234566 1\n1234567 2\n1234570 3\n");
    // Unsorted: the values of one text come from anywhere in the column.
    EXPECT_EQ(write(makeSet<double>(ElementType::Double, {{1, 2, 3}, {1000.5, 1000.0001, 1000.0004}}), 2),
              "1 1000.5\n2 1000.0001\n3 1000.0004\n");
    // Ordinary data, values of one text that are closer than a millionth of the range, NaN and
    // a constant column stay as six digits give them.
    EXPECT_EQ(write(makeSet<double>(ElementType::Double, {{0, 1.0 / 3, 2.0 / 3, 1}, {2, 1.9997, 1.9981, 1.99620000000001}}), 2),
              "0 2\n0.333333 1.9997\n0.666667 1.9981\n1 1.9962\n");
    EXPECT_EQ(write(makeSet<float>(ElementType::Float, {{0.1f, 0.1f, NAN}, {1, 2, 3}}), 2), "0.1 1\n0.1 2\nnan 3\n");
    char text[kMaxNumberText];
    for (const auto& [v, expected] : std::vector<std::pair<double, std::string>>{
             {1.5e-7, "1.5e-07"}, {-1.2e-6, "-1.2e-06"}, {0.05, "0.050000"}, {0.0123456, "0.0123456"}, {0, "0.000000"},
             {3.141593, "3.141593"}, {-3.25, "-3.250000"}, {0.1, "0.100000"}, {1e-300, "1e-300"}})
        EXPECT_EQ(std::string(text, formatSetting(text, v)), expected) << v;
}

TEST_F(WriterTest, Matrix)
{
    DataSet set = makeSet<double>(ElementType::Int, {{1, 2.5, NAN, 4, 5, 6}});
    set.matrix = MatrixShape{2, 3};  // read as doubles whatever the element type says
    EXPECT_EQ(write(set, 3), "1 2.5 nan \n4 5 6 \n");
    set.matrix = {3, 3};  // more than the values hold: nothing is read past them
    EXPECT_EQ(write(set, 2), "");
    set.matrix = {2, 0};
    EXPECT_EQ(write(set, 2), "");
}

TEST_F(WriterTest, Failures)
{
    std::string text = "x";  // an unknown type leaves its file empty
    EXPECT_EQ(captureStderr([&] { text = write(makeSet<double>(10, {{1}, {2}}), 2, WriteResult::Refused); }),
              "Error: unknown plot data type in CPlot::plotting()\n");
    EXPECT_EQ(text, "");
}

}  // namespace
}  // namespace rizari::test
