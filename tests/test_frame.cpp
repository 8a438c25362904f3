// Border, grid, margins, placement, background, bars and box width (defaults: golden scripts).
#include <gtest/gtest.h>

#include "plot/cplot.h"
#include "render/script_writer.h"
#include "support/test_support.h"

using namespace rizari;
using rizari::test::section;
using rizari::test::captureStderr;

namespace {

std::string background(const CPlot& p, bool inGridCell)
{
    std::string out;
    ScriptWriter w(out);
    p.writeBackground(w, inGridCell);
    return out;
}

}  // namespace

TEST(Frame, BorderAndGrid)
{
    CPlot p;
    p.border(15, 1);
    EXPECT_EQ(captureStderr([&] { p.border(15, 2); }), "CPlot::border(): invalid parameter\n");
    p.border(4, 0);
    EXPECT_EQ(section(p, &CPlot::writeBorder), "set border 11\n");

    int flag = -5;
    const char* option = nullptr;
    p.getGrid(&flag, &option);
    EXPECT_EQ(flag, 1);
    EXPECT_STREQ(option, "front");
    p.getGrid(nullptr, nullptr);

    p.grid(0);
    EXPECT_EQ(section(p, &CPlot::writeGrid), "unset grid\n");
    p.grid(1);  // the option text went with grid(0)
    EXPECT_EQ(section(p, &CPlot::writeGrid), "set grid\n");
    p.grid(1, "back lw 2");
    p.polarPlot(AngleUnit::Radians);
    EXPECT_EQ(section(p, &CPlot::writeGrid), "set grid back lw 2\nset grid polar\n");
    // The flag is stored before it is refused, so the grid is off; the option stays.
    EXPECT_EQ(captureStderr([&] { p.grid(2, "xtics"); }), "CPlot::grid(): invalid parameter\n");
    EXPECT_EQ(section(p, &CPlot::writeGrid), "unset grid\n");
    p.getGrid(&flag, &option);
    EXPECT_EQ(flag, 2);
    EXPECT_STREQ(option, "back lw 2");
}

TEST(Frame, MarginsAndLayout)
{
    CPlot p;
    p.margins(1, 2, 3, 4);
    p.borderOffsets(0.1, 0.2, 0.3, 0.4);
    p.origin(0.25, 0.5);
    p.size(0.5, 0.75);
    EXPECT_EQ(captureStderr([&] { p.size(0, 1), p.size(1, -1); }),
              "CPlot::size(): invalid parameter\nCPlot::size(): invalid parameter\n");
    p.sizeRatio(2);
    EXPECT_EQ(section(p, &CPlot::writeMarginsAndLayout),
              "set bmargin 4.000000\nset lmargin 1.000000\nset rmargin 2.000000\nset tmargin 3.000000\n"
              "set offsets 0.100000, 0.200000, 0.300000, 0.400000\nset origin 0.250000, 0.500000\n"
              "set size ratio 2.000000  0.500000, 0.750000\n");
}

TEST(Frame, BackgroundBarsAndBoxWidth)
{
    CPlot p;
    p.backgroundColor("#ffeedd");
    EXPECT_EQ(background(p, false),
              "set object rectangle from screen 0,0 to screen 1,1 fillcolor rgb \"#ffeedd\" behind\n");
    p.origin(0.5, 0.25);
    p.size(0.5, 0.25);  // in a grid cell the rectangle covers the cell only
    EXPECT_EQ(background(p, true),
              "set object rectangle from screen 0.5,0.25 to screen 1,0.5 fillcolor rgb \"#ffeedd\" behind\n");

    p.barSize(1.5);
    p.barSize(-0.1);
    EXPECT_EQ(section(p, &CPlot::writeBars), "");
    p.barSize(0);
    EXPECT_EQ(section(p, &CPlot::writeBars), "set bars 0.000000\n");
    p.boxWidth(0.8);
    EXPECT_EQ(section(p, &CPlot::writeBoxWidth), "set boxwidth 0.8\n");
}
