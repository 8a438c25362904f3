// Settings drawn by the real engine: gnuplot must take every script without a word on standard
// error and write a PNG image. Set RIZARI_RENDER_DIR to keep the images.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "rizari/cplot.h"
#include "support/test_support.h"

using namespace rizari;
using namespace rizari::test;

namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<double> samples(double from, double to, int n, double (*f)(double) = nullptr)
{
    std::vector<double> v(n);
    for (int i = 0; i < n; ++i) v[i] = from + (to - from) * i / (n - 1);
    if (f)
        for (double& x : v) x = f(x);
    return v;
}

// z = sin(x) cos(y) on an n x n grid in the order data3DSurface reads it (y fastest).
void addWaves(CPlot& p, int n)
{
    const auto x = samples(-kPi, kPi, n);
    std::vector<double> z;
    for (double xi : x)
        for (double yj : x) z.push_back(std::sin(xi) * std::cos(yj));
    ASSERT_EQ(p.data3DSurface(x.data(), x.data(), z.data(), n, n), 0);
}

class RealEngine : public testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::exists("/usr/bin/gnuplot")) GTEST_SKIP() << "gnuplot is not installed";
        fs::create_directories(home_.path() / "sbin");
        fs::create_symlink("/usr/bin/gnuplot", home_.path() / "sbin" / "gnuplot");
    }

    void render(CPlot& plot, const std::string& name)
    {
        const fs::path image = out_.path() / (name + ".png");
        plot.setEngineHome(home_.path().c_str());
        plot.outputType(PlotOutputType::File, "png", image.c_str());
        plot.sizeOutput(800, 600);
        int result = -1;
        EXPECT_EQ(captureStderr([&] { result = plot.plotting(); }), "") << name;
        EXPECT_EQ(result, 0);
        ASSERT_TRUE(fs::exists(image)) << name;
        EXPECT_EQ(readFile(image).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << name;
        if (const char* keep = std::getenv("RIZARI_RENDER_DIR"))
            fs::copy_file(image, fs::path(keep) / image.filename(), fs::copy_options::overwrite_existing);
    }

    TempDir home_, tmp_, out_;
    ScopedEnv tmpEnv_{"TMP", tmp_.path().string()};
    ScopedEnv tempEnv_{"TEMP", std::nullopt};
};

}  // namespace

TEST_F(RealEngine, Pm3dSurfaceWithContourLevels)
{
    CPlot p;
    addWaves(p, 30);
    p.contourMode(ContourMode::Surface);
    const double levels[] = {-0.5, 0, 0.5};
    p.contourLevels(levels, 3);
    p.contourLabel(1);
    p.changeViewAngle(50, 40);
    render(p, "pm3d-contours");
}

TEST_F(RealEngine, PolarPlot)
{
    CPlot p;
    const auto theta = samples(0, 2 * kPi, 200);
    ASSERT_EQ(p.data2D(theta, samples(0, 2 * kPi, 200, [](double t) { return 1 + std::cos(t); })), 0);
    p.polarPlot(AngleUnit::Radians);
    p.legend("1 + cos(t)", 0);
    render(p, "polar");
}

TEST_F(RealEngine, LogScaleWithExplicitTics)
{
    CPlot p;
    ASSERT_EQ(p.data2D(samples(0, 4, 50), samples(0, 4, 50, [](double x) { return std::pow(10.0, x); })), 0);
    p.scaleType(PlotAxis::Y, ScaleType::Log);
    p.ticsLabel(PlotAxis::Y, "one", 1);
    p.ticsLabel(PlotAxis::Y, "hundred", 100);
    p.ticsLabel(PlotAxis::Y, "ten thousand", 10000);
    p.label(PlotAxis::Y, "10^x");
    render(p, "log-scale");
}

TEST_F(RealEngine, FractionTics)
{
    CPlot p;
    ASSERT_EQ(p.data2D(samples(0, 2, 100), samples(0, 2, 100, [](double x) { return std::sin(kPi * x); })), 0);
    p.axisRange(PlotAxis::X, 0, 2);
    p.ticsFraction(PlotAxis::X, 4);
    p.label(PlotAxis::X, "x / pi");
    render(p, "fraction-tics");
}

TEST_F(RealEngine, TwoByTwoGrid)
{
    CPlot top;
    ASSERT_EQ(top.subplot(2, 2), 0);
    const auto x = samples(0, 2 * kPi, 100);
    top.title("lines");
    ASSERT_EQ(top.data2D(x, samples(0, 2 * kPi, 100, std::sin)), 0);

    CPlot* boxes = top.getSubplot(0, 1);
    ASSERT_EQ(boxes->data2D({1, 2, 3, 4, 5}, {3, 1, 4, 1, 5}), 0);
    boxes->plotType(PlotType::Boxes, 0);
    boxes->boxWidth(0.6);
    boxes->axisRange(PlotAxis::XY, 0, 6, 1);
    boxes->backgroundColor("#f0f0ff");
    boxes->title("boxes on a background");

    CPlot* mesh = top.getSubplot(1, 0);
    addWaves(*mesh, 20);
    mesh->plotType(PlotType::Lines, 0);
    mesh->title("mesh");

    CPlot* polar = top.getSubplot(1, 1);
    ASSERT_EQ(polar->data2D(x, samples(0, 2 * kPi, 100, std::cos)), 0);
    polar->polarPlot(AngleUnit::Radians);
    polar->title("polar");
    render(top, "grid-2x2");
}
