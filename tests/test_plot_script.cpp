// Whole command scripts as the engine receives them, through a fake engine that records its
// arguments, the script and the temporary files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plot/cplot.h"
#include "support/test_support.h"

namespace rizari {
namespace {

using test::captureStderr;
using test::captureStdout;
using test::FakeEngine;

const std::vector<double> kX{1, 2, 3};
const std::vector<double> kY{4, 5, 6};

// Sections reset to zero axes of a new 2D plot.
const std::string kSettings2D =
    "reset\n"
    "set autoscale x\n"
    "set autoscale x2\n"
    "set autoscale y\n"
    "set autoscale y2\n"
    "unset border\n"
    "set grid front\n"
    "unset key\n"
    "set boxwidth\n"
    "set format x \"%g\"\n"
    "set format y \"%g\"\n"
    "set format z \"%g\"\n"
    "set format x2 \"%g\"\n"
    "set format y2 \"%g\"\n"
    "unset arrow\n"
    "unset label\n"
    "unset xtics\n"
    "set xtics border nomirror\n"
    "unset x2tics\n"
    "unset ytics\n"
    "set ytics border nomirror\n"
    "unset y2tics\n"
    "unset ztics\n"
    "set ztics nomirror\n"
    "set bmargin -1.000000\n"
    "set lmargin -1.000000\n"
    "set rmargin -1.000000\n"
    "set tmargin -1.000000\n"
    "set offsets 0.000000, 0.000000, 0.000000, 0.000000\n"
    "set origin 0.000000, 0.000000\n"
    "set size noratio 1.000000, 1.000000\n"
    "set tics in\n"
    "unset x2tics\n"
    "unset y2tics\n"
    "unset timestamp\n"
    "set xzeroaxis lt 1 lw 1 lc rgbcolor \"black\"\n"
    "set yzeroaxis lt 1 lw 1 lc rgbcolor \"black\"\n"
    "unset zzeroaxis\n"
    "unset x2zeroaxis\n"
    "unset y2zeroaxis\n";
const std::string kWindow =
    "bind \"Close\" \"if (GPVAL_TERM eq \\'wxt\\') exit gnuplot; else exit\"\n"
    "set terminal wxt title \"Zu\"\n";
const std::string kLabelsAndClip =
    "set xlabel \"x\"\n"
    "set ylabel \"y\"\n"
    "unset clip point\n"
    "set clip one\n"
    "unset clip two\n";
const std::string kTail2D = "set mouse\n\nset termoption enhanced\n";

// The script from the first line starting with `marker` on.
std::string from(const std::string& script, const std::string& marker)
{
    const std::size_t at = script.find(marker);
    return at == std::string::npos ? "<" + marker + " missing>" : script.substr(at);
}

TEST(PlotScript, Default2DPlotsWithOneAndTwoDataSets)
{
    FakeEngine fake;
    {
        CPlot p;
        p.data2D(kX, kY);
        p.setEngineHome(fake.home().c_str());
        EXPECT_EQ(p.plotting(), 0);
        ASSERT_EQ(fake.runs(), 1);
        EXPECT_EQ(fake.normalized(fake.args()), "$TMP/<1>\n-\n");
        EXPECT_EQ(fake.normalizedScript(),
                  kSettings2D + kWindow + kLabelsAndClip + kTail2D + "plot \"$TMP/<1>\" notitle with lines lw 2\n");
        const test::fs::path data = *p.state().dataSets[0].fileName;
        EXPECT_EQ(fake.tmpFileSeen(data.filename().string()), "1 4\n2 5\n3 6\n");
    }
    EXPECT_TRUE(test::fs::is_empty(fake.tmpDir()));  // script and data files go with the plot

    // Legends without a number go in order to the data sets that take them; left-overs are
    // dropped, and a later call finds the queue empty.
    CPlot p;
    p.data2D(kX, kY);
    p.data2D(kX, kY);
    p.data2D(kX, kY);
    p.legend("first");
    p.legend("second", 1);
    p.legend("third");
    p.legend("unused");
    p.setEngineHome(fake.home().c_str());
    EXPECT_EQ(p.plotting(), 0);
    const std::string plotLine = "plot \"$TMP/<1>\" title \"first\" with lines lw 2, \"$TMP/<2>\" title \"second\" "
                                 "with lines lw 2, \"$TMP/<3>\" title \"third\" with lines lw 2\n";
    EXPECT_EQ(fake.normalizedScript(),
              kSettings2D.substr(0, kSettings2D.find("unset key")) + "set key\n" +
                  kSettings2D.substr(kSettings2D.find("set boxwidth")) + kWindow + kLabelsAndClip + kTail2D + plotLine);
    EXPECT_TRUE(p.state().style.queuedLegends.empty());

    // A second call reuses the data files and removes the first call's script.
    const std::string firstScript = *p.state().output.scriptFileName;
    const auto before = fake.script();
    EXPECT_EQ(p.plotting(), 0);
    EXPECT_EQ(fake.runs(), 3);
    EXPECT_EQ(fake.script(), before);
    EXPECT_NE(*p.state().output.scriptFileName, firstScript);
    EXPECT_FALSE(test::fs::exists(firstScript));
    EXPECT_EQ(std::distance(test::fs::directory_iterator(fake.tmpDir()), {}), 4);  // 3 data files, 1 script
}

TEST(PlotScript, ThreeDimensionalTails)
{
    FakeEngine fake;
    const std::string k3D =
        "set xlabel \"x\"\n"
        "set ylabel \"y\"\n"
        "set zlabel \"z\"\n"
        "set parametric\n"
        "set view 60.000000, 30.000000, 1.000000, 1.000000\n"
        "set ticslevel 0.500000\n"
        "set surface\n"
        "unset contour\n"
        "set colorbox\n"
        "unset hidden3d\n"
        "set mapping cartesian\n"
        "unset clip point\n"
        "set clip one\n"
        "unset clip two\n"
        "set palette rgbformulae 33,13,10 \n";
    const std::vector<double> x{1, 2}, y{3, 4}, z{5, 6, 7, 8};

    CPlot grid;
    grid.dimension(3);
    grid.data3D(x.data(), y.data(), z.data(), 2, 2, 1, 1, 4);
    grid.setEngineHome(fake.home().c_str());
    grid.plotting();
    EXPECT_EQ(from(fake.normalizedScript(), "set xlabel"),
              k3D + "set pm3d\n\nset termoption enhanced\nsplot \"$TMP/<1>\" using 1:2:3 notitle with pm3d lw 2\n");

    CPlot curve;
    curve.dimension(3);
    curve.data3DCurve(x.data(), y.data(), z.data(), 2);
    curve.legend("helix", 0);
    curve.setEngineHome(fake.home().c_str());
    curve.plotting();
    EXPECT_EQ(from(fake.normalizedScript(), "set xlabel"),
              k3D + "\nset termoption enhanced\nsplot \"$TMP/<1>\" using 1:2:3 title \"helix\" with lines lw 2\n");

    // Without data a 3D plot takes the 2D tail, which has nothing to write.
    CPlot empty;
    empty.dimension(3);
    empty.setEngineHome(fake.home().c_str());
    empty.plotting();
    const std::string script = fake.normalizedScript();
    EXPECT_EQ(script.substr(script.size() - 16), "unset clip two\n\n");
    EXPECT_EQ(script.find("set mouse"), std::string::npos);
}

TEST(PlotScript, EmptyPlotsAndObjectRanges)
{
    FakeEngine fake;
    CPlot empty;
    empty.setEngineHome(fake.home().c_str());
    empty.plotting();
    EXPECT_EQ(fake.normalizedScript(), kSettings2D + kWindow + kLabelsAndClip + "\n");

    // A label alone: ranges around its point, and one inline point ended for the engine.
    CPlot label;
    label.text("here", TextAlign::Left, 2.5, 3, 0);
    label.setEngineHome(fake.home().c_str());
    label.plotting();
    EXPECT_EQ(from(fake.normalizedScript(), "set mouse"),
              kTail2D + "set xrange [2:3]\nset yrange [2:4]\nplot '-' with dots\n 0 0\ne\n\n");

    // Shapes fix the ranges the caller did not set, also next to data.
    CPlot shapes;
    shapes.data2D(kX, kY);
    shapes.rectangle(0, 0, 10, 5);
    shapes.axisRange(PlotAxis::X, -1, 1);
    shapes.setEngineHome(fake.home().c_str());
    shapes.plotting();
    const std::string script = fake.normalizedScript();
    EXPECT_EQ(script.find("set xrange [-2"), std::string::npos);
    EXPECT_NE(script.find("\nset yrange [-1:6]\nplot \"$TMP/<1>\" notitle with lines lw 2\n"), std::string::npos)
        << script;
}

TEST(PlotScript, OutputTypesAndGrids)
{
    FakeEngine fake;
    CPlot file;
    file.data2D(kX, kY);
    file.outputType(PlotOutputType::File, "png", "C:\\out\\a.png");
    file.setEngineHome(fake.home().c_str());
    file.plotting();
    EXPECT_EQ(fake.normalized(fake.args()), "$TMP/<1>\n");
    EXPECT_NE(fake.script().find("unset y2zeroaxis\nset terminal png enhanced\nset output \"C:/out/a.png\"\nset xlabel"),
              std::string::npos);

    // Stream: the engine's image goes to standard output unchanged (the fake engine writes none,
    // so the image is the empty file made for it).
    CPlot stream;
    stream.data2D(kX, kY);
    stream.outputType(PlotOutputType::Stream, "png");
    stream.setEngineHome(fake.home().c_str());
    test::writeFile(*stream.state().output.outputFileName, "\x89PNG\r\n");
    EXPECT_EQ(captureStdout([&] { stream.plotting(); }), "\x89PNG\r\n");

    // A grid: terminal lines once before "set multiplot", a block per cell, each from reset.
    CPlot grid;
    grid.subplot(2, 2);
    grid.data2D(kX, kY);
    grid.getSubplot(1, 1)->data2D(kX, kY);
    grid.setEngineHome(fake.home().c_str());
    grid.plotting();
    const std::string script = fake.normalizedScript();
    EXPECT_EQ(script.rfind("bind \"Close\" \"if (GPVAL_TERM eq \\'wxt\\') exit gnuplot; else exit\"\n"
                           "set terminal wxt font \",7\" title \"Zu\"\nset multiplot\nreset\n",
                           0),
              0u);
    EXPECT_EQ(from(script, "set multiplot").find("set terminal"), std::string::npos);
    std::size_t blocks = 0;
    for (std::size_t at = script.find("reset\n"); at != std::string::npos; at = script.find("\nreset\n", at + 1)) ++blocks;
    EXPECT_EQ(blocks, 4u);
    EXPECT_EQ(from(script, "plot \"$TMP/<2>"), "plot \"$TMP/<2>\" notitle with lines lw 2\nunset multiplot\n");
}

TEST(PlotScript, MissingEngineAndTemporaryDirectory)
{
    FakeEngine fake;
    test::TempDir noEngine;
    CPlot grid;
    grid.subplot(1, 2);
    grid.data2D(kX, kY);
    grid.setEngineHome(noEngine.path().c_str());
    int result = -2;
    EXPECT_EQ(captureStdout([&] { result = grid.plotting(); }),
              "Error: No plotting engine has been installed.\nError: No plotting engine has been installed.\n");
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(grid.state().output.scriptFileName);
    EXPECT_EQ(fake.runs(), 0);
    ASSERT_TRUE(grid.state().dataSets[0].fileName);  // the data file is written all the same
    EXPECT_EQ(test::readFile(*grid.state().dataSets[0].fileName), "1 4\n2 5\n3 6\n");

    // A file name with backslashes is written with each doubled (the data set stays in the list
    // although the file does not exist here).
    CPlot named;
    captureStderr([&] { named.AddCurve("C:\\data\\a.dat", "using 1:2", 3, ElementType::Double, nullptr); });
    named.setEngineHome(fake.home().c_str());
    named.plotting();
    EXPECT_EQ(from(fake.script(), "plot \""), "plot \"C:\\\\data\\\\a.dat\" using 1:2 notitle with lines lw 2\n");

    test::ScopedEnv badTmp("TMP", "/nonexistent-rizari-dir");
    CPlot p;
    p.data2D(kX, kY);
    p.setEngineHome(fake.home().c_str());
    EXPECT_EQ(captureStderr([&] { result = p.plotting(); }),
              "Error: cannot create unique filename in CPlot\n"
              "CPlot::plotting(): can't open file  for wgnuplot commands.\n");
    EXPECT_EQ(result, -1);
}

}  // namespace
}  // namespace rizari
