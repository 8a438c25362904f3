// 3D view, contours, coordinate systems and polar plots (the defaults are in the golden scripts).
#include <cmath>

#include <gtest/gtest.h>

#include "plot/cplot.h"
#include "render/script_writer.h"
#include "support/test_support.h"

using namespace rizari;
using rizari::test::section;
using rizari::test::captureStderr;

namespace {


bool has(const std::string& text, const std::string& lines) { return ("\n" + text).find("\n" + lines) != std::string::npos; }

}  // namespace

TEST(View, ViewScaleMeshAndFlags)
{
    CPlot p;
    p.dimension(3);
    p.changeViewAngle(180, 360);
    p.changeViewAngle(0, 0);
    EXPECT_EQ(captureStderr([&] {
                  p.changeViewAngle(181, 0), p.changeViewAngle(10, -1), p.changeViewAngle(std::nan(""), 10);
                  p.size3D(0, 1), p.showMesh(2), p.removeHiddenLine(-1), p.colorBox(3);
              }),
              "CPlot::changeViewAngle(): invalid parameter\nCPlot::changeViewAngle(): invalid parameter\n"
              "CPlot::changeViewAngle(): invalid parameter\nCPlot::size3D(): invalid parameter\n"
              "CPlot::showMesh(): invalid parameter\nCPlot::removeHiddenLine(): invalid parameter\n"
              "CPlot::colorBox(): invalid parameter\n");
    p.size3D(2, 0.5);
    p.showMesh(0);
    p.colorBox(0);
    p.removeHiddenLine(0);
    p.label(PlotAxis::Z, nullptr);
    EXPECT_EQ(section(p, &CPlot::write3DSettings),
              "set parametric\nset view 0.000000, 0.000000, 2.000000, 0.500000\nset ticslevel 0.500000\n"
              "unset surface\nunset contour\nunset colorbox\nunset hidden3d\nset mapping cartesian\n");
}

TEST(View, ContoursAndPm3d)
{
    CPlot p;
    const double x[] = {0, 1}, y[] = {0, 1}, z[] = {0, 1, 1, 2};
    ASSERT_EQ(p.data3DSurface(x, y, z, 2, 2), 0);  // a grid surface is drawn as pm3d
    p.removeHiddenLine(0);                          // pm3d reverses the hidden line sense
    EXPECT_TRUE(has(section(p, &CPlot::write3DSettings), "set colorbox\nset hidden3d\n"));

    // A refused mode still asks for contours, with the default placement.
    EXPECT_EQ(captureStderr([&] { p.contourMode(4); }), "CPlot::contourMode(): invalid parameter\n");
    EXPECT_TRUE(has(section(p, &CPlot::write3DSettings), "set contour surface\nunset clabel\nset colorbox\n"));
    EXPECT_EQ(section(p, &CPlot::writeColorMap), "set palette rgbformulae 33,13,10 \nset pm3d at bs\n\n");

    p.contourMode(ContourMode::Base);
    p.contourLabel(1);
    const double levels[] = {0.5, 1, 1.5};
    p.contourLevels(levels, 3);
    EXPECT_TRUE(has(section(p, &CPlot::write3DSettings),
                    "set contour base\nset clabel\nset cntrparam levels discrete 0.500000, 1.000000, 1.500000\n"));
    EXPECT_EQ(section(p, &CPlot::writeColorMap), "set palette rgbformulae 33,13,10 \nset pm3d map\n\n");

    p.contourMode(ContourMode::Both);
    p.contourLevels(levels, 0);
    EXPECT_EQ(captureStderr([&] { p.contourLabel(2); }), "CPlot::contourLabel(): invalid parameter\n");
    p.contourLabel(0);
    EXPECT_TRUE(has(section(p, &CPlot::write3DSettings), "set contour both\nunset clabel\nset colorbox\n"));
    EXPECT_EQ(section(p, &CPlot::writeColorMap), "set palette rgbformulae 33,13,10 \nset pm3d\n\n");

    p.plotType(PlotType::Lines, 0);
    EXPECT_EQ(section(p, &CPlot::writeColorMap), "set palette rgbformulae 33,13,10 \n\n");
    EXPECT_TRUE(has(section(p, &CPlot::write3DSettings), "set colorbox\nunset hidden3d\n"));
}

TEST(View, CoordinateSystems)
{
    CPlot p;
    p.dimension(3);
    EXPECT_EQ(captureStderr([&] { p.coordSystem(CoordSystem::Cartesian, 7), p.coordSystem(28); }),
              "CPlot::coordSystem(): invalid parameter\n");
    EXPECT_EQ(captureStderr([&] { p.coordSystem(CoordSystem::Spherical, 7); }),
              "CPlot::coordSystem():invalid angle, using degrees\n");
    EXPECT_TRUE(has(section(p, &CPlot::write3DSettings), "set mapping spherical\nset angles degrees\n"));
    p.coordSystem(CoordSystem::Cylindrical, AngleUnit::Radians);
    p.coordSystem(CoordSystem::Spherical);  // keeps the unit
    EXPECT_TRUE(has(section(p, &CPlot::write3DSettings), "set mapping spherical\nset angles radians\n"));
    p.coordSystem(CoordSystem::Cylindrical, AngleUnit::Degrees);
    EXPECT_TRUE(has(section(p, &CPlot::write3DSettings), "set mapping cylindrical\nset angles degrees\n"));
}

TEST(View, PolarPlotLook)
{
    CPlot p;
    p.polarPlot(AngleUnit::Degrees);
    EXPECT_EQ(section(p, &CPlot::writePolarAndAngles), "set polar\nunset raxis\nunset rtics\nset angles degrees\n");
    EXPECT_EQ(section(p, &CPlot::writeTitlesAndLabels), "");
    EXPECT_TRUE(has(section(p, &CPlot::writeMarginsAndLayout), "set size ratio 1.000000  1.000000, 1.000000\n"));
    EXPECT_TRUE(has(section(p, &CPlot::writeAxisTics), "set xtics axis nomirror\nunset x2tics\nunset ytics\n"
                                                        "set ytics axis nomirror\n"));

    // A refused unit still gives the look, without polar mode.
    CPlot q;
    q.dimension(3);
    EXPECT_EQ(captureStderr([&] { q.polarPlot(36); }), "CPlot::polarPlot(): invalid parameter\n");
    EXPECT_EQ(section(q, &CPlot::writePolarAndAngles), "");
    EXPECT_EQ(section(q, &CPlot::writeBorder), "set border 16\n");
    EXPECT_TRUE(has(section(q, &CPlot::writeAxisTics), "set xtics axis nomirror\n"));
}
