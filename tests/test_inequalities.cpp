// Inequality regions on the number line: which segments, arrows and markers each case adds, at
// which level, in which colour, and which item takes the queued legend.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plot/cplot.h"
#include "support/test_support.h"

using namespace rizari;
using rizari::test::captureStderr;

namespace {

const char* const kRangeMessage = "Error: call CPlot::axisRange() first, before call CPlot::inequal().\n";
const char* const kOperatorMessage =
    "Error: invalid relational operator for the first argument of CPlot::inequal().\n";

std::string num(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

// One line per data set: "seg a..b @y" for a segment, "pt x @y tT sS colour" for a marker, then
// "L" when it takes a queued legend; a coloured segment adds its colour.
std::vector<std::string> items(const CPlot& p)
{
    std::vector<std::string> out;
    for (const DataSet& d : p.state().dataSets) {
        const auto n = static_cast<std::size_t>(d.pointCount);
        std::string s;
        if (d.plotType == PlotType::Lines) {
            s = "seg " + num(d.valueAt(0)) + ".." + num(d.valueAt(1)) + " @" + num(d.valueAt(n));
            if (d.lineColorSet) s += " " + std::string(d.lineColor.view());
        } else {
            s = "pt " + num(d.valueAt(0)) + " @" + num(d.valueAt(n)) + " t" + std::to_string(d.pointType) + " s" +
                std::to_string(d.pointSize) + " " + std::string(d.pointColor.view());
        }
        if (d.takesQueuedLegend) s += " L";
        out.push_back(s);
    }
    return out;
}

std::vector<std::string> arrows(const CPlot& p)
{
    std::vector<std::string> out;  // oldest first
    for (const PlotArrow& a : p.state().draw.arrows)
        out.insert(out.begin(), num(a.tailX) + "," + num(a.tailY) + "->" + num(a.headX) + "," + num(a.headY));
    return out;
}

using Items = std::vector<std::string>;

struct RangedPlot : CPlot {
    RangedPlot() { axisRange(PlotAxis::X, -5, 5); }
};

}  // namespace

TEST(Inequal, SegmentArrowAndMarkerPerOperator)
{
    RangedPlot p;
    EXPECT_EQ(captureStderr([&] { EXPECT_EQ(p.inequal("<", 2), 0); }), "");
    p.inequal(">=", -1);
    p.inequal("!=", 3);
    p.inequal("<=", 0, "teal");
    p.inequal("==", 1, "navy");
    EXPECT_EQ(items(p), (Items{"seg -5..2 @0 L", "pt 2 @0 t6 s2 red", "seg -1..5 @0 L", "pt -1 @0 t7 s2 blue",
                               "seg 3..3 @0", "pt 3 @0 t6 s2 cyan L", "seg -5..0 @0 teal L", "pt 0 @0 t7 s2 teal",
                               "seg 1..1 @0 navy", "pt 1 @0 t7 s2 navy L"}));
    EXPECT_EQ(arrows(p), (Items{"2,0->-5,0", "-1,0->5,0", "0,0->-5,0"}));
    EXPECT_EQ(p.state().draw.level1D, 5);
}

TEST(Inequal, MissingRangeAndOperatorsNotUnderstood)
{
    CPlot p;
    int rc = 0;
    EXPECT_EQ(captureStderr([&] { rc = p.inequal(">=", 1); }), kRangeMessage);
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(items(p), (Items{"seg 1..10 @0 L", "pt 1 @0 t7 s2 red"}));
    EXPECT_EQ(arrows(p), (Items{"1,0->10,0"}));

    RangedPlot q;  // nothing at all is drawn for them, not even a marker
    EXPECT_EQ(captureStderr([&] { rc = q.inequal("!=", 3, "red"); }), kOperatorMessage);
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(captureStderr([&] { q.inequal("=<", 3); }), kOperatorMessage);
    EXPECT_EQ(captureStderr([&] { q.inequal(nullptr, 3); }), kOperatorMessage);
    EXPECT_TRUE(q.state().dataSets.empty());
    EXPECT_EQ(q.state().draw.level1D, 0);
}

TEST(InequalAnd, CasesInOrder)
{
    RangedPlot p;
    p.inequalOffset();
    EXPECT_EQ(p.inequalAnd(">", 1, "<=", 4), 0);  // between the bounds
    p.inequalAnd("<", 5, ">=", -2);
    p.inequalAnd(">=", 2, "<=", 2);  // a single point: the level stays
    p.inequalAnd(">", 2, "<", 2);    // empty sets
    p.inequalAnd("<", 1, ">", 3);
    p.inequalAnd("<", 3, "<=", 3);   // same direction, tie: the first operator
    p.inequalAnd(">", 3, ">=", 3);   // tie: the second operator
    p.inequalAnd("<=", 4, "<", 2);   // the tighter bound
    EXPECT_EQ(items(p), (Items{"seg 1..4 @0 L", "pt 1 @0 t6 s2 red", "pt 4 @0 t7 s2 red", "seg 5..-2 @1 L",
                               "pt 5 @1 t6 s2 magenta", "pt -2 @1 t7 s2 magenta", "pt 2 @2 t7 s2 black L",
                               "pt 0 @0 t0 s1 orange L", "pt 0 @0 t0 s0 grey L", "seg -5..3 @2 L",
                               "pt 3 @2 t6 s2 red", "seg 3..5 @3 L", "pt 3 @3 t7 s2 blue", "seg -5..2 @4 L",
                               "pt 2 @4 t6 s2 cyan"}));
    EXPECT_EQ(arrows(p), (Items{"3,2->-5,2", "3,3->5,3", "2,4->-5,4"}));

    RangedPlot q;
    q.inequalOffset();
    q.inequalAnd("==", 2, "<", 5);   // single values take a level but no segment
    q.inequalAnd(">=", 1, "==", 3);
    q.inequalAnd("!=", 1, "==", 3);  // not in the set
    q.inequalAnd("!=", 2, "<", 4);   // a hole in the other set
    q.inequalAnd(">=", 1, "!=", 3);
    EXPECT_EQ(captureStderr([&] { EXPECT_EQ(q.inequalAnd("<>", 1, "<", 2), 0); }), "");  // draws nothing
    EXPECT_EQ(items(q), (Items{"pt 2 @0 t7 s2 red L", "pt 3 @1 t7 s2 green L", "pt 0 @0 t0 s0 blue L",
                               "seg -5..4 @2 L", "pt 4 @2 t6 s2 magenta", "pt 2 @2 t6 s2 magenta", "seg 1..5 @3 L",
                               "pt 1 @3 t7 s2 black", "pt 3 @3 t6 s2 black"}));
    EXPECT_EQ(q.state().draw.level1D, 4);
    // A single value came first and took level 0, so no segment ever set the number line up.
    EXPECT_EQ(q.state().frame.gridOn, 1);
}

TEST(InequalAnd, RangeMessagesAndTheColourForm)
{
    CPlot p;
    int rc = 0;
    EXPECT_EQ(captureStderr([&] { rc = p.inequalAnd(">", 1, "<", 20); }), kRangeMessage);
    EXPECT_EQ(rc, -1);
    // The hole form checks the range itself and again in the nested inequal.
    EXPECT_EQ(captureStderr([&] { p.inequalAnd("!=", 1, ">", 0); }), std::string(kRangeMessage) + kRangeMessage);

    CPlot c;  // the caller's bounds as given, without any check, two levels on
    c.inequalOffset();
    EXPECT_EQ(captureStderr([&] { rc = c.inequalAnd(">=", 3, "<", -1, "olive"); }), "");
    EXPECT_EQ(rc, 0);
    c.axisRange(PlotAxis::X, -5, 5);
    c.strokeColor("sienna");
    c.inequal(">", 0);
    EXPECT_EQ(items(c), (Items{"seg 3..-1 @0 olive L", "pt 3 @0 t7 s2 olive", "pt -1 @0 t6 s2 olive",
                               "seg 0..5 @2 sienna L", "pt 0 @2 t6 s2 sienna"}));
}

TEST(InequalityStack, ScriptAndDataFilesThroughTheEngine)
{
    rizari::test::FakeEngine fake;
    RangedPlot p;
    p.inequalOffset();
    p.inequal("<", 2);
    p.legend("x < 2");
    p.inequalAnd(">", -1, "<=", 3);
    p.legend("-1 < x <= 3");
    p.setEngineHome(fake.home().c_str());
    ASSERT_EQ(p.plotting(), 0);
    const std::string script = fake.normalizedScript();
    EXPECT_NE(script.find("set arrow from 2.000000, 0.000000, 0.000000 to -5.000000, 0.000000, 0.000000\n"
                          "unset label\n"),
              std::string::npos)
        << script;
    EXPECT_NE(script.find("set yrange [0.000000:15.000000]\n"), std::string::npos);
    EXPECT_EQ(script.find("set object"), std::string::npos);
    const auto plotAt = script.find("plot ");
    ASSERT_NE(plotAt, std::string::npos);
    // Each legend goes to its segment; the markers carry none.
    EXPECT_EQ(script.substr(plotAt),
              "plot \"$TMP/<1>\" title \"x < 2\" with lines lw 2, "
              "\"$TMP/<2>\" notitle with points lt 7 lw 2 pt 6 ps 2 lc rgbcolor\"red\", "
              "\"$TMP/<3>\" title \"-1 < x <= 3\" with lines lw 2, "
              "\"$TMP/<4>\" notitle with points lt 7 lw 2 pt 6 ps 2 lc rgbcolor\"blue\", "
              "\"$TMP/<5>\" notitle with points lt 7 lw 2 pt 7 ps 2 lc rgbcolor\"blue\"\n");
}
