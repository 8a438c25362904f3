// Tic settings and the lines of their sections (the defaults are in the golden scripts).
#include <cmath>

#include <gtest/gtest.h>

#include "plot/cplot.h"
#include "render/script_writer.h"
#include "support/test_support.h"

using namespace rizari;
using rizari::test::section;
using rizari::test::captureStderr;

namespace {


// The line of the axis tics section that starts with the given words ("" when there is none).
std::string ticLine(const CPlot& p, const std::string& start)
{
    const std::string all = "\n" + section(p, &CPlot::writeAxisTics);
    const std::size_t at = all.find("\n" + start);
    return at == std::string::npos ? "" : all.substr(at + 1, all.find('\n', at + 1) - at);
}

}  // namespace

TEST(Tics, AxesOnOffLocationMirrorDirection)
{
    CPlot p;
    EXPECT_EQ(captureStderr([&] {
                  p.tics(32, 1), p.tics(PlotAxis::X, 2), p.ticsDirection(34);
                  p.ticsLocation(PlotAxis::Z, "axis"), p.ticsLocation(PlotAxis::X, "Border");
                  p.ticsLocation(99, nullptr), p.ticsMirror(99, 2), p.ticsMirror(5, 1);
              }),
              "CPlot::tics(): invalid parameter\nCPlot::tics(): invalid parameter\n"
              "CPlot::ticsDirection(): invalid parameter\nCPlot::ticsLocation(): invalid axis\n"
              "CPlot::ticsLocation(): invalid tic location\nCPlot::ticsLocation(): invalid tic location\n"
              "CPlot::ticsMirror(): invalid parameter\nCPlot::ticsMirror(): invalid axis\n");
    p.tics(PlotAxis::Y, 0);
    p.tics(PlotAxis::X2 | PlotAxis::Y2, 1);
    p.ticsLocation(PlotAxis::XY, "axis");
    p.ticsMirror(PlotAxis::XYZ, 1);
    p.ticsMirror(PlotAxis::X, 0);
    p.ticsDirection(TicsDirection::Out);
    EXPECT_EQ(section(p, &CPlot::writeAxisTics),
              "unset xtics\nset xtics axis nomirror\nunset x2tics\nset x2tics border nomirror\n"
              "unset ytics\nunset y2tics\nset y2tics border nomirror\nunset ztics\nset ztics mirror\n");
    EXPECT_EQ(section(p, &CPlot::writeTicsDirection), "set tics out\nunset ytics\n");
}

TEST(Tics, RangesShareTheStartAndEndFlags)
{
    CPlot p;
    p.ticsRange(PlotAxis::X, 0.5);
    EXPECT_EQ(ticLine(p, "set xtics"), "set xtics border nomirror 0.500000\n");
    p.ticsRange(PlotAxis::Y, 1, 0, 10);
    // x never got a start or an end, but the flags are shared by all axes.
    EXPECT_EQ(ticLine(p, "set xtics"), "set xtics border nomirror 0.000000, 0.500000, 0.000000\n");
    EXPECT_EQ(ticLine(p, "set ytics"), "set ytics border nomirror 0.000000, 1.000000, 10.000000\n");

    CPlot q;  // a refused axis still raises the start flag
    EXPECT_EQ(captureStderr([&] { q.ticsRange(5, 1, 2); }), "CPlot::ticsRange(): invalid axis\n");
    q.ticsRange(PlotAxis::XYZ, 3);
    EXPECT_EQ(ticLine(q, "set xtics"), "set xtics border nomirror 0.000000, 3.000000\n");
    EXPECT_EQ(ticLine(q, "set ztics"), "set ztics nomirror\n");  // a z range is for 3D plots only
    q.dimension(3);
    EXPECT_EQ(ticLine(q, "set ztics"), "set ztics nomirror 0.000000, 3.000000\n");
}

TEST(Tics, ExplicitTicsNewestFirst)
{
    CPlot p;
    p.ticsRange(PlotAxis::X, 1);
    p.ticsLabel(PlotAxis::X, "a", 1);  // replaces the x range
    p.ticsLabel(PlotAxis::X, "b", 2);
    p.ticsPosition(PlotAxis::X, 2.5);
    EXPECT_EQ(ticLine(p, "set xtics"), "set xtics border nomirror (2.500000, \"b\" 2.000000, \"a\" 1.000000)\n");
    // Only x or y alone drop a range: x2 keeps its range and its labels are not written.
    p.tics(PlotAxis::X2, 1);
    p.ticsRange(PlotAxis::X2, 4);
    p.ticsLabel(PlotAxis::X2, "c", 3);
    EXPECT_EQ(ticLine(p, "set x2tics"), "set x2tics border nomirror 4.000000\n");
    // Every axis of a combined code gets its own entry.
    p.ticsLabel(PlotAxis::YZ, nullptr, -1);
    p.ticsLabel(PlotAxis::Z, "top", 5);
    EXPECT_EQ(ticLine(p, "set ytics"), "set ytics border nomirror (-1.000000)\n");
    EXPECT_EQ(ticLine(p, "set ztics"), "set ztics nomirror (\"top\" 5.000000, -1.000000)\n");
    EXPECT_EQ(captureStderr([&] { p.ticsLabel(5, "x", 1), p.ticsPosition(32, 1); }),
              "CPlot::ticsLabel(): invalid axis\nCPlot::ticsPosition(): invalid axis\n");
}

TEST(Tics, FractionLabels)
{
    CPlot p;
    p.axisRange(PlotAxis::X, 0, 1);
    EXPECT_EQ(captureStderr([&] { p.ticsFraction(PlotAxis::X, 0), p.ticsFraction(PlotAxis::Z, 2); }),
              "CPlot::ticsFraction(): invalid fraction\nCPlot::ticsFraction(): invalid axis\n");
    p.ticsFraction(PlotAxis::X, 4);
    p.ticsRange(PlotAxis::X, 1);  // ignored while fractions are on
    EXPECT_EQ(ticLine(p, "set xtics"),
              "set xtics border nomirror (\"0\" 0.000000, \"1/4\" 0.250000, \"2/4\" 0.500000, \"3/4\" 0.750000, "
              "\"1\" 1.000000, \"5/4\" 1.250000, \"6/4\" 1.500000, \"7/4\" 1.750000, \"2\" 2.000000)\n");
    p.ticsRange(PlotAxis::XY, 1);  // a combined code is not
    EXPECT_EQ(ticLine(p, "set xtics"), "set xtics border nomirror 1.000000\n");

    // Negative numerators: the integer part truncates toward zero.
    CPlot q;
    q.axisRange(PlotAxis::X, -1, 0);
    q.ticsFraction(PlotAxis::X, 2);
    EXPECT_EQ(ticLine(q, "set xtics"), "set xtics border nomirror (\"-1\" -1.000000, \"-1/2\" -0.500000, "
                                       "\"0\" 0.000000, \"1/2\" 0.500000, \"1\" 1.000000)\n");
    // Numerators beyond the int range end the list after one entry.
    for (double end : {1e300, -1e300}) {
        q.axisRange(PlotAxis::X, end, end);
        EXPECT_EQ(ticLine(q, "set xtics").find("\", "), std::string::npos);
    }
}

TEST(Tics, FormatsDayMonthAndLevel)
{
    CPlot p;
    p.ticsFormat(PlotAxis::XY, "%.2f");
    p.ticsFormat(99, nullptr);  // a null format is ignored before the axis is looked at
    p.ticsDay(PlotAxis::X2);    // accepted, has no line
    p.ticsDay(PlotAxis::YZ);
    p.ticsMonth(PlotAxis::Y2);
    p.ticsMonth(PlotAxis::X);
    EXPECT_EQ(captureStderr([&] {
                  p.ticsFormat(5, "%e"), p.ticsDay(5), p.ticsMonth(0);
                  p.ticsLevel(-0.1), p.ticsLevel(std::nan(""));
              }),
              "CPlot::ticsFormat(): invalid axis\nCPlot::ticsDay(): invalid axis\nCPlot::ticsMonth(): invalid axis\n"
              "CPlot::ticsLevel(): invalid parameter\nCPlot::ticsLevel(): invalid parameter\n");
    EXPECT_EQ(section(p, &CPlot::writeTicsFormats),
              "set format x \"%.2f\"\nset format y \"%.2f\"\nset format z \"%g\"\nset format x2 \"%g\"\n"
              "set format y2 \"%g\"\n");
    EXPECT_EQ(section(p, &CPlot::writeDayMonthTics), "set ydtics\nset zdtics\nset xmtics\nset y2mtics\n");
    p.ticsLevel(0);
    EXPECT_NE(section(p, &CPlot::write3DSettings).find("\nset ticslevel 0.000000\n"), std::string::npos);
}
