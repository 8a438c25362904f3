// Lines, points, markers, arcs, polygons and the number line: the data sets and shape objects
// they make, and how they are styled.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plot/cplot.h"
#include "render/script_writer.h"
#include "support/test_support.h"

using namespace rizari;
using rizari::test::captureStderr;
using Values = std::vector<double>;

namespace {

constexpr double kPi = 3.141592653589793;

// Coordinate c (0 x, 1 y, 2 z) of every point of a data set.
Values coords(const DataSet& set, int c)
{
    Values v;
    for (int i = 0; i < set.pointCount; ++i) v.push_back(set.valueAt(static_cast<std::size_t>(c * set.pointCount + i)));
    return v;
}

}  // namespace

TEST(Figures, LinesAndMarkersAreStyledDataSets)
{
    CPlot p;
    p.lineStyle("-");
    ASSERT_EQ(p.line(1, 2, 9, 3, 4, 9), 0);
    ASSERT_EQ(p.point(1, 2, 0), 0);
    p.rectangle(0, 0, 1, 1);  // shapes do not move the index colour
    const double x[] = {1, 2, 3}, y[] = {3, 2, 1};
    p.scattern(x, y, 3);
    p.scattern(x, y, 3, "teal");
    p.circleOpen(1, 1, "plum");
    p.strokeColor("navy");
    p.circleClosed(1, 1);
    const auto& s = p.state().dataSets;
    EXPECT_EQ(s[0].plotType, PlotType::Lines);
    EXPECT_EQ(s[0].lineType, 1);
    EXPECT_EQ(coords(s[0], 1), (Values{2, 4}));
    EXPECT_EQ(s[1].plotType, PlotType::Points);
    EXPECT_EQ(s[1].pointType, 7);
    EXPECT_EQ(s[1].pointSize, 1);
    const char* colours[] = {"", "green", "blue", "teal", "plum", "navy"};
    for (int i = 1; i < 6; ++i) EXPECT_EQ(s[i].pointColor, colours[i]) << i;
    EXPECT_EQ(s[4].pointType, 6);
    EXPECT_EQ(s[5].pointType, 7);
    EXPECT_EQ(s[5].pointSize, 2);

    CPlot space;
    space.dimension(3);
    space.line(1, 2, 3, 4, 5, 6);
    space.point(1, 2, 7);
    EXPECT_EQ(coords(space.state().dataSets[0], 2), (Values{3, 6}));
    EXPECT_EQ(space.state().dataSets[1].plotType, PlotType::Points);
    EXPECT_EQ(space.state().dataSets[1].pointColor, "green");
}

TEST(Figures, ArcHasOnePointPerDegreeAndEndsAtTheEndAngle)
{
    CPlot p;
    p.arc(1, 1, 2, 0, 90);
    p.arc(0, 0, 1, 0, 0.5);
    p.arc(0, 0, 1, 10, 12.5);
    const auto& s = p.state().dataSets;
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].pointCount, 91);
    EXPECT_DOUBLE_EQ(coords(s[0], 0)[45], 1 + 2 * std::cos(45 * kPi / 180));
    EXPECT_EQ(coords(s[0], 1)[90], 3);
    EXPECT_EQ(coords(s[1], 0), (Values{std::cos(0.5 * kPi / 180)}));
    EXPECT_EQ(coords(s[2], 1), (Values{std::sin(10 * kPi / 180), std::sin(11 * kPi / 180), std::sin(12.5 * kPi / 180)}));
    EXPECT_EQ(captureStderr([&] { EXPECT_EQ(p.arc(0, 0, 1, 90, 90), -1); }),
              "Error: CPlot::arc(): start angle is bigger than the end engle.\n");
}

TEST(Figures, ArcSegmentCutColour)
{
    CPlot c;
    c.arcSegment(0, 0, 1, 0, 90);
    c.arcSegment(0, 0, 1, 0, 90, "red");
    c.arcSegment(0, 0, 1, 0, 270, "red");  // from 180 degrees on the argument is not used
    c.fillColor("gold");
    c.arcSegment(0, 0, 1, 0, 270, "red");
    c.backgroundColor("ivory");
    c.arcSegment(0, 0, 1, 0, 90);
    c.fillPattern(3);  // a pattern has no colour to give the triangle
    c.arcSegment(0, 0, 1, 0, 200);
    const char* cut[] = {"white", "red", "white", "gold", "ivory", "ivory"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(c.state().draw.shapeObjects[i].cutColor, cut[i]) << i;
    EXPECT_FALSE(c.state().draw.shapeObjects[0].cutColorGiven);
    EXPECT_TRUE(c.state().draw.shapeObjects[2].cutColorGiven);

    CPlot bare;  // no cut colour, fill or stroke: the sector line alone
    bare.noStrokeColor();
    bare.arcSegment(0, 0, 1, 0, 90);
    EXPECT_EQ(test::section(bare, &CPlot::writeShapeObjects), "set object circle center 0, 0 size 1 arc [0:90] behind fillstyle empty \n");
}

TEST(Figures, PolygonsFilledOrClosedLines)
{
    CPlot p;
    p.polarPlot(AngleUnit::Degrees);
    const double theta[] = {0, 90, 180}, r[] = {1, 1, 1};
    ASSERT_EQ(p.polygon(theta, r, nullptr, 3, 3), 0);
    const Values polar{1, 0, -1, 0, 1, 0};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(p.state().draw.shapeObjects[0].parameters[i], polar[i], 1e-12) << i;
    EXPECT_NEAR(p.state().draw.extents.xmin, -1, 1e-12);
    EXPECT_EQ(captureStderr([&] { EXPECT_EQ(p.regularPolygon(0, 0, 0, 1, 0), -1); }),
              "CPlot::polygon(): not enough points.\n");

    CPlot q;
    q.regularPolygon(0, 0, 4, 2, 0);
    const Values square{1, 1, -1, -1, -1, 1, 1, -1};
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(q.state().draw.shapeObjects[0].parameters[i], square[i], 1e-12) << i;

    const double x[] = {0, 1, 1}, y[] = {0, 0, 1}, z[] = {5, 6, 7};
    EXPECT_EQ(captureStderr([&] { EXPECT_EQ(q.polygon(x, y, z, 2, 2), -1); }), "CPlot::polygon(): not enough points.\n");
    EXPECT_EQ(captureStderr([&] { q.polygon(x, y, z, 3, 2); }),
              "CPlot::polygon(): number of x points != number of y points\n");
    ASSERT_EQ(q.polygon(x, y, z, 3, 3), 0);
    EXPECT_EQ(coords(q.state().dataSets.at(0), 0), (Values{0, 1, 1, 0}));
    EXPECT_EQ(q.state().dataSets[0].plotType, PlotType::Lines);

    CPlot space;
    space.dimension(3);
    EXPECT_EQ(captureStderr([&] { space.polygon(x, y, z, 3, 2); }),
              "CPlot::polygon(): number of x points, y points, and z points not equal\n");
    space.polygon(x, y, z, 3, 3);
    EXPECT_EQ(coords(space.state().dataSets.at(0), 2), (Values{5, 6, 7, 5}));
}

TEST(Figures, NumberLineSetUpOnceAndLevelsOnlyWithTheOffset)
{
    CPlot flat, stacked;
    stacked.line1DOffset();
    for (int i = 0; i < 3; ++i) {
        flat.line1D(0, 1);
        stacked.line1D(0, 1, i == 2 ? "orange" : nullptr);
        EXPECT_EQ(coords(flat.state().dataSets[i], 1), (Values{0, 0}));
        EXPECT_EQ(coords(stacked.state().dataSets[i], 1), (Values{1.0 * i, 1.0 * i}));
        if (i == 0) flat.label(PlotAxis::Y, "kept");  // later segments leave the settings alone
    }
    EXPECT_EQ(stacked.state().dataSets[2].lineColor, "orange");
    const PlotState& s = flat.state();
    EXPECT_EQ(s.draw.level1D, 3);
    EXPECT_EQ(s.text.axisLabelText[AxisY], "kept");
    EXPECT_EQ(s.text.axisLabelText[AxisX], "");
    EXPECT_EQ(s.frame.borderSides & 15, 1);
    EXPECT_EQ(s.axes.rangeMax[AxisY], 15);
    EXPECT_EQ(s.tics.ticsIncr[AxisX], 1.0);
    EXPECT_EQ(s.frame.gridOn, 0);
    EXPECT_EQ(s.frame.sizeY, 0.8);
}
