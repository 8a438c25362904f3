// Grids of subplots, and complete scripts of single plots and grids as the engine receives them.
#include <gtest/gtest.h>

#include "plot/cplot.h"
#include "support/test_support.h"

using namespace rizari;
using rizari::test::captureStderr;
using rizari::test::FakeEngine;

namespace {

constexpr const char* kBind = "bind \"Close\" \"if (GPVAL_TERM eq \\'wxt\\') exit gnuplot; else exit\"\n";

// The block of a 2D plot without data, placed at origin with size (both "%f, %f"), with the
// given terminal lines, title and background line.
std::string defaultBlock(const std::string& origin, const std::string& size, const std::string& terminal = "",
                         const std::string& title = "", const std::string& background = "")
{
    return "reset\nset autoscale x\nset autoscale x2\nset autoscale y\nset autoscale y2\nunset border\n"
           "set grid front\nunset key\nset boxwidth\n" + background +
           "set format x \"%g\"\nset format y \"%g\"\nset format z \"%g\"\nset format x2 \"%g\"\n"
           "set format y2 \"%g\"\nunset arrow\nunset label\n"
           "unset xtics\nset xtics border nomirror\nunset x2tics\nunset ytics\nset ytics border nomirror\n"
           "unset y2tics\nunset ztics\nset ztics nomirror\n"
           "set bmargin -1.000000\nset lmargin -1.000000\nset rmargin -1.000000\nset tmargin -1.000000\n"
           "set offsets 0.000000, 0.000000, 0.000000, 0.000000\n"
           "set origin " + origin + "\nset size noratio " + size + "\n"
           "set tics in\nunset x2tics\nunset y2tics\nunset timestamp\n"
           "set xzeroaxis lt 1 lw 1 lc rgbcolor \"black\"\nset yzeroaxis lt 1 lw 1 lc rgbcolor \"black\"\n"
           "unset zzeroaxis\nunset x2zeroaxis\nunset y2zeroaxis\n" + terminal +
           (title.empty() ? "" : "set title \"" + title + "\"\n") +
           "set xlabel \"x\"\nset ylabel \"y\"\nunset clip point\nset clip one\nunset clip two\n\n";
}

std::string windowTerminal(const char* font)
{
    return kBind + std::string("set terminal wxt ") + (font ? "font \"," + std::string(font) + "\" " : "") +
           "title \"Zu\"\n";
}

}  // namespace

TEST(Subplots, PlacementLookupAndReuse)
{
    CPlot top;
    top.title("kept");
    ASSERT_EQ(top.subplot(2, 2), 0);
    const double places[4][2] = {{0, 0.5}, {0.5, 0.5}, {0, 0}, {0.5, 0}};
    const CPlot* cell = &top;
    for (int k = 0; k < 4; ++k, cell = cell->nextSubplot()) {
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->state().frame.originX, places[k][0]);
        EXPECT_EQ(cell->state().frame.originY, places[k][1]);
        EXPECT_EQ(cell->state().frame.sizeX, 0.5);
        EXPECT_EQ(cell->state().frame.sizeY, 0.5);
        EXPECT_EQ(top.getSubplot(k / 2, k % 2), cell);
    }
    EXPECT_EQ(cell, nullptr);
    CPlot single;
    EXPECT_EQ(captureStderr([&] { top.getSubplot(2, 0), top.getSubplot(0, -1), single.getSubplot(0, 0); }),
              "CPlot::getSubplot(): invalid subplot element\nCPlot::getSubplot(): invalid subplot element\n"
              "CPlot::getSubplot(): invalid subplot element\n");

    // A second call resets the cells in place; its cells divide the first grid's cell.
    CPlot* second = top.getSubplot(0, 1);
    second->title("lost");
    ASSERT_EQ(top.subplot(1, 2), 0);
    EXPECT_EQ(top.getSubplot(0, 1), second);
    EXPECT_EQ(second->getTitle(), nullptr);
    EXPECT_STREQ(top.getTitle(), "kept");
    EXPECT_EQ(second->state().frame.originX, 0.25);
    EXPECT_EQ(second->state().frame.originY, 0.0);
    EXPECT_EQ(second->nextSubplot(), nullptr);  // the cells the new grid has no place for are gone

    top.subplot(2, 1);
    EXPECT_EQ(captureStderr([&] { EXPECT_EQ(top.subplot(0, 3), 0); }), "CPlot::size(): invalid parameter\n");
    EXPECT_EQ(top.nextSubplot(), nullptr);
    top.subplot(2, 1);
    top.deletePlots();
    EXPECT_EQ(top.nextSubplot(), nullptr);
}

TEST(Subplots, CompleteDefaultBlocks)
{
    FakeEngine fake;
    CPlot flat;
    flat.setEngineHome(fake.home().c_str());
    ASSERT_EQ(flat.plotting(), 0);
    EXPECT_EQ(fake.normalizedScript(), defaultBlock("0.000000, 0.000000", "1.000000, 1.000000", windowTerminal(nullptr)));

    CPlot surface;
    surface.setEngineHome(fake.home().c_str());
    const double x[] = {0, 1}, y[] = {0, 1, 2}, z[] = {0, 1, 1, 2, 3, 4};
    ASSERT_EQ(surface.data3DSurface(x, y, z, 2, 3), 0);
    ASSERT_EQ(surface.plotting(), 0);
    EXPECT_EQ(fake.normalizedScript(),
              "reset\nset autoscale x\nset autoscale x2\nset autoscale y\nset autoscale y2\nset autoscale z\n"
              "set border 31\nset grid front\nunset key\nset boxwidth\n"
              "set format x \"%g\"\nset format y \"%g\"\nset format z \"%g\"\nset format x2 \"%g\"\n"
              "set format y2 \"%g\"\nunset arrow\nunset label\n"
              "unset xtics\nset xtics border mirror\nunset x2tics\nunset ytics\nset ytics border mirror\n"
              "unset y2tics\nunset ztics\nset ztics nomirror\n"
              "set bmargin -1.000000\nset lmargin -1.000000\nset rmargin -1.000000\nset tmargin -1.000000\n"
              "set offsets 0.000000, 0.000000, 0.000000, 0.000000\n"
              "set origin 0.000000, 0.000000\nset size noratio 1.000000, 1.000000\n"
              "set tics in\nunset x2tics\nunset y2tics\nunset timestamp\n"
              "set xzeroaxis lt 1 lw 1 lc rgbcolor \"black\"\nset yzeroaxis lt 1 lw 1 lc rgbcolor \"black\"\n"
              "unset zzeroaxis\nunset x2zeroaxis\nunset y2zeroaxis\n" +
                  windowTerminal(nullptr) +
                  "set xlabel \"x\"\nset ylabel \"y\"\n"
                  "set zlabel \"z\"\nset parametric\nset view 60.000000, 30.000000, 1.000000, 1.000000\n"
                  "set ticslevel 0.500000\nset surface\nunset contour\nset colorbox\nunset hidden3d\n"
                  "set mapping cartesian\nunset clip point\nset clip one\nunset clip two\n"
                  "set palette rgbformulae 33,13,10 \nset pm3d\n\n"
                  "set termoption enhanced\n"
                  "splot \"$TMP/<1>\" using 1:2:3 notitle with pm3d lw 2\n");
}

TEST(Subplots, GridScripts)
{
    FakeEngine fake;
    const std::string half = "0.500000, 0.500000";
    CPlot top;
    top.setEngineHome(fake.home().c_str());
    top.title("A");
    top.subplot(2, 2);
    top.getSubplot(0, 1)->backgroundColor("gray90");
    top.getSubplot(1, 1)->title("D");
    ASSERT_EQ(top.plotting(), 0);
    EXPECT_EQ(fake.normalizedScript(),
              windowTerminal("7") + "set multiplot\n" + defaultBlock("0.000000, 0.500000", half, "", "A") +
                  defaultBlock(half, half, "", "",
                               "set object rectangle from screen 0.5,0.5 to screen 1,1 fillcolor rgb \"gray90\" behind\n") +
                  defaultBlock("0.000000, 0.000000", half) + defaultBlock("0.500000, 0.000000", half, "", "D") +
                  "unset multiplot\n");

    // The chain reused for two cells.
    top.subplot(1, 2);
    ASSERT_EQ(top.plotting(), 0);
    EXPECT_EQ(fake.normalizedScript(), windowTerminal("8") + "set multiplot\n" +
                                           defaultBlock("0.000000, 0.000000", "0.250000, 0.500000", "", "A") +
                                           defaultBlock("0.250000, 0.000000", "0.250000, 0.500000") +
                                           "unset multiplot\n");

    CPlot wide;
    wide.setEngineHome(fake.home().c_str());
    wide.subplot(2, 3);
    ASSERT_EQ(wide.plotting(), 0);
    std::string expected = windowTerminal("6") + "set multiplot\n";
    for (const char* origin : {"0.000000, 0.500000", "0.333333, 0.500000", "0.666667, 0.500000", "0.000000, 0.000000",
                               "0.333333, 0.000000", "0.666667, 0.000000"})
        expected += defaultBlock(origin, "0.333333, 0.500000");
    EXPECT_EQ(fake.normalizedScript(), expected + "unset multiplot\n");
    // With a font size of its own the window keeps it: only the bind line comes first.
    wide.font(nullptr, 10);
    ASSERT_EQ(wide.plotting(), 0);
    EXPECT_EQ(fake.normalizedScript().rfind(kBind + std::string("set multiplot\nreset\n"), 0), 0u);

    // One cell is no multiplot, but the window font counts the cell.
    CPlot one;
    one.setEngineHome(fake.home().c_str());
    one.subplot(1, 1);
    ASSERT_EQ(one.plotting(), 0);
    EXPECT_EQ(fake.normalizedScript(), defaultBlock("0.000000, 0.000000", "1.000000, 1.000000", windowTerminal("8")));
}
