// Title, labels, key, time stamp, native commands and text options.
#include <gtest/gtest.h>

#include "plot/cplot.h"
#include "render/script_writer.h"
#include "support/test_support.h"

using namespace rizari;
using rizari::test::section;
using rizari::test::captureStderr;

TEST(Texts, TitleAndLabelsAreOwnedCopies)
{
    CPlot p;
    std::string text = "Sine";
    p.title(text.c_str());
    text[0] = 'X';
    p.label(PlotAxis::XY, "t");
    p.label(PlotAxis::X, "time");  // the y label is a copy of its own
    p.label(PlotAxis::X2, "top");
    p.label(PlotAxis::Y2, "right");
    EXPECT_STREQ(p.getLabel(PlotAxis::Y), "t");
    EXPECT_EQ(section(p, &CPlot::writeTitlesAndLabels),
              "set title \"Sine\"\nset xlabel \"time\"\nset x2label \"top\"\nset ylabel \"t\"\nset y2label \"right\"\n");
    p.label(PlotAxis::XY, nullptr);
    p.title(nullptr);
    EXPECT_EQ(p.getTitle(), nullptr);
    EXPECT_EQ(section(p, &CPlot::writeTitlesAndLabels), "set x2label \"top\"\nset y2label \"right\"\n");

    const char* got = "unchanged";
    EXPECT_EQ(captureStderr([&] { p.label(5, "a"), got = p.getLabel(PlotAxis::XY); }),
              "CPlot::label(): invalid axis number\nCPlot::getLabel(): invalid axis number\n");
    EXPECT_EQ(got, nullptr);
}

TEST(Texts, KeyLine)
{
    CPlot p;
    p.legendLocation(0.5, 0.25);
    EXPECT_EQ(section(p, &CPlot::writeKey), "set key at 0.5, 0.25\n");
    p.dimension(3);  // z was never given: it is 0
    EXPECT_EQ(section(p, &CPlot::writeKey), "set key at 0.5, 0.25, 0\n");
    p.contourLabel(1);  // contour labels need the plain key
    EXPECT_EQ(section(p, &CPlot::writeKey), "set key\n");
    p.legendLocation(1, 2, 3);
    p.legendOption("left box");  // the option wins over everything else
    EXPECT_EQ(section(p, &CPlot::writeKey), "set key left box\n");
    p.legendOption(nullptr);
    EXPECT_EQ(section(p, &CPlot::writeKey), "set key at 1, 2, 3\n");
}

TEST(Texts, TimeStampNativeCommandsAndTextOptions)
{
    CPlot p;
    p.displayTime(1.5, -2);
    EXPECT_EQ(section(p, &CPlot::writeTimeStamp), "set timestamp offset 1.500000, -2.000000\n");

    p.nativeCmd("set samples 500");
    p.nativeCmd(nullptr);
    p.nativeCmd("set label 1 \"100%\" at 0,0");
    EXPECT_EQ(section(p, &CPlot::writeNativeCommands), "set label 1 \"100%\" at 0,0\nset samples 500\n");

    p.fontScale(0);
    p.fontScale(-2);
    EXPECT_EQ(section(p, &CPlot::writeTextOptions), "set termoption enhanced\n");
    p.font("Helvetica", 12);
    p.fontScale(1.25);
    EXPECT_EQ(section(p, &CPlot::writeTextOptions),
              "set termoption enhanced\nset termoption font \"Helvetica,12\"\nset termoption fontscale 1.250000\n");
    p.font(nullptr, 10);
    EXPECT_EQ(section(p, &CPlot::writeTextOptions), "set termoption enhanced\nset termoption fontscale 1.250000\n");
}
