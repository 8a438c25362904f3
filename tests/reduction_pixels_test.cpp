// With the real gnuplot and ImageMagick: a large data set drawn thinned to a PNG looks as it
// does drawn whole, in every style the reduction knows. At most half a percent of the pixels
// differ by more than a tenth of their range, and the plot area's mean grey moves by at most
// 0.005: a dense band must not come out lighter, nor a filled area smaller.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <sstream>

#include "plot/plot_state.h"
#include "rizari/cplot.h"
#include "tests/support.h"

namespace rizari::test {
namespace {

constexpr std::size_t kPoints = 100000;
constexpr int kWidth = 480, kHeight = 360;
constexpr double kMostDifferingShare = 0.005;
constexpr double kMostGreyChange = 0.005;

// The points of one data set; NaN in y leaves a point out.
struct Curve {
    std::vector<double> x, y;
};

using Shape = double (*)(double x, std::mt19937_64& rng);

// n points over x in [0, 40], sorted, of the given shape.
Curve sampled(Shape shape, std::size_t n = kPoints)
{
    std::mt19937_64 rng(21);
    Curve c{std::vector<double>(n), std::vector<double>(n)};
    for (std::size_t i = 0; i < n; ++i) {
        c.x[i] = 40.0 * static_cast<double>(i) / static_cast<double>(n - 1);
        c.y[i] = shape(c.x[i], rng);
    }
    return c;
}

double gauss(std::mt19937_64& rng) { return std::normal_distribution<double>(0, 1)(rng); }

// A sine with noise a few pixels high: a dense band with gnuplot's pixel snapping in play.
double noisySine(double x, std::mt19937_64& rng) { return std::sin(x) + 0.05 * gauss(rng); }
double smoothSine(double x, std::mt19937_64&) { return std::sin(x); }
// Noise of a third of the amplitude on a sine whose frequency rises ninefold: a band whose outline
// goes from open waves to a solid block.
double chirp(double x, std::mt19937_64& rng) { return std::sin(x + x * x / 10) + 0.3 * gauss(rng); }
// Forty levels, each a run of equal values.
double levels(double x, std::mt19937_64&) { return std::sin(std::floor(x) * 7.3) * 3; }
// Small noise with a few tall one-point spikes.
double spikes(double x, std::mt19937_64& rng)
{
    return 0.02 * gauss(rng) + (std::uniform_int_distribution<int>(0, 3000)(rng) == 0 ? 5 * (1 + std::sin(x)) : 0);
}

// The noisy sine with missing points: a wide gap, a narrow one and one point in a hundred.
Curve withGaps()
{
    Curve c = sampled(noisySine);
    for (std::size_t i = 0; i < c.y.size(); ++i)
        if ((i >= 20000 && i < 24000) || (i >= 60000 && i < 60050) || i % 100 == 7) c.y[i] = NAN;
    return c;
}

// Normally distributed points, x in no order.
Curve scatter()
{
    std::mt19937_64 rng(5);
    Curve c{std::vector<double>(kPoints), std::vector<double>(kPoints)};
    for (std::size_t i = 0; i < kPoints; ++i) c.x[i] = gauss(rng), c.y[i] = gauss(rng);
    return c;
}

struct Case {
    const char* name;
    int plotType;
    Curve data;
    const char* fill = nullptr;  // the filled curves' option
    double mostKept = 1;         // the largest share of the points the thinned file may keep
    const char* color = nullptr;  // the data set's colour
    bool afterALine = false;      // drawn after a short line, in the second line type's colour
    const char* legend = nullptr;
};

std::vector<Case> everyStyle()
{
    return {
        {"lines, noisy with gaps", PlotType::Lines, withGaps()},
        {"lines, smooth", PlotType::Lines, sampled(smoothSine)},
        {"lines, noisy chirp", PlotType::Lines, sampled(chirp)},
        {"lines, noisy chirp, steps wider than 1/200 pixel", PlotType::Lines, sampled(chirp, 50000)},
        {"lines, spikes", PlotType::Lines, sampled(spikes)},
        {"steps, noisy", PlotType::Steps, sampled(noisySine)},
        {"fsteps, levels", PlotType::FSteps, sampled(levels)},
        {"histeps, spikes", PlotType::HiSteps, sampled(spikes)},
        {"linespoints, smooth", PlotType::LinesPoints, sampled(smoothSine)},
        {"impulses, noisy", PlotType::Impulses, sampled(noisySine)},
        {"filledcurves, noisy", PlotType::FilledCurves, sampled(noisySine), "x1"},
        // Marks land on pixels the plot's layout tells: those the kept ones cover go.
        {"points, scatter", PlotType::Points, scatter(), nullptr, 0.1},
        // Dots inside the plot area are drawn as an image of their shades, in their colour.
        {"dots, scatter", PlotType::Dots, scatter(), nullptr, 0.1},
        {"dots, scatter, the second data set", PlotType::Dots, scatter(), nullptr, 0.1, nullptr, true},
        {"dots, scatter, a named colour and a key", PlotType::Dots, scatter(), nullptr, 0.1, "dark-cyan", false, "dots"},
    };
}

// The number a text holds, and nothing else but blanks; NaN otherwise.
double numberIn(const std::string& text)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || text.find_first_not_of(" \t\r\n", static_cast<std::size_t>(end - text.c_str())) != std::string::npos)
        return NAN;
    return value;
}

// The standard output of a command; empty when it failed.
std::string outputOf(const std::string& command)
{
    std::string out;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[256];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, got);
    return pclose(pipe) == 0 ? out : std::string();
}

// The points a thinned data file kept, as plotting() told it with RIZARI_KEEP=1 ("reduced from N
// to M points"); NaN when it told none.
double keptPoints(const std::string& told)
{
    const std::size_t at = told.find("reduced from");
    const std::size_t to = told.find(" to ", at), end = told.find(" points", at);
    if (at == std::string::npos || to == std::string::npos || end == std::string::npos || end < to) return NAN;
    return numberIn(told.substr(to + 4, end - to - 4));
}

std::string shellQuoted(const fs::path& path) { return '\'' + path.string() + '\''; }

class ReducedPicture : public testing::Test {
protected:
    void SetUp() override
    {
        if (!chooseRealEngine(home_.path())) GTEST_SKIP() << "gnuplot is not installed";
        if (std::system("command -v compare >/dev/null && command -v convert >/dev/null") != 0)
            GTEST_SKIP() << "ImageMagick is not installed";
    }

    // Draws the case to a PNG, thinned or whole; returns what plotting() told (RIZARI_KEEP=1 names
    // the files, and says whether the data file is thinned).
    std::string draw(const Case& c, bool thinned, const fs::path& image)
    {
        CPlot p;
        p.setEngineHome(home_.path().string().c_str());
        if (c.afterALine) p.data2D(std::vector<double>{-1, 1}, std::vector<double>{0, 0.5});
        p.data2D(c.data.x, c.data.y);
        const int set = c.afterALine ? 1 : 0;
        PlotTypeExtra extra;
        if (c.fill) extra = {1, {}, {c.fill}};
        p.plotType(c.plotType, set, extra);
        if (c.color) p.lineType(set, 1, 2, c.color);
        if (c.legend) p.legend(c.legend, set);
        p.outputType(PlotOutputType::File, "pngcairo", image.string().c_str());
        p.sizeOutput(kWidth, kHeight);
        p.reduceLargeData(thinned);
        int result = -1;
        const std::string told = captureStderr([&] { result = p.plotting(); });
        EXPECT_EQ(result, 0) << told;
        return told;
    }

    // The plot area in ImageMagick's geometry (WxH+X+Y), one pixel inside gnuplot's: the script
    // run again prints the area's corners (pixels, y from the bottom). It draws its image again, so
    // the engine must be the one that drew it.
    std::string plotArea(const std::string& told)
    {
        const std::string mark = "kept script ";
        const std::size_t at = told.find(mark);
        if (at == std::string::npos) return "";
        const std::string script = told.substr(at + mark.size(), told.find('\n', at) - at - mark.size());
        std::istringstream corners(outputOf(realEngineCommand(home_.path()) + " " + shellQuoted(script) +
                                            " -e 'set print \"-\"; print GPVAL_TERM_XMIN, GPVAL_TERM_XMAX, GPVAL_TERM_YMIN, "
                                            "GPVAL_TERM_YMAX' 2>/dev/null"));
        double left = 0, right = 0, bottom = 0, top = 0;
        if (!(corners >> left >> right >> bottom >> top)) return "";
        const int x0 = static_cast<int>(left) + 2, x1 = static_cast<int>(right) - 1;
        const int y0 = kHeight - static_cast<int>(top) + 2, y1 = kHeight - static_cast<int>(bottom) - 1;
        return std::to_string(x1 - x0 + 1) + "x" + std::to_string(y1 - y0 + 1) + "+" + std::to_string(x0) + "+" + std::to_string(y0);
    }

    static double meanGrey(const fs::path& image, const std::string& area)
    {
        const std::string out = outputOf("convert " + shellQuoted(image) + " -crop " + area + " +repage -colorspace Gray -format '%[fx:mean]' info:");
        return numberIn(out);
    }

    // Pixels that differ by more than a tenth of their range.
    static double differingPixels(const fs::path& a, const fs::path& b)
    {
        // compare prints the count on standard error and ends with status 1 when pixels differ.
        const std::string out = outputOf("compare -metric AE -fuzz 10% " + shellQuoted(a) + " " + shellQuoted(b) + " null: 2>&1; true");
        return numberIn(out);
    }

    TempDir home_, tmp_, out_;
    ScopedEnv tmpEnv_{"TMP", tmp_.path().string()};
    ScopedEnv tempEnv_{"TEMP", std::nullopt};
    ScopedEnv keep_{"RIZARI_KEEP", "1"};
};

TEST_F(ReducedPicture, EveryStyleLooksAsDrawnWhole)
{
    for (const Case& c : everyStyle()) {
        SCOPED_TRACE(c.name);
        const fs::path whole = out_.path() / "whole.png", thinned = out_.path() / "thinned.png";
        const std::string toldWhole = draw(c, false, whole);
        EXPECT_EQ(toldWhole.find("reduced from"), std::string::npos) << toldWhole;
        const std::string told = draw(c, true, thinned);
        EXPECT_LE(keptPoints(told), c.mostKept * static_cast<double>(c.data.x.size())) << told;
        const std::string area = plotArea(told);
        ASSERT_NE(area, "") << told;
        const double differing = differingPixels(whole, thinned);
        EXPECT_LE(differing, kMostDifferingShare * kWidth * kHeight);
        EXPECT_NEAR(meanGrey(thinned, area), meanGrey(whole, area), kMostGreyChange) << area;
    }
}

// The image of a data set's dots is a temporary file of the data set's: written anew with it for
// another picture, and removed with it.
TEST_F(ReducedPicture, TheImageOfDotsGoesWithItsDataSet)
{
    ScopedEnv removed{"RIZARI_KEEP", std::nullopt};
    const Curve c = scatter();
    auto p = std::make_unique<CPlot>();
    p->setEngineHome(home_.path().string().c_str());
    p->data2D(c.x, c.y);
    p->plotType(PlotType::Dots, 0);
    p->outputType(PlotOutputType::File, "pngcairo", (out_.path() / "dots.png").string().c_str());
    const auto imageFile = [&]() -> std::string {
        const DataSet& set = PlotAccess::state(*p).dataSets.at(0);
        return set.reduction && set.reduction->shadeFile ? *set.reduction->shadeFile : "";
    };
    ASSERT_EQ(p->plotting(), 0);
    const std::string first = imageFile();
    EXPECT_TRUE(fs::is_regular_file(first)) << first;
    p->sizeOutput(kWidth, kHeight);
    ASSERT_EQ(p->plotting(), 0);
    EXPECT_FALSE(fs::exists(first));
    EXPECT_TRUE(fs::is_regular_file(imageFile()));
    p.reset();
    EXPECT_TRUE(fs::is_empty(tmp_.path()));
}

}  // namespace
}  // namespace rizari::test
