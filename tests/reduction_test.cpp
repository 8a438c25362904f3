// The reduction of large data sets: what each style keeps, when a data set stays whole, which
// plots and outputs are thinned and for which picture, and the files plotting() writes.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <cmath>
#include <map>
#include <random>
#include <sstream>

#include "data/pixel_grid.h"
#include "data/reduction.h"
#include "data/reduction_rule.h"
#include "plot/plot_state.h"
#include "tests/support.h"

namespace rizari::test {
namespace {

constexpr PixelArea kArea{640, 480};
constexpr std::size_t kThreshold = 40 * 640;  // finite points a 640-pixel-wide picture keeps whole

// A data set's block: the n x values, then the n y values.
struct Series {
    std::vector<double> x, y;
    std::vector<double> block;

    Series(std::vector<double> xs, std::vector<double> ys) : x(std::move(xs)), y(std::move(ys)), block(x)
    {
        block.insert(block.end(), y.begin(), y.end());
    }
    PointColumns columns() const
    {
        const auto* base = reinterpret_cast<const unsigned char*>(block.data());
        return PointColumns(base, base + x.size() * sizeof(double), sizeof(double), x.size());
    }
};

// n points over x in [0, 100]: a sine with noise of the given size.
Series noisy(std::size_t n, double noise = 0.3, unsigned seed = 1)
{
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> gauss(0, 1);
    std::vector<double> x(n), y(n);
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = 100.0 * static_cast<double>(i) / static_cast<double>(n - 1);
        y[i] = std::sin(x[i]) + noise * gauss(rng);
    }
    return Series(std::move(x), std::move(y));
}

// What a reduction handed out, in order: the index of an original point, or none for one of its own.
struct Kept : KeptPoints {
    struct Point {
        std::optional<std::size_t> index;
        double x, y;
    };
    explicit Kept(const PointColumns& c) : columns(c) {}
    void original(std::size_t i) override { points.push_back({i, columns.x(i), columns.y(i)}); }
    void extra(double x, double y) override { points.push_back({std::nullopt, x, y}); }
    std::vector<std::size_t> indices() const
    {
        std::vector<std::size_t> out;
        for (const Point& p : points)
            if (p.index) out.push_back(*p.index);
        return out;
    }
    PointColumns columns;
    std::vector<Point> points;
};

PictureAxes axesOf(PixelArea area)
{
    PictureAxes axes;
    axes.area = area;
    return axes;
}

// The points a reduction keeps; none when it leaves the data set whole (then it handed out nothing).
std::optional<Kept> reduce(const Series& s, ReducedStyle style, PixelArea area = kArea, MissingPoints missing = MissingPoints::Joined)
{
    const PointColumns columns = s.columns();
    Kept kept(columns);
    const auto count = reducePoints(columns, style, missing, axesOf(area), kept).kept;
    if (!count) {
        EXPECT_TRUE(kept.points.empty());
        return std::nullopt;
    }
    EXPECT_EQ(*count, kept.points.size());
    return kept;
}

constexpr ReducedStyle kEveryStyle[] = {ReducedStyle::Lines,  ReducedStyle::Steps,  ReducedStyle::LinesPoints, ReducedStyle::Impulses,
                                        ReducedStyle::Points, ReducedStyle::Dots,   ReducedStyle::FilledCurve};

bool joined(ReducedStyle style) { return style != ReducedStyle::Points && style != ReducedStyle::Dots; }

// For each of `buckets` equal parts of the x range, the lowest and highest y among the indices.
std::map<std::size_t, std::pair<double, double>> envelope(const Series& s, const std::vector<std::size_t>& indices, std::size_t buckets)
{
    const double low = *std::min_element(s.x.begin(), s.x.end()), high = *std::max_element(s.x.begin(), s.x.end());
    std::map<std::size_t, std::pair<double, double>> out;
    for (std::size_t i : indices) {
        if (std::isnan(s.y[i])) continue;
        const auto k = std::min(buckets - 1, static_cast<std::size_t>((s.x[i] - low) * static_cast<double>(buckets) / (high - low)));
        auto [at, added] = out.try_emplace(k, s.y[i], s.y[i]);
        at->second.first = std::min(at->second.first, s.y[i]);
        at->second.second = std::max(at->second.second, s.y[i]);
    }
    return out;
}

std::vector<std::size_t> allIndices(const Series& s)
{
    std::vector<std::size_t> all(s.x.size());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
    return all;
}

// At most the threshold of drawn points, and data whose picture the reduction cannot promise,
// are left whole; one point more is thinned.
TEST(Reduction, SmallDataAndDataItCannotThinStayWhole)
{
    for (ReducedStyle style : kEveryStyle) {
        EXPECT_FALSE(reduce(noisy(kThreshold), style)) << static_cast<int>(style);
        EXPECT_TRUE(reduce(noisy(kThreshold + 1), style)) << static_cast<int>(style);
    }
    Series gap = noisy(kThreshold + 1);
    gap.block[gap.x.size() + 7] = NAN;  // a point left out: one drawn point fewer
    EXPECT_FALSE(reduce(gap, ReducedStyle::Lines));
    EXPECT_FALSE(reduce(noisy(kThreshold * 3), ReducedStyle::Lines, {40000, 480}));  // beyond a picture's size

    const std::size_t n = 50000;
    Series unsorted = noisy(n);
    std::swap(unsorted.block[100], unsorted.block[101]);
    for (ReducedStyle style : kEveryStyle) EXPECT_EQ(reduce(unsorted, style).has_value(), !joined(style)) << static_cast<int>(style);

    // Values gnuplot leaves out of the picture (an infinity is written as 9.8e307), an x of NaN
    // (written as it is), no spread in y, and a missing point in a table (where it breaks the line).
    for (const auto& [index, value] : std::vector<std::pair<std::size_t, double>>{{n + 5, 9.8e307}, {5, -9.8e307}, {5, NAN}}) {
        Series far = noisy(n);
        far.block[index] = value;
        EXPECT_FALSE(reduce(far, ReducedStyle::Lines)) << index << " " << value;
    }
    EXPECT_FALSE(reduce(Series(noisy(n).x, std::vector<double>(n, 2.0)), ReducedStyle::Points));
    Series table = noisy(n);
    EXPECT_TRUE(reduce(table, ReducedStyle::Lines, kArea, MissingPoints::Break));
    table.block[n + 9] = NAN;
    EXPECT_FALSE(reduce(table, ReducedStyle::Lines, kArea, MissingPoints::Break));
}

// The joined styles keep every bucket's lowest and highest point, so the outline of the picture
// is the data's; the points are the data's own, in their order, with staircase corners only
// between two kept points at the height of the first. The points that set the ranges stay.
TEST(Reduction, JoinedStylesKeepEachBucketsEnvelopeInOrder)
{
    const Series smoothAndNoisy[] = {noisy(200000), noisy(200000, 0.0), noisy(2000000, 0.01)};
    for (const Series& s : smoothAndNoisy) {
        for (ReducedStyle style : {ReducedStyle::Lines, ReducedStyle::Steps, ReducedStyle::LinesPoints}) {
            const auto kept = reduce(s, style);
            ASSERT_TRUE(kept);
            const std::vector<std::size_t> indices = kept->indices();
            // Marks on the steep flanks of noise all show: linespoints keeps most of them there.
            if (style != ReducedStyle::LinesPoints) {
                EXPECT_LT(indices.size() * 2, s.x.size());
            }
            EXPECT_TRUE(std::is_sorted(indices.begin(), indices.end()));
            EXPECT_EQ(std::adjacent_find(indices.begin(), indices.end()), indices.end());
            EXPECT_EQ(indices.front(), 0u);
            EXPECT_EQ(indices.back(), s.x.size() - 1);
            const std::size_t buckets = 4 * 640 * (style == ReducedStyle::Steps ? 2 : 1);
            EXPECT_EQ(envelope(s, indices, buckets), envelope(s, allIndices(s), buckets)) << static_cast<int>(style);
            for (std::size_t k = 0; k < kept->points.size(); ++k) {
                const Kept::Point& p = kept->points[k];
                if (p.index) continue;
                ASSERT_EQ(style, ReducedStyle::Lines);  // only lines draws its own staircase
                ASSERT_TRUE(k > 0 && k + 1 < kept->points.size());
                EXPECT_EQ(p.y, kept->points[k - 1].y);
                EXPECT_EQ(p.x, kept->points[k + 1].x);
            }
        }
    }
}

// A line two pixels wide whose noise draws a solid band keeps each bucket's extremes, but its
// strokes through the band's interior are cut short (the points of its own lie within what the
// data covers there); a thin band is drawn as a line a pixel wide is.
TEST(Reduction, ASolidBandIsDrawnWithShortStrokes)
{
    const auto keptBy = [](const Series& s, double lineWidth) {
        PictureAxes axes = axesOf(kArea);
        axes.lineWidth = lineWidth;
        Kept kept(s.columns());
        EXPECT_TRUE(reducePoints(s.columns(), ReducedStyle::Lines, MissingPoints::Joined, axes, kept).kept);
        return kept.points;
    };
    const auto strokes = [](const std::vector<Kept::Point>& points) {
        double length = 0;
        for (std::size_t k = 1; k < points.size(); ++k) length += std::fabs(points[k].y - points[k - 1].y);
        return length;
    };
    const Series band = noisy(400000), thin = noisy(400000, 0.01);
    const std::vector<Kept::Point> cut = keptBy(band, 2), plain = keptBy(band, 1);
    EXPECT_LT(strokes(cut) * 2, strokes(plain));
    std::vector<std::size_t> indices;
    for (const Kept::Point& p : cut)
        if (p.index) indices.push_back(*p.index);
    EXPECT_EQ(envelope(band, indices, 2560), envelope(band, allIndices(band), 2560));
    EXPECT_EQ(cut.front().index, 0u);
    EXPECT_EQ(cut.back().index, band.x.size() - 1);
    const auto covered = envelope(band, allIndices(band), 2560);
    for (const Kept::Point& p : cut) {
        if (p.index) continue;
        const auto [low, high] = covered.at(std::min<std::size_t>(2559, static_cast<std::size_t>(p.x * 25.6)));
        EXPECT_TRUE(p.y > low && p.y < high) << p.x << " " << p.y;
    }
    const auto indicesOf = [](const std::vector<Kept::Point>& points) {
        std::vector<std::optional<std::size_t>> out;
        for (const Kept::Point& p : points) out.push_back(p.index);
        return out;
    };
    EXPECT_EQ(indicesOf(keptBy(thin, 2)), indicesOf(keptBy(thin, 1)));
}

// A point left out (NaN) is never written; a gap wider than a bucket keeps the points on both
// sides, so the segment gnuplot draws across it stays.
TEST(Reduction, GapsKeepThePointsBesideThem)
{
    Series s = noisy(300000);
    const std::size_t n = s.x.size();
    const std::vector<std::pair<std::size_t, std::size_t>> gaps = {{1000, 3000}, {150000, 150500}, {290000, 290010}};
    for (const auto& [from, to] : gaps)
        for (std::size_t i = from; i < to; ++i) s.y[i] = s.block[n + i] = NAN;
    for (ReducedStyle style : {ReducedStyle::Lines, ReducedStyle::Steps, ReducedStyle::FilledCurve, ReducedStyle::Impulses}) {
        const auto kept = reduce(s, style);
        ASSERT_TRUE(kept);
        const std::vector<std::size_t> indices = kept->indices();
        for (std::size_t i : indices) EXPECT_FALSE(std::isnan(s.y[i])) << i;
        if (style == ReducedStyle::Impulses) continue;  // no segments
        for (const auto& [from, to] : gaps) {
            if (to - from < 100) continue;  // narrower than a bucket
            EXPECT_TRUE(std::binary_search(indices.begin(), indices.end(), from - 1)) << static_cast<int>(style) << " " << from;
            EXPECT_TRUE(std::binary_search(indices.begin(), indices.end(), to)) << static_cast<int>(style) << " " << to;
        }
    }
}

// Marks keep a few points in every occupied quarter-pixel cell (three marks, two dots), and the
// points that set the ranges; x need not be in order.
TEST(Reduction, MarksKeepAFewPointsInEveryOccupiedCell)
{
    std::mt19937_64 rng(7);
    std::normal_distribution<double> gauss(0, 1);
    std::vector<double> x(300000), y(300000);
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = gauss(rng), y[i] = gauss(rng);
    const Series s(x, y);
    const double xlow = *std::min_element(x.begin(), x.end()), xhigh = *std::max_element(x.begin(), x.end());
    const double ylow = *std::min_element(y.begin(), y.end()), yhigh = *std::max_element(y.begin(), y.end());
    auto cellOf = [&](std::size_t i) {
        const auto column = std::min<std::size_t>(1279, static_cast<std::size_t>((x[i] - xlow) * 1280 / (xhigh - xlow)));
        const auto row = std::min<std::size_t>(959, static_cast<std::size_t>((y[i] - ylow) * 960 / (yhigh - ylow)));
        return row * 1280 + column;
    };
    const std::size_t extremes[] = {static_cast<std::size_t>(std::min_element(x.begin(), x.end()) - x.begin()),
                                    static_cast<std::size_t>(std::max_element(x.begin(), x.end()) - x.begin()),
                                    static_cast<std::size_t>(std::min_element(y.begin(), y.end()) - y.begin()),
                                    static_cast<std::size_t>(std::max_element(y.begin(), y.end()) - y.begin())};
    std::map<std::size_t, int> occupied;
    for (std::size_t i = 0; i < x.size(); ++i) ++occupied[cellOf(i)];
    for (const auto& [style, most] : {std::pair{ReducedStyle::Points, 3}, std::pair{ReducedStyle::Dots, 2}}) {
        const auto kept = reduce(s, style);
        ASSERT_TRUE(kept);
        std::map<std::size_t, int> perCell;
        for (std::size_t i : kept->indices()) ++perCell[cellOf(i)];
        EXPECT_EQ(perCell.size(), occupied.size());
        int tooMany = 0;
        for (const auto& [cell, count] : perCell) tooMany += count > std::min(most, occupied[cell]);
        EXPECT_LE(tooMany, 4);  // the cells of the extremes
        const std::vector<std::size_t> indices = kept->indices();
        for (std::size_t extreme : extremes) EXPECT_NE(std::find(indices.begin(), indices.end(), extreme), indices.end()) << extreme;
    }
}

// A point's pixel as cairo snaps it: whole terminal units rounded half up, then pixels rounded half
// to even, rows from the top; a point that a millionth of a unit, or the slack of its read-back
// value, could put in another pixel has none.
// A mark's covered pixels lie wholly inside its circle, its touched ones take in every pixel the
// circle reaches, and coverage holds across the words of a row.
TEST(PixelGrid, PointsMarksAndCoverageAsCairoDrawsThem)
{
    const PixelGrid grid(PlotLayout{0, 100, 0, 100, 0, 1000, 0, 1000, 1000, 1000, 10});
    const auto at = [&](double x, double y) {
        const auto p = grid.pixelOf(x, y);
        return p ? std::to_string(p->column) + "," + std::to_string(p->row) : std::string("none");
    };
    EXPECT_EQ(at(50.5, 50.5), "50,50");  // 505 units: half a pixel, to the even column; 495 down: to the even row
    EXPECT_EQ(at(51.5, 2), "52,98");
    EXPECT_EQ(at(51.45 - 1e-9, 50), "none");  // 515 units: 514 is column 51, 515 column 52
    EXPECT_EQ(at(51.45 + 1e-9, 50), "none");
    EXPECT_EQ(at(50.05 - 1e-9, 50), "50,50");  // 500 or 501 units: column 50 either way
    EXPECT_EQ(at(-1, 50), "none");
    // Read back within a thousandth of 51.4 it may be 513 to 515 units; within a ten-thousandth 514.
    EXPECT_EQ(grid.pixelOf(51.4, 50, 1e-3, 0).has_value(), false);
    EXPECT_EQ(grid.pixelOf(51.4, 50, 1e-4, 0)->column, 51);

    for (const double radius : {0.7, 1.5, 3.0, 4.25}) {
        const MarkShape covered = MarkShape::covered(radius), touched = MarkShape::touched(radius);
        const auto within = [](const MarkShape& shape, int dx, int dy) {
            return std::any_of(shape.spans().begin(), shape.spans().end(), [&](const auto& s) { return s.dy == dy && s.from <= dx && dx <= s.to; });
        };
        for (int dy = -6; dy <= 6; ++dy)
            for (int dx = -6; dx <= 6; ++dx) {
                const double farthest = std::hypot(std::abs(dx) + 0.5, std::abs(dy) + 0.5);
                const double nearest = std::hypot(std::max(std::abs(dx) - 0.5, 0.0), std::max(std::abs(dy) - 0.5, 0.0));
                EXPECT_TRUE(!within(covered, dx, dy) || farthest <= radius) << radius << " " << dx << "," << dy;
                EXPECT_TRUE(farthest > radius - 0.2 || within(covered, dx, dy)) << radius << " " << dx << "," << dy;
                EXPECT_TRUE(nearest >= radius || within(touched, dx, dy)) << radius << " " << dx << "," << dy;
            }
    }
    Coverage coverage(130, 20);
    const MarkShape wide = MarkShape::covered(3.0);
    coverage.add({63, 10}, wide);
    coverage.add({66, 10}, wide);
    EXPECT_TRUE(coverage.covers({63, 10}, wide));
    EXPECT_TRUE(coverage.covers({65, 10}, MarkShape::covered(1.5)));
    EXPECT_FALSE(coverage.covers({70, 10}, wide));
    EXPECT_FALSE(coverage.covers({2, 11}, MarkShape::covered(1.5)));  // one pixel; a row's second word is no other row's first
    EXPECT_FALSE(coverage.covers({1, 10}, wide));  // beyond the left edge nothing is covered
}

// Dots whose layout and colour are known become an image of their shades, but for the points that
// set the ranges, those of the pixels the plot area's edge cuts and those too near a pixel's edge
// for the digits they are written with (more for times in seconds). Every other dot is counted in
// its pixel, and the image lies pixel for pixel on the picture's.
TEST(Reduction, DotsBecomeAnImageOfTheirShades)
{
    constexpr std::size_t kDots = 100000;
    for (const double offset : {0.0, 1.7e9}) {
        std::mt19937_64 rng(3);
        std::uniform_real_distribution<double> unit(0, 1);
        std::vector<double> x(kDots), y(kDots);
        for (std::size_t i = 0; i < kDots; ++i) x[i] = offset + 1e6 * unit(rng), y[i] = unit(rng);
        const Series s(x, y);
        const double xLow = *std::min_element(x.begin(), x.end()), xHigh = *std::max_element(x.begin(), x.end());
        // Pixel 51's left edge and the edges of rows 29 and 428 lie on the plot area's.
        const PlotLayout layout{xLow, xHigh, 0, 1, 10100, 120000, 10100, 90100, 127800, 95800, 200};
        PictureAxes axes = axesOf(kArea);
        axes.layout = layout;
        axes.dotsAsImage = true;
        const PointColumns columns = s.columns();
        Kept kept(columns);
        const Thinning thinning = reducePoints(columns, ReducedStyle::Dots, MissingPoints::Joined, axes, kept);
        ASSERT_TRUE(thinning.kept && thinning.shades) << offset;
        const DotShades& image = *thinning.shades;
        EXPECT_LT(kept.points.size(), kDots / 20) << offset;
        // Pixels 51 to 599 of 0 .. 639 lie wholly inside 10100 .. 120000 (a pixel is 200 units).
        EXPECT_EQ(image.columns, 549);
        EXPECT_EQ(image.rows, 400);  // rows 29 .. 428 from the top (centres at 95800 - 200 row)
        const PixelGrid grid(layout);
        EXPECT_EQ(image.x0, grid.xAt(51));
        EXPECT_EQ(image.y0, grid.yAt(428));
        EXPECT_NEAR(image.dx, 200 * (xHigh - xLow) / 109900, 1e-9 * (xHigh - xLow));
        EXPECT_NEAR(image.dy, 200.0 / 80000, 1e-12);
        std::size_t shaded = 0;
        for (const std::uint8_t dots : image.dots) shaded += dots;
        EXPECT_EQ(shaded + kept.points.size(), kDots) << offset;
    }
}

// Values are read where they lie, in their own element type: float and integer columns keep the
// points their values keep as doubles. An x range (either way round) is bucketed over its width,
// keeping one point beyond each edge and none further; a log x axis is bucketed in log space.
TEST(Reduction, ElementTypesAndTheAxesOfThePicture)
{
    const Series s = noisy(200000);
    const std::size_t n = s.x.size();
    std::vector<float> floats(s.block.begin(), s.block.end());
    std::vector<std::int32_t> ints(2 * n);
    for (std::size_t i = 0; i < n; ++i) ints[i] = static_cast<std::int32_t>(i), ints[n + i] = static_cast<std::int32_t>(std::lround(1000 * s.y[i]));
    const auto typed = [&](const auto& values, int type) {
        const auto* base = reinterpret_cast<const unsigned char*>(values.data());
        const std::size_t size = sizeof(values[0]);
        return PointColumns({base, size, type}, {base + n * size, size, type}, n);
    };
    const auto keptBy = [](const PointColumns& columns, ReducedStyle style, const PictureAxes& axes) {
        Kept kept(columns);
        return reducePoints(columns, style, MissingPoints::Joined, axes, kept).kept ? kept.indices() : std::vector<std::size_t>{};
    };
    const Series widenedFloats(std::vector<double>(floats.begin(), floats.begin() + n), std::vector<double>(floats.begin() + n, floats.end()));
    const Series widenedInts(std::vector<double>(ints.begin(), ints.begin() + n), std::vector<double>(ints.begin() + n, ints.end()));
    for (ReducedStyle style : {ReducedStyle::Lines, ReducedStyle::Points}) {
        EXPECT_EQ(keptBy(typed(floats, ElementType::Float), style, axesOf(kArea)), keptBy(widenedFloats.columns(), style, axesOf(kArea)));
        EXPECT_EQ(keptBy(typed(ints, ElementType::Int), style, axesOf(kArea)), keptBy(widenedInts.columns(), style, axesOf(kArea)));
        EXPECT_FALSE(keptBy(typed(ints, ElementType::Int), style, axesOf(kArea)).empty());
    }

    PictureAxes zoomed = axesOf(kArea);
    zoomed.xRange = AxisSpan{60, 20};
    const std::vector<std::size_t> inside = keptBy(s.columns(), ReducedStyle::Lines, zoomed);
    ASSERT_GT(inside.size(), 2u);
    EXPECT_LT(inside.size() * 4, n);
    EXPECT_EQ(inside.front(), static_cast<std::size_t>(std::lower_bound(s.x.begin(), s.x.end(), 20.0) - s.x.begin()) - 1);
    EXPECT_EQ(inside.back(), static_cast<std::size_t>(std::upper_bound(s.x.begin(), s.x.end(), 60.0) - s.x.begin()));
    for (std::size_t k = 1; k + 1 < inside.size(); ++k) EXPECT_TRUE(s.x[inside[k]] >= 20 && s.x[inside[k]] <= 60) << inside[k];

    // Each bucket's lowest and highest point stay: over [20, 60], and in log space.
    std::vector<double> logX(n);
    for (std::size_t i = 0; i < n; ++i) logX[i] = std::pow(10.0, 3.0 * static_cast<double>(i) / static_cast<double>(n - 1));
    const Series logSpaced(logX, s.y);
    PictureAxes logAxes = axesOf(kArea);
    logAxes.logX = true;
    const std::vector<std::size_t> logKept = keptBy(logSpaced.columns(), ReducedStyle::Lines, logAxes);
    const auto extremes = [](const std::vector<double>& at, const Series& points, const std::vector<std::size_t>& indices) {
        std::map<long, std::pair<double, double>> out;
        for (std::size_t i : indices) {
            if (at[i] < 0 || at[i] > 1) continue;
            auto [it, added] = out.try_emplace(std::min(2559L, static_cast<long>(at[i] * 2560)), points.y[i], points.y[i]);
            it->second = {std::min(it->second.first, points.y[i]), std::max(it->second.second, points.y[i])};
        }
        return out;
    };
    std::vector<double> zoomAt(n), logAt(n);
    for (std::size_t i = 0; i < n; ++i) zoomAt[i] = (s.x[i] - 20) / 40, logAt[i] = std::log10(logX[i]) / 3;
    EXPECT_EQ(extremes(zoomAt, s, inside), extremes(zoomAt, s, allIndices(s)));
    EXPECT_EQ(extremes(logAt, logSpaced, logKept), extremes(logAt, logSpaced, allIndices(logSpaced)));
    EXPECT_LT(logKept.size() * 2, n);
}

// Impulses keep each bucket's three tallest and three deepest, and the ends of the x range.
TEST(Reduction, ImpulsesKeepEachBucketsTallestAndDeepest)
{
    const Series s = noisy(100000);
    const auto kept = reduce(s, ReducedStyle::Impulses);
    ASSERT_TRUE(kept);
    const std::vector<std::size_t> indices = kept->indices();
    EXPECT_LE(indices.size(), 6u * 2560 + 2);
    EXPECT_EQ(indices.front(), 0u);
    EXPECT_EQ(indices.back(), s.x.size() - 1);
    std::map<std::size_t, std::vector<double>> all, chosen;
    for (std::size_t i = 0; i < s.x.size(); ++i) all[std::min<std::size_t>(2559, static_cast<std::size_t>(s.x[i] * 25.6))].push_back(s.y[i]);
    for (std::size_t i : indices) chosen[std::min<std::size_t>(2559, static_cast<std::size_t>(s.x[i] * 25.6))].push_back(s.y[i]);
    for (auto& [bucket, ys] : all) {
        std::sort(ys.begin(), ys.end());
        std::vector<double>& mine = chosen[bucket];
        for (std::size_t k = 0; k < std::min<std::size_t>(3, ys.size()); ++k) {
            EXPECT_NE(std::find(mine.begin(), mine.end(), ys[k]), mine.end()) << bucket;
            EXPECT_NE(std::find(mine.begin(), mine.end(), ys[ys.size() - 1 - k]), mine.end()) << bucket;
        }
    }
}

// A filled curve keeps the area under it (each bucket's ramp covers the same width below each
// height), its ends and its extremes; the ramp stays within the bucket's heights.
TEST(Reduction, FilledCurveKeepsTheAreaUnderIt)
{
    auto area = [](const std::vector<std::pair<double, double>>& points) {
        double sum = 0;
        for (std::size_t k = 1; k < points.size(); ++k)
            sum += (points[k].first - points[k - 1].first) * (points[k].second + points[k - 1].second) / 2;
        return sum;
    };
    for (const Series& s : {noisy(200000), noisy(200000, 0.0)}) {
        const auto kept = reduce(s, ReducedStyle::FilledCurve);
        ASSERT_TRUE(kept);
        EXPECT_LT(kept->points.size() * 5, s.x.size());
        std::vector<std::pair<double, double>> whole, reduced;
        for (std::size_t i = 0; i < s.x.size(); ++i) whole.emplace_back(s.x[i], s.y[i]);
        for (const Kept::Point& p : kept->points) reduced.emplace_back(p.x, p.y);
        EXPECT_TRUE(std::is_sorted(reduced.begin(), reduced.end(), [](auto& a, auto& b) { return a.first < b.first; }));
        const double yspan = *std::max_element(s.y.begin(), s.y.end()) - *std::min_element(s.y.begin(), s.y.end());
        EXPECT_NEAR(area(reduced), area(whole), 1e-4 * yspan * 100);
        const std::vector<std::size_t> indices = kept->indices();
        for (auto extreme : {std::min_element(s.y.begin(), s.y.end()), std::max_element(s.y.begin(), s.y.end())})
            EXPECT_TRUE(std::binary_search(indices.begin(), indices.end(), static_cast<std::size_t>(extreme - s.y.begin())));
        const auto bounds = envelope(s, allIndices(s), 2560);
        for (const Kept::Point& p : kept->points) {
            if (p.index) continue;
            const auto k = std::min<std::size_t>(2559, static_cast<std::size_t>(p.x * 25.6));
            EXPECT_GE(p.y, bounds.at(k).first);
            EXPECT_LE(p.y, bounds.at(k).second);
        }
    }
}

// ---- Which plots and outputs are thinned, and for which picture ----

// A plot of one data set of n noisy points drawn into a pngcairo file, with RIZARI_REDUCE unset.
struct RulePlot {
    explicit RulePlot(std::size_t n = 30000)
    {
        const Series s = noisy(n);
        plot.data2D(s.x, s.y);
        plot.outputType(PlotOutputType::File, "pngcairo", "unused.png");
    }
    std::optional<ReductionTarget> target(std::size_t set = 0)
    {
        const PlotState& s = PlotAccess::state(plot);
        return reductionTarget(s, s.output, s.dataSets.at(set));
    }
    CPlot plot;
    ScopedEnv unset{"RIZARI_REDUCE", std::nullopt};
};

ReductionTarget lines(int width, int height, double lineWidth = 0)
{
    ReductionTarget target;
    target.width = width;
    target.height = height;
    target.lineWidth = lineWidth;
    return target;
}

// On a cairo terminal the line's width is known in pixels (gnuplot's unit there), unless the
// terminal's options scale it.
ReductionTarget cairoLines(int width, int height) { return lines(width, height, kDefaultLineWidth); }

// Raster images are thinned; windows and vector images only when turned on, by RIZARI_REDUCE=1
// or the plot's own call, which comes first. Terminals are named as gnuplot reads them: any
// beginning only one name has, "s" for sixelgd and "e" for epscairo; "pn" names none.
TEST(ReductionRule, RasterImagesUnlessTurnedOff)
{
    for (const char* terminal : {"png", "pngcairo", "gif", "jpeg", "sixelgd", "pbm", "png color", "pngc", "jp", "s"}) {
        RulePlot p;
        p.plot.outputType(PlotOutputType::File, terminal, "unused");
        const bool cairo = std::string_view(terminal).starts_with("pngc");
        EXPECT_EQ(p.target(), cairo ? cairoLines(640, 480) : lines(640, 480)) << terminal;
    }
    RulePlot p;
    p.plot.outputType(PlotOutputType::Stream, "png");
    EXPECT_EQ(p.target(), lines(640, 480));
    for (const char* terminal : {"svg", "pdfcairo", "postscript eps", "post", "e", "pn", "ti"}) {
        p.plot.outputType(PlotOutputType::File, terminal, "unused");
        EXPECT_EQ(p.target(), std::nullopt) << terminal;
    }
    p.plot.outputType(PlotOutputType::Window);
    EXPECT_EQ(p.target(), std::nullopt);
    {
        ScopedEnv on("RIZARI_REDUCE", "1");
        EXPECT_EQ(p.target(), lines(640, 384));  // the window's default size
        p.plot.outputType(PlotOutputType::File, "svg", "unused");
        EXPECT_EQ(p.target(), lines(600, 480));
        p.plot.outputType(PlotOutputType::File, "pd", "unused");
        EXPECT_EQ(p.target(), lines(360, 216));  // pdfcairo's five by three inches at 72 pixels each
        p.plot.reduceLargeData(false);
        EXPECT_EQ(p.target(), std::nullopt);
    }
    p.plot.outputType(PlotOutputType::File, "png", "unused");
    p.plot.reduceLargeData(std::nullopt);
    ScopedEnv off("RIZARI_REDUCE", "0");
    EXPECT_EQ(p.target(), std::nullopt);
    p.plot.reduceLargeData(true);
    EXPECT_EQ(p.target(), lines(640, 480));
}

// The picture's size: sizeOutput, else the terminal's own size option (pixels, or inches and
// centimetres at 72 pixels each; the option shortened as far as gnuplot takes it), else its
// default; a cell of a grid has its share. The threshold is 40 points per pixel column of that width.
TEST(ReductionRule, ThePictureIsTheTerminalsShareOfThePlot)
{
    RulePlot p(30000);
    for (const auto& [terminal, size] : std::vector<std::pair<const char*, std::optional<ReductionTarget>>>{
             {"pngcairo size 700,500", cairoLines(700, 500)},
             {"pngcairo enhanced size 700, 500 font \"Sans,size 9\"", cairoLines(700, 500)},
             {"pngcairo size 10cm,5cm", cairoLines(283, 142)},
             {"pngcairo size 5in, 3 in", cairoLines(360, 216)},
             {"pngc si 700,500", cairoLines(700, 500)},
             {"pngcairo s 700,500", cairoLines(640, 480)},  // gnuplot takes "si" and longer
             {"pngcairo size 700,500 lw 3", lines(700, 500)},  // the terminal scales the lines
             {"pngcairo size 800", std::nullopt},
             {"pngcairo size 700,500 size 760,540", std::nullopt},  // the last one counts: 760 columns need more than 30400
             {"png size wide,tall", std::nullopt}}) {
        p.plot.outputType(PlotOutputType::File, terminal, "unused");
        EXPECT_EQ(p.target(), size) << terminal;
    }
    p.plot.sizeOutput(300, 200);
    EXPECT_EQ(p.target(), lines(300, 200));  // the last terminal above, png
    p.plot.sizeOutput(751, 600);  // 30040 points are needed above 751 columns
    EXPECT_EQ(p.target(), std::nullopt);

    RulePlot grid(12801);
    ASSERT_EQ(grid.plot.subplot(2, 2), 0);
    const Series s = noisy(12801);
    CPlot* cell = grid.plot.getSubplot(1, 1);
    cell->data2D(s.x, s.y);
    const PlotState& c = PlotAccess::state(*cell);
    EXPECT_EQ(reductionTarget(c, PlotAccess::state(grid.plot).output, c.dataSets.at(0)), cairoLines(320, 240));
    grid.plot.size(1.0, 1.0);  // the top plot's cell, now the whole picture
    EXPECT_EQ(grid.target(), std::nullopt);
}

// Only the plots whose ranges come from autoscaling the data on linear axes are thinned, and only
// the data sets the reduction knows how to draw.
TEST(ReductionRule, PlotsItWouldDrawDifferentlyStayWhole)
{
    const std::vector<std::pair<std::string, std::function<void(CPlot&)>>> whole = {
        {"no autoscale", [](CPlot& p) { p.autoScale(PlotAxis::Y, 0); }},
        {"x2y2", [](CPlot& p) { p.axes(0, "x2y2"); }},
        {"x1y2", [](CPlot& p) { p.axes(0, "x1y2"); }},
        {"smooth", [](CPlot& p) { p.smooth(0, "csplines"); }},
        {"native range", [](CPlot& p) { p.nativeCmd("set grid; set xr [0:1]"); }},
        {"native margin", [](CPlot& p) { p.nativeCmd("set lmarg 5"); }},
        {"native terminal", [](CPlot& p) { p.nativeCmd("set grid; set t png size 300,200"); }},
        {"native replot", [](CPlot& p) { p.nativeCmd("replot"); }},
        {"translucent points",
         [](CPlot& p) {
             p.plotType(PlotType::Points, 0);
             p.lineType(0, 1, 1, "#F0FF0000");
         }},
        {"shape", [](CPlot& p) { p.rectangle(0, 0, 1, 1); }},
        {"polar", [](CPlot& p) { p.polarPlot(AngleUnit::Radians); }},
        {"3D", [](CPlot& p) { p.dimension(3); }},
        {"boxes", [](CPlot& p) { p.plotType(PlotType::Boxes, 0); }},
        {"error bars", [](CPlot& p) { p.plotType(PlotType::YErrorBars, 0); }},
        {"candlesticks", [](CPlot& p) { p.plotType(PlotType::Candlesticks, 0); }},
        {"vectors", [](CPlot& p) { p.plotType(PlotType::Vectors, 0); }},
        {"closed fill", [](CPlot& p) { p.plotType(PlotType::FilledCurves, 0); }},
        {"fill to y1 axis", [](CPlot& p) { p.plotType(PlotType::FilledCurves, 0, {1, {}, {"y1"}}); }},
        {"fill to a point", [](CPlot& p) { p.plotType(PlotType::FilledCurves, 0, {1, {}, {"xy=1,2"}}); }},
    };
    for (const auto& [name, change] : whole) {
        RulePlot p;
        change(p.plot);
        EXPECT_EQ(p.target(), std::nullopt) << name;
    }
    const std::vector<std::pair<std::string, std::function<void(CPlot&)>>> thinned = {
        {"log y", [](CPlot& p) { p.scaleType(PlotAxis::Y, ScaleType::Log); }},
        {"log x", [](CPlot& p) { p.scaleType(PlotAxis::X, ScaleType::Log); }},
        {"x range", [](CPlot& p) { p.axisRange(PlotAxis::X, 0, 10); }},
        {"y range", [](CPlot& p) { p.axisRange(PlotAxis::Y, -1, 1); }},
        {"native grid and key", [](CPlot& p) { p.nativeCmd("set grid; set key left # a comment"); }},
        {"translucent line", [](CPlot& p) { p.lineType(0, 1, 1, "#80FF0000"); }},
        {"x1y1", [](CPlot& p) { p.axes(0, "x1y1"); }},
        {"log x2", [](CPlot& p) { p.scaleType(PlotAxis::X2, ScaleType::Log); }},
        {"steps", [](CPlot& p) { p.plotType(PlotType::Steps, 0); }},
        {"fill to x1", [](CPlot& p) { p.plotType(PlotType::FilledCurves, 0, {1, {}, {"x1"}}); }},
        {"fill above y=0", [](CPlot& p) { p.plotType(PlotType::FilledCurves, 0, {1, {}, {"above y=0"}}); }},
        {"title and tics",
         [](CPlot& p) {
             p.title("T");
             p.ticsRange(PlotAxis::X, 5);
         }},
    };
    for (const auto& [name, change] : thinned) {
        RulePlot p;
        change(p.plot);
        EXPECT_TRUE(p.target()) << name;
    }
    // A filled curve only where edges are antialiased (cairo): gnuplot's png fills whole pixels.
    RulePlot filled;
    filled.plot.plotType(PlotType::FilledCurves, 0, {1, {}, {"x1"}});
    for (const auto& [terminal, thins] : {std::pair{"png", false}, std::pair{"gif", false}, std::pair{"pngcairo", true}}) {
        filled.plot.outputType(PlotOutputType::File, terminal, "unused");
        EXPECT_EQ(filled.target().has_value(), thins) << terminal;
    }
    // Values of every numeric element type but the 8-bit ones (written as characters), a table's
    // first two columns (not a filled table, which fills between its second and third).
    RulePlot p;
    const std::vector<float> floats(60000, 1.0f);
    p.plot.AddCurve(std::nullopt, std::nullopt, 30000, ElementType::Float, floats.data());
    const std::vector<double> table(3 * 30000, 1.0), column(30000, 1.0);
    p.plot.data(table.data(), 30000, 3);
    p.plot.data(column.data(), 30000, 1);
    p.plot.AddCurve(std::nullopt, std::nullopt, 30000, ElementType::UChar, floats.data());
    p.plot.data(table.data(), 30000, 3);
    p.plot.plotType(PlotType::FilledCurves, 5, {1, {}, {"x1"}});
    EXPECT_EQ(p.target(1), cairoLines(640, 480));
    EXPECT_EQ(p.target(2), cairoLines(640, 480));
    EXPECT_EQ(p.target(3), std::nullopt);
    EXPECT_EQ(p.target(4), std::nullopt);
    EXPECT_EQ(p.target(5), std::nullopt);
}

// Dots may be drawn as an image of their shades where their colour is known for sure: a colour of
// hexadecimal digits or one of gnuplot's names (exactly as it spells them), or the default colour
// of their line type (the clause's place in the plot command unless given) when no native command
// or monochrome terminal can change it.
TEST(ReductionRule, TheColourOfDotsWhereItIsKnown)
{
    const auto colorOf = [](const std::function<void(CPlot&)>& change, std::size_t set = 0) -> std::optional<std::uint32_t> {
        RulePlot p;
        p.plot.data2D(std::vector<double>(30000, 1.0), std::vector<double>(30000, 2.0));
        for (const int dots : {0, 1}) p.plot.plotType(PlotType::Dots, dots);
        change(p.plot);
        const auto target = p.target(set);
        return target ? target->dotColor : std::nullopt;
    };
    const auto colored = [](const char* color) { return [color](CPlot& p) { p.lineType(0, 1, 2, color); }; };
    EXPECT_EQ(colorOf([](CPlot&) {}), 0x9400D3u);
    EXPECT_EQ(colorOf([](CPlot&) {}, 1), 0x009E73u);
    EXPECT_EQ(colorOf([](CPlot& p) { p.lineType(1, 12, 2); }, 1), 0xE69F00u);
    EXPECT_EQ(colorOf(colored("#00ff8000")), 0xFF8000u);
    EXPECT_EQ(colorOf(colored("0x1f77b4")), 0x1F77B4u);
    EXPECT_EQ(colorOf([](CPlot& p) { p.nativeCmd("set style fill solid"); }, 0), std::nullopt);
    EXPECT_EQ(colorOf([](CPlot& p) { p.outputType(PlotOutputType::File, "pngcairo mono", "unused.png"); }), std::nullopt);
    EXPECT_EQ(colorOf(colored("dark-spring-green")), 0x008040u);
    for (const char* unknown : {"Red", "red ", "#1f77b", "#1f77b4 ", "#-1f77b4"}) EXPECT_EQ(colorOf(colored(unknown)), std::nullopt) << unknown;
    EXPECT_EQ(colorOf([](CPlot& p) { p.lineType(0, -1, 2); }), std::nullopt);
    EXPECT_EQ(colorOf([](CPlot& p) { p.plotType(PlotType::Points, 0); }), std::nullopt);
}

// ---- The files plotting() writes ----

std::size_t lineCount(const std::string& text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

// A thinned file is told as such with RIZARI_KEEP=1 and holds the kept points as the whole file
// writes them; a later plotting() for another picture writes the file anew, and small data sets
// are the same bytes whether the reduction is on or off.
TEST(ReductionFiles, ThinnedForItsPictureAndWrittenAnewForAnother)
{
    FakeEngine fake;
    ScopedEnv unset("RIZARI_REDUCE", std::nullopt);
    const Series s = noisy(100000);
    CPlot p;
    p.setEngineHome(fake.home().c_str());
    p.lineWidth(1);  // a pixel wide, the line is not drawn as a band (which has points of its own)
    p.data2D(s.x, s.y);
    p.outputType(PlotOutputType::File, "pngcairo", utf8(fake.tmpDir() / "image.png").c_str());
    std::string told;
    {
        ScopedEnv keep("RIZARI_KEEP", "1");
        told = captureStderr([&] { EXPECT_EQ(p.plotting(), 0); });
    }
    const DataSet& set = PlotAccess::state(p).dataSets.at(0);
    ASSERT_TRUE(set.reduction && set.reduction->keptPoints);
    const std::string reduced = readFile(*set.fileName);
    EXPECT_EQ(lineCount(reduced), *set.reduction->keptPoints);
    EXPECT_LT(lineCount(reduced) * 2, 100000u);
    std::ostringstream line;
    line << "CPlot::plotting(): kept data file " << *set.fileName << " (reduced from 100000 to " << *set.reduction->keptPoints << " points)\n";
    EXPECT_NE(told.find(line.str()), std::string::npos) << told;
    const std::string first = *set.fileName;
    p.outputType(PlotOutputType::File, "svg", utf8(fake.tmpDir() / "image.svg").c_str());
    ASSERT_EQ(p.plotting(), 0);
    EXPECT_FALSE(fs::exists(first));
    const std::string whole = readFile(*set.fileName);
    EXPECT_EQ(lineCount(whole), 100000u);
    EXPECT_FALSE(set.reduction);
    // Each kept point is a line of the whole file (this noisy curve needs no points of the
    // reduction's own), in the same order.
    std::istringstream keptLines(reduced), wholeLines(whole);
    std::size_t found = 0;
    for (std::string k, w; std::getline(keptLines, k);) {
        while (std::getline(wholeLines, w) && w != k) {}
        found += w == k;
    }
    EXPECT_EQ(found, lineCount(reduced));
    const std::string second = *set.fileName;
    ASSERT_EQ(p.plotting(), 0);  // the same picture: the same file
    EXPECT_EQ(*set.fileName, second);
    p.reduceLargeData(true);
    ASSERT_EQ(p.plotting(), 0);
    EXPECT_EQ(readFile(*set.fileName).size() < whole.size() / 2, true);

    // A large data set drawn whole where it would be thinned says why, from 200,001 points on.
    CPlot smoothed;
    smoothed.setEngineHome(fake.home().c_str());
    for (const std::size_t points : {200000, 200001}) {
        const Series big = noisy(points);
        smoothed.data2D(big.x, big.y);
        smoothed.smooth(static_cast<int>(points % 2), "csplines");
    }
    smoothed.outputType(PlotOutputType::File, "pngcairo", utf8(fake.tmpDir() / "smooth.png").c_str());
    told = captureStderr([&] { EXPECT_EQ(smoothed.plotting(), 0); });
    EXPECT_EQ(told, "CPlot::plotting(): data set 1 (200001 points) drawn whole: smooth is set (see Large data in the README)\n");

    CPlot small;
    small.setEngineHome(fake.home().c_str());
    const Series few = noisy(kThreshold);
    small.data2D(few.x, few.y);
    small.outputType(PlotOutputType::File, "pngcairo", utf8(fake.tmpDir() / "small.png").c_str());
    small.reduceLargeData(true);
    ASSERT_EQ(small.plotting(), 0);
    const std::string on = readFile(*PlotAccess::state(small).dataSets.at(0).fileName);
    small.reduceLargeData(false);
    ASSERT_EQ(small.plotting(), 0);
    EXPECT_EQ(readFile(*PlotAccess::state(small).dataSets.at(0).fileName), on);
    EXPECT_EQ(lineCount(on), kThreshold);
}

}  // namespace
}  // namespace rizari::test
