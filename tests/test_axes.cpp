// Autoscaling, ranges, log scales and zero axes (the defaults are in the golden scripts).
#include <gtest/gtest.h>

#include "plot/cplot.h"
#include "render/script_writer.h"
#include "support/test_support.h"

using namespace rizari;
using rizari::test::section;
using rizari::test::captureStderr;

TEST(Axes, Autoscale)
{
    CPlot p;
    EXPECT_EQ(captureStderr([&] { p.autoScale(0, 1), p.autoScale(32, 0), p.autoScale(1, 2); }),
              "plot.autoScale(): invalid parameter\nplot.autoScale(): invalid parameter\n"
              "plot.autoScale(): invalid parameter\n");
    p.autoScale(5, 0);  // x and z together
    EXPECT_EQ(section(p, &CPlot::writeAutoscale),
              "unset autoscale x\nset autoscale x2\nset autoscale y\nset autoscale y2\n");
    p.dimension(3);
    EXPECT_EQ(section(p, &CPlot::writeAutoscale),
              "unset autoscale x\nset autoscale x2\nset autoscale y\nset autoscale y2\nunset autoscale z\n");
}

TEST(Axes, ZeroAxesShareOneStyle)
{
    CPlot p;
    EXPECT_EQ(captureStderr([&] { p.axis(PlotAxis::Z, 1), p.axis(PlotAxis::X, 2), p.axis(PlotAxis::YZ, -1); }),
              "CPlot::axis(): invalid axis\nCPlot::axis(): invalid parameter\nCPlot::axis(): invalid parameter\n");
    p.axis(PlotAxis::XYZ, 1);  // z shown: no z line at all
    p.axis(PlotAxis::Y, 0);
    p.axis(PlotAxis::X2, 3, 2, "red");
    EXPECT_EQ(section(p, &CPlot::writeZeroAxes),
              "set xzeroaxis lt 3 lw 2 lc rgbcolor \"red\"\nunset yzeroaxis\n"
              "set x2zeroaxis lt 3 lw 2 lc rgbcolor \"red\"\nunset y2zeroaxis\n");
    // A refused axis still changes the shared style; -999 drops the style clause.
    EXPECT_EQ(captureStderr([&] { p.axis(PlotAxis::Z, -999, 1, "blue"); }), "CPlot::axis(): invalid axis\n");
    EXPECT_EQ(section(p, &CPlot::writeZeroAxes), "set xzeroaxis\nunset yzeroaxis\nset x2zeroaxis\nunset y2zeroaxis\n");
}

TEST(Axes, RangesAndLogScales)
{
    CPlot p;
    p.axisRange(PlotAxis::X, 5, 1, -1);  // no ordering check
    p.axisRange(PlotAxis::YZ, -2.5, 2.5);
    p.axisRange(PlotAxis::Y2, 0, 100);
    EXPECT_EQ(captureStderr([&] { p.axisRange(5, 0, 1), p.axisRange(32, 0, 1, 1); }),
              "CPlot::axisRange(): invalid axis\nCPlot::axisRange(): invalid axis\n");
    EXPECT_EQ(section(p, &CPlot::writeRanges),
              "set xrange [5.000000:1.000000]\nset yrange [-2.500000:2.500000]\nset y2range [0.000000:100.000000]\n");
    p.dimension(3);
    EXPECT_EQ(section(p, &CPlot::writeRanges),
              "set xrange [5.000000:1.000000]\nset yrange [-2.500000:2.500000]\nset zrange [-2.500000:2.500000]\n"
              "set y2range [0.000000:100.000000]\n");
    // The increment form is a tic range from minimum to maximum.
    EXPECT_NE(section(p, &CPlot::writeAxisTics).find("set xtics border mirror 5.000000, -1.000000, 1.000000\n"),
              std::string::npos);

    p.scaleType(PlotAxis::Y, ScaleType::Log);
    p.scaleType(PlotAxis::XYZ, ScaleType::Log, 2);
    p.scaleType(PlotAxis::X2, ScaleType::Log, 3);
    EXPECT_EQ(captureStderr([&] {
                  p.scaleType(PlotAxis::X, ScaleType::Linear, 2);
                  p.scaleType(PlotAxis::Y, 99, 2.0);
                  p.scaleType(5, ScaleType::Log);
                  p.scaleType(5, ScaleType::Log, 2);
              }),
              "CPlot::scaleType(): invalid number of arguments\nCPlot::scaleType(): invalid scale type\n"
              "CPlot::scaleType(): invalid axis\n"
              "CPlot::scaleType(): invalid axis\nCPlot::scaleType(): invalid number of arguments\n");
    EXPECT_EQ(section(p, &CPlot::writeLogScales),
              "set logscale y 2.000000\nset logscale z 2.000000\nset logscale x2 3.000000\n");
}
