// Shape objects and the fill/stroke state: the colour cycle shared by every plot, the object
// extents and the shape objects section.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "plot/cplot.h"
#include "render/script_writer.h"
#include "support/test_support.h"

using namespace rizari;
using rizari::test::section;
using rizari::test::captureStderr;

namespace {

const char* const kCycle[] = {"red", "green", "blue", "magenta", "cyan", "yellow", "black", "orange", "grey"};


const ColorText& lastStroke(const CPlot& p) { return p.state().draw.shapeObjects.back().strokeColor; }

}  // namespace

// Tests of one process share the counter, so positions are relative to where it stands.
TEST(ColorCycle, OneCounterForAllPlotsMovedOnlyByCycleColouredShapes)
{
    CPlot a, b, space;
    ASSERT_EQ(a.circle(0, 0, 1), 0);
    int start = 0;
    while (start < 9 && !(lastStroke(a) == kCycle[start])) ++start;
    ASSERT_LT(start, 9);

    b.strokeColor("pink");  // an own stroke colour, even switched off, leaves the counter alone
    b.circle(0, 0, 1);
    b.noStrokeColor();
    b.circle(0, 0, 1);
    EXPECT_EQ(lastStroke(b), "pink");
    space.dimension(3);
    EXPECT_EQ(captureStderr([&] { EXPECT_EQ(space.circle(0, 0, 1), -1); }), "CPlot::AddObject(): invalid dimension\n");

    a.deletePlots();  // neither a reset nor a subplot cell starts the cycle again
    a.subplot(1, 2);
    for (int i = 1; i <= 10; ++i) {
        a.getSubplot(0, i % 2)->rectangle(0, 0, 1, 1);
        EXPECT_EQ(lastStroke(*a.getSubplot(0, i % 2)), kCycle[(start + i) % 9]) << i;
    }
}

TEST(ShapeObjects, EachKindWithItsFillAndBorder)
{
    CPlot p;
    p.strokeColor("black");
    p.strokeWidth(3);
    p.rectangle(1, 2, -4, 2);
    p.fillColor("gold");
    p.fillOpacity(0.25);
    p.circle(0, 0, 1.5);
    p.fillPattern(4);
    p.ellipse(0, 0, 4, 2, 30);
    p.noFill();
    p.noStrokeColor();
    p.arcSector(1, 1, 2, 0, 90);
    p.rectangle(0, 0, 1, 1);
    p.strokeColor("navy");
    const double x[] = {0, 1, 1}, y[] = {0, 0, 2};
    p.polygon(x, y, nullptr, 3, 3);
    p.circle(INFINITY, -INFINITY, 1);
    EXPECT_EQ(section(p, &CPlot::writeShapeObjects),
              "set object rectangle center -1, 3 size 4, 2 behind fillstyle empty border lc rgbcolor \"black\" linewidth 3 \n"
              "set object circle center 0, 0 size 1.5 behind fillcolor rgbcolor \"gold\" fillstyle transparent solid 0.25 "
              "border lc rgbcolor \"black\" linewidth 3 \n"
              "set object ellipse center 0, 0 size 4, 2 angle 30 behind fs transparent pattern 4 "
              "border lc rgbcolor \"black\" linewidth 3 \n"
              "set object circle center 1, 1 size 2 arc [0:90] behind fillstyle empty \n"
              "set object rectangle center 0.5, 0.5 size 1, 1 behind fillstyle empty border linewidth 0 \n"
              "set object polygon from 0, 0 to 1, 0 to 1, 2 to 0, 0 behind fillstyle empty "
              "border lc rgbcolor \"navy\" linewidth 3 \n"
              "set object circle center 9.8e+307, -9.8e+307 size 1 behind fillstyle empty "
              "border lc rgbcolor \"navy\" linewidth 3 \n");
}

TEST(ShapeObjects, ExtentsAndTheObjectRangesTheyGive)
{
    CPlot rect;
    rect.rectangle(1, 2, -4, 2);  // each bound takes its own candidate, even when reversed
    EXPECT_EQ(rect.state().draw.extents.xmin, 1);
    EXPECT_EQ(rect.state().draw.extents.xmax, -3);

    CPlot p;
    p.ellipse(0, 0, 4, 2, 30);  // the full width is the margin: -4 .. 4 both ways
    EXPECT_EQ(p.state().draw.extents.ymin, -4);
    p.arcSector(10, 0, 1, 0, 45);  // the whole circle counts
    p.circle(0, -6, 0.5);
    // x -4 .. 11 widened by a fifth of the span: -7 .. 14; y -6.5 .. 4: -8.6 .. 6.1
    EXPECT_EQ(section(p, &CPlot::writeObjectRanges), "set xrange [-7:14]\nset yrange [-9:7]\n");

    CPlot space;  // merged before the dimension check refuses the object
    space.dimension(3);
    captureStderr([&] { space.rectangle(2, 3, 1, 1); });
    EXPECT_EQ(space.state().draw.extents.xmax, 3);
}

TEST(FillStroke, SettersClampRefuseAndReport)
{
    CPlot p;
    EXPECT_EQ(p.getStrokeColor(), nullptr);
    EXPECT_EQ(captureStderr([&] { p.strokeWidth(0); }), "CPlot::strokeWidth(): the width less than or equal to 0\n");
    EXPECT_EQ(p.getStrokeWidth(), 2);
    const double opacities[][2] = {{1.5, 1}, {-0.2, 0}, {NAN, 0}, {0.4, 0.4}};
    for (const auto& o : opacities) {
        p.fillOpacity(o[0]);
        EXPECT_EQ(p.state().draw.fillOpacityValue, o[1]) << o[0];
    }
    p.strokeColor(std::string(70, 'q').c_str());
    EXPECT_EQ(p.getStrokeColor(), p.state().draw.strokeColorName.c_str());  // the plot's own text
    EXPECT_EQ(std::string(p.getStrokeColor()), std::string(63, 'q'));
    p.deletePlots();
    EXPECT_EQ(p.getStrokeColor(), nullptr);
}

TEST(ShapeObjects, PageOfShapesThroughTheEngine)
{
    test::FakeEngine fake;
    CPlot p;
    p.strokeColor("black");
    p.rectangle(0, 0, 2, 1);
    p.arcSegment(0, 4, 1.5, 0, 120, "white");
    p.text("hello", TextAlign::Center, 6, 3, 0);
    p.setEngineHome(fake.home().c_str());
    ASSERT_EQ(p.plotting(), 0);
    const std::string script = fake.normalizedScript();
    EXPECT_NE(script.find("unset arrow\nset label \"hello\" at 6.000000, 3.000000, 0.000000 font \", 13\" center\n"),
              std::string::npos);
    // Extents x -1.5 .. 6 and y 0 .. 5.5, widened by a fifth of the span.
    EXPECT_EQ(script.substr(script.find("set object ")),
              "set object rectangle center 1, 0.5 size 2, 1 behind fillstyle empty border lc rgbcolor \"black\" linewidth 2 \n"
              "set object circle center 0, 4 size 1.5 arc [0:120] behind fillstyle empty "
              "border lc rgbcolor \"black\" linewidth 2 \n"
              "set object polygon from 0, 4 to 1.5, 4 to -0.75, 5.29904 to 0, 4 behind "
              "fillcolor rgbcolor \"white\" fillstyle transparent solid 1 \n"
              "set object polygon from 1.5, 4 to 0, 4 to -0.75, 5.29904 to 0, 4 to 1.5, 4 behind fillstyle empty "
              "border fillcolor rgbcolor \"white\" linewidth 2 \n"
              "set object polygon from 1.5, 4 to -0.75, 5.29904 to 1.5, 4 behind fillstyle empty "
              "border lc rgbcolor \"black\" linewidth 2 \n"
              "set xrange [-3:8]\nset yrange [-2:7]\nplot '-' with dots\n 0 0\ne\n\n");
}
