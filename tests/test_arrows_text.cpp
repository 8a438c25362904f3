// Arrows and text labels: what the members store and the two script sections they feed.
#include <string>

#include <gtest/gtest.h>

#include "plot/cplot.h"
#include "render/script_writer.h"
#include "support/test_support.h"

using namespace rizari;

namespace {

std::string sections(const CPlot& p)
{
    std::string out;
    ScriptWriter w(out);
    p.writeArrows(w);
    p.writeTextLabels(w);
    return out;
}

}  // namespace

TEST(Arrow, NewestFirstTailBeforeHeadZFlattenedIn2D)
{
    CPlot p;
    EXPECT_EQ(sections(p), "unset arrow\nunset label\n");
    EXPECT_EQ(p.arrow(0, 0, 5, 1, 1, 5), 0);
    EXPECT_EQ(p.arrow(-1.5, 2, 0, 3, 4.25, 0, "head filled"), 0);
    int rc = 1;
    EXPECT_EQ(test::captureStderr([&] { rc = p.arrow(1, 2, 3, 4, 5, 6, nullptr); }), "CPlot::arrow(): invalid option\n");
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(sections(p),
              "set arrow from 1.000000, 2.000000, 0.000000 to 4.000000, 5.000000, 0.000000\n"
              "set arrow from -1.500000, 2.000000, 0.000000 to 3.000000, 4.250000, 0.000000 head filled\n"
              "set arrow from 0.000000, 0.000000, 0.000000 to 1.000000, 1.000000, 0.000000\n"
              "unset label\n");

    CPlot space;
    space.dimension(3);
    space.arrow(0, 0, 5, 1, 1, 5);
    EXPECT_EQ(sections(space), "set arrow from 0.000000, 0.000000, 5.000000 to 1.000000, 1.000000, 5.000000\n"
                               "unset label\n");
}

TEST(Text, NewestFirstWithTheColourOfTheirTimeAndInTheExtents)
{
    CPlot p;
    p.text("A", TextAlign::Left, 3.5, 2, 3);
    p.textColor("blue");
    p.text("B", TextAlign::Right, -1, 4, 0);
    p.text("C", TextAlign::Center, 0, 0, 0);
    p.text(nullptr, 99, 2, 2, 2);  // no text and an unknown alignment
    p.textColor(std::string(100, 'c').c_str());  // later colours leave earlier labels alone
    p.text("D", TextAlign::Left, 1, 1, 1);
    EXPECT_EQ(sections(p),
              "unset arrow\n"
              "set label \"D\" at 1.000000, 1.000000, 1.000000 font \", 13\"  textcolor rgbcolor \"" +
                  std::string(63, 'c') + "\" left\n"
              "set label \"\" at 2.000000, 2.000000, 2.000000 font \", 13\"  textcolor rgbcolor \"blue\" \n"
              "set label \"C\" at 0.000000, 0.000000, 0.000000 font \", 13\"  textcolor rgbcolor \"blue\" center\n"
              "set label \"B\" at -1.000000, 4.000000, 0.000000 font \", 13\"  textcolor rgbcolor \"blue\" right\n"
              "set label \"A\" at 3.500000, 2.000000, 3.000000 font \", 13\" left\n");
    const ObjectExtents& e = p.state().draw.extents;
    EXPECT_EQ(e.xmin, -1);
    EXPECT_EQ(e.xmax, 3.5);
    EXPECT_EQ(e.ymin, 0);
    EXPECT_EQ(e.ymax, 4);

    p.deletePlots();
    EXPECT_EQ(p.state().draw.textColorSet, 0);
    EXPECT_EQ(sections(p), "unset arrow\nunset label\n");
}
