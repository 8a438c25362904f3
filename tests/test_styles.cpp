// Per-data-set styles: what each member stores, as seen in the plot and splot commands, and the
// messages of refused calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plot/cplot.h"
#include "render/script_writer.h"
#include "support/test_support.h"

namespace rizari {
namespace {

using test::captureStderr;

const std::vector<double> kX{1, 2, 3};
const std::vector<double> kY{4, 5, 6};

std::string plotCommand(const CPlot& p) { return test::section(p, &CPlot::writePlotCommand); }

std::string splotCommand(const CPlot& p) { return test::section(p, &CPlot::writeSplotCommand); }

std::string fillStyle(const CPlot& p) { return test::section(p, &CPlot::writeFillStyle); }

PlotTypeExtra ints(std::initializer_list<int> values)
{
    PlotTypeExtra e;
    for (int v : values) e.ints[static_cast<std::size_t>(e.count++)] = v;
    return e;
}

PlotTypeExtra texts(const char* a, const char* b = nullptr)
{
    PlotTypeExtra e;
    e.texts = {a, b};
    e.count = b ? 2 : 1;
    return e;
}

// The "with ..." part of the only clause of a fresh one-curve plot after one plotType call.
std::string withClause(int type, const PlotTypeExtra& extra, std::string* err = nullptr)
{
    CPlot p;
    p.data2D(kX, kY);
    const std::string e = captureStderr([&] { p.plotType(type, 0, extra); });
    if (err) *err = e;
    const std::string cmd = plotCommand(p);
    return cmd.substr(cmd.find("with "));
}

TEST(PlotType, EveryCodeWithItsArgumentForms)
{
    struct Case {
        int type;
        PlotTypeExtra extra;
        const char* clause;
    };
    const Case cases[] = {
        {PlotType::Lines, ints({3, 4}), "with lines lt 3 lw 4"},
        {PlotType::Impulses, ints({1, 1}), "with impulses lt 1 lw 1"},
        {PlotType::Steps, ints({1, 2}), "with steps lt 1 lw 2"},
        {PlotType::FSteps, ints({1, 2}), "with fsteps lt 1 lw 2"},
        {PlotType::Points, ints({5, 3}), "with points lt 5 lw 2 pt 5 ps 3"},
        {PlotType::Points, {}, "with points lw 2 pt 7"},
        {PlotType::LinesPoints, ints({1, 3, 6, 2}), "with linespoints lt 1 lw 3 pt 6 ps 2"},
        {PlotType::Dots, ints({4}), "with dots lt 4 lw 2"},
        {PlotType::Dots, ints({4, 5}), "with dots lt 4 lw 5"},
        {PlotType::HiSteps, ints({1, 2}), "with histeps lt 1 lw 2"},
        {PlotType::BoxErrorBars, ints({1, 2}), "with boxerrorbars lt 1 lw 2"},
        {PlotType::Boxes, ints({1, 2}), "with boxes lt 1 lw 2"},
        {PlotType::BoxXYErrorBars, ints({1, 2}), "with boxxyerrorbars lt 1 lw 2"},
        {PlotType::Candlesticks, texts("whiskerbars"), "with candlesticks whiskerbars lw 2"},
        {PlotType::Candlesticks, {}, "with candlesticks lw 2"},
        {PlotType::FinanceBars, ints({1, 2}), "with financebars lt 1 lw 2"},
        {PlotType::FilledCurves, texts("x1"), "with filledcurves x1 fs transparent solid 0.6"},
        {PlotType::FilledCurves, texts("above", "red"),
         "with filledcurves above fs transparent solid 0.6 lc rgbcolor \"red\""},
        {PlotType::FilledCurves, {}, "with filledcurves fs transparent solid 0.6 lw 2"},
        {PlotType::Vectors, texts("nohead"), "with vectors nohead lw 2"},
        {PlotType::XErrorBars, ints({1, 2}), "with xerrorbars lt 1 lw 2"},
        {PlotType::XYErrorBars, ints({1, 2}), "with xyerrorbars lt 1 lw 2"},
        {PlotType::YErrorBars, ints({1, 2}), "with yerrorbars lt 1 lw 2"},
        {PlotType::XErrorLines, ints({1, 2}), "with xerrorlines lt 1 lw 2"},
        {PlotType::XYErrorLines, ints({1, 2}), "with xyerrorlines lt 1 lw 2"},
        {PlotType::YErrorLines, ints({1, 2}), "with yerrorlines lt 1 lw 2"},
        {99, {}, "with points lw 2"},
    };
    for (const Case& c : cases) {
        std::string err;
        EXPECT_EQ(withClause(c.type, c.extra, &err), c.clause) << "type " << c.type << " count " << c.extra.count;
        EXPECT_EQ(err, "") << "type " << c.type;
    }
}

TEST(PlotType, RefusedCallsAndTheWholePlotSwitch)
{
    CPlot p;
    EXPECT_EQ(captureStderr([&] { p.plotType(PlotType::Boxes, 0); }),
              "CPlot::plotType(): no plotting data has been added yet\n");

    p.data2D(kX, kY);
    EXPECT_EQ(captureStderr([&] { p.plotType(PlotType::Boxes, 1); }),
              " CPlot::plotType(): number specified larger than number of curves\n");
    EXPECT_EQ(p.state().dataSets[0].plotType, PlotType::Lines);

    // A count the table does not list keeps the type but none of the arguments.
    std::string err;
    EXPECT_EQ(withClause(PlotType::Lines, ints({3, 4, 5}), &err), "with lines lw 2");
    EXPECT_EQ(err, " CPlot::plotType(): invalid number of arguments.\n");
    EXPECT_EQ(withClause(PlotType::Boxes, ints({3}), &err), "with boxes lw 2");
    EXPECT_EQ(err, " CPlot::plotType(): invalid number of arguments.\n");

    // The default point type follows pointStyle.
    p.pointStyle("d");
    p.plotType(PlotType::Points, 0);
    EXPECT_EQ(p.state().dataSets[0].pointType, 12);

    // pm3d makes the whole plot 3D, with the borders and mirrors of dimension(3).
    p.plotType(PlotType::PM3D, 0, ints({1, 2}));
    EXPECT_EQ(p.state().plotDimension, 3);
    EXPECT_EQ(p.state().frame.borderSides, 31);
    EXPECT_EQ(p.state().tics.ticsMirrorAxes, PlotAxis::XY);
    EXPECT_EQ(p.state().dataSets[0].lineType, -999);
}

TEST(LineAndPointTypes, ClausesAndRefusals)
{
    CPlot p;
    EXPECT_EQ(captureStderr([&] { p.lineType(0, 1, 1); }), "CPlot::lineType(): no plotting data has been added yet\n");
    EXPECT_EQ(captureStderr([&] { p.pointType(0, 1, 1, "red"); }),
              "CPlot::pointType(): no plotting data has been added yet\n");
    p.data2D(kX, kY);
    p.data2D(kX, kY);

    // Number -1 changes nothing, silently.
    EXPECT_EQ(captureStderr([&] { p.lineType(-1, 9, 9, "blue"); p.pointType(-1, 9, 9); }), "");
    EXPECT_EQ(plotCommand(p), "plot \"\" notitle with lines lw 2, \"\" notitle with lines lw 2");

    EXPECT_EQ(captureStderr([&] { p.lineType(2, 1, 1); }),
              "CPlot::lineType(): number specified larger than number of curves\n");
    EXPECT_EQ(captureStderr([&] { p.pointType(2, 1, 1); }),
              "CPlot::pointType(): number specified larger than number of curves\n");

    // Without a colour the point type is also the line type; with one the line type stays and
    // the point colour replaces the line colour (no blank before its quote in plot).
    p.lineType(0, 3, 4, "green");
    p.pointType(0, 5, 2);
    p.lineType(1, 3, 4, "green");
    p.pointType(1, 5, 2, "red");
    EXPECT_EQ(plotCommand(p), "plot \"\" notitle with lines lt 5 lw 4 lc rgbcolor \"green\" pt 5 ps 2, "
                              "\"\" notitle with lines lt 3 lw 4 pt 5 ps 2 lc rgbcolor\"red\"");

    // A size of 0 drops " ps" but keeps the point colour; a negative size drops both.
    p.pointType(0, 5, 0, "red");
    p.pointType(1, -999, -1, "red");
    p.lineType(1, -999, 0);
    EXPECT_EQ(plotCommand(p), "plot \"\" notitle with lines lt 5 lw 4 pt 5 lc rgbcolor\"red\", "
                              "\"\" notitle with lines");
}

TEST(DefaultStyles, LineStylePointStyleAndWidth)
{
    CPlot p;
    EXPECT_EQ(captureStderr([&] {
                  p.lineStyle("-");
                  p.lineStyle(".");
                  p.lineWidth(3);
                  p.pointStyle("sf");
              }),
              "");
    EXPECT_EQ(p.state().style.defaultPointType, 5);
    p.pointStyle("df");
    EXPECT_EQ(p.state().style.defaultPointType, 13);

    EXPECT_EQ(captureStderr([&] {
                  p.lineStyle("--");
                  p.lineStyle(nullptr);
                  p.pointStyle("s f");
                  p.pointStyle(nullptr);
                  p.lineWidth(0);
              }),
              "Error: invalid line style '--'\n"
              "Error: invalid line style\n"
              "Error: invalid point style 's f'\n"
              "Error: invalid point style\n"
              "CPlot::lineWidth(): the width less than 0\n");
    EXPECT_EQ(p.state().style.defaultPointType, 13);

    // Data sets added later take the defaults.
    p.data2D(kX, kY);
    EXPECT_EQ(plotCommand(p), "plot \"\" notitle with lines lt 0 lw 3");
}

TEST(DataSetOptions, LegendSmoothAndAxesIn2DOnly)
{
    CPlot p;
    EXPECT_EQ(captureStderr([&] {
                  p.legend("a", 0);
                  p.smooth(0, "csplines");
                  p.axes(0, "x1y2");
              }),
              "CPlot::legend(): no plotting data for legend has been added yet\n"
              "CPlot::smooth(): no plotting data has been added yet\n"
              "CPlot::axes(): no plotting data has been added yet\n");
    EXPECT_EQ(p.state().text.legendMode, 0);

    p.data2D(kX, kY);
    p.data2D(kX, kY);
    EXPECT_EQ(captureStderr([&] {
                  p.legend("b", 2);
                  p.smooth(2, "x");
                  p.axes(2, "x");
              }),
              "CPlot::legend(): number specified larger than number of curves\n"
              "CPlot::smooth(): number specified larger than number of curves\n"
              "CPlot::axes(): number specified larger than number of curves\n");
    EXPECT_EQ(p.state().text.legendMode, 1);

    p.legend("first \"one\"", 0);
    p.smooth(1, "csplines");
    p.axes(1, "x1y2");
    EXPECT_EQ(p.state().dataSets[0].takesQueuedLegend, 0);
    EXPECT_EQ(p.state().dataSets[1].takesQueuedLegend, 1);
    EXPECT_EQ(plotCommand(p), "plot \"\" title \"first \"one\"\" with lines lw 2, "
                              "\"\" smooth csplines axes x1y2 notitle with lines lw 2");

    p.legend(nullptr, 0);
    p.smooth(1, nullptr);
    EXPECT_EQ(plotCommand(p), "plot \"\" notitle with lines lw 2, \"\" axes x1y2 notitle with lines lw 2");

    // splot never writes the options of a 2D clause.
    CPlot s;
    s.dimension(3);
    const std::vector<double> x{1, 2}, y{1, 2}, z{1, 2, 3, 4};
    s.data3D(x.data(), y.data(), z.data(), 2, 2, 1, 1, 4);
    s.smooth(0, "csplines");
    s.axes(0, "x1y2");
    s.plotType(PlotType::Impulses, 0);
    s.legend("surface", 0);
    EXPECT_EQ(splotCommand(s), "splot \"\" using 1:2:3 title \"surface\" with impulses lw 2");
    s.coordSystem(CoordSystem::Spherical);
    s.plotType(PlotType::Boxes, 0);
    EXPECT_EQ(splotCommand(s), "splot \"\" title \"surface\" with points lw 2");
}

TEST(BoxFill, PlotWideSectionAndDataSetClause)
{
    CPlot p;
    EXPECT_EQ(captureStderr([&] { p.boxBorder(0); }), "CPlot::boxBorder(): no plotting data has been added yet\n");
    EXPECT_EQ(captureStderr([&] { p.boxFill(0, BoxFill::Solid); }),
              "CPlot::boxFill(): no plotting data has been added yet\n");
    // Plot-wide border and pattern stay set when there is no data set to style too.
    EXPECT_EQ(captureStderr([&] { p.boxBorder(-1, 3); }), "CPlot::boxBorder(): no plotting data has been added yet\n");
    EXPECT_EQ(captureStderr([&] { p.boxFill(-1, BoxFill::Pattern, 4); }),
              "CPlot::boxFill(): no plotting data has been added yet\n");
    EXPECT_EQ(fillStyle(p), "set style fill pattern 4\nset style fill border 3\n");

    CPlot solid, transparent, empty;
    solid.boxFill(-1, BoxFill::Solid, 0.5);
    transparent.boxFill(-1, BoxFill::TransparentPattern);
    EXPECT_EQ(captureStderr([&] { empty.boxBorder(-1); }), "CPlot::boxBorder(): no plotting data has been added yet\n");
    EXPECT_EQ(fillStyle(solid), "set style fill solid 0.500000\n");
    EXPECT_EQ(fillStyle(transparent), "set style fill transparent pattern\n");
    EXPECT_EQ(fillStyle(empty), "set style fill noborder\n");

    // On data: a density with -1 is plot-wide only; a pattern with -1 also styles the first set;
    // the clause follows only box styles and filled curves.
    CPlot d;
    d.data2D(kX, kY);
    d.data2D(kX, kY);
    d.data2D(kX, kY);
    d.plotType(PlotType::Boxes, 0);
    d.plotType(PlotType::Candlesticks, 1);
    d.boxFill(-1, BoxFill::Solid, 0.5);
    EXPECT_EQ(d.state().dataSets[0].boxFillFlags, 0);
    d.boxFill(-1, BoxFill::Pattern, 2);
    d.boxBorder(-1);
    d.boxFill(1, BoxFill::Solid, 0.5);
    d.boxBorder(1, 7);
    d.boxFill(2, BoxFill::Empty);
    EXPECT_EQ(captureStderr([&] { d.boxFill(3, BoxFill::Empty); d.boxBorder(3); }),
              "CPlot::boxFill(): number specified larger than number of curves\n"
              "CPlot::boxBorder(): number specified larger than number of curves\n");
    EXPECT_EQ(plotCommand(d), "plot \"\" notitle with boxes fs pattern 2 noborder lw 2, "
                              "\"\" notitle with candlesticks fs solid 0.500000 border 7 lw 2, "
                              "\"\" notitle with lines lw 2");
    EXPECT_EQ(fillStyle(d), "set style fill pattern 2\nset style fill noborder\n");
}

TEST(FillCurve, PendingFillBecomesTheFilledCurve)
{
    // Stroke on (the default): the fill, then a copy of the curve drawn over its edge.
    CPlot p;
    p.fillCurve("x1", "blue");
    p.data2D(kX, kY);
    p.legend("curve", 1);
    ASSERT_EQ(p.state().dataSets.size(), 2u);
    EXPECT_FALSE(p.state().style.pendingFillOption);
    EXPECT_EQ(p.state().dataSets[1].takesQueuedLegend, 0);
    EXPECT_EQ(plotCommand(p), "plot \"\" notitle with filledcurves x1 fs transparent solid 0.6 lc rgbcolor \"blue\", "
                              "\"\" title \"curve\" with lines lw 2");

    // Stroke off: only the fill. Without a colour ever given the fill keeps the curve's own
    // colour, or has none when the curve has none.
    CPlot q;
    q.strokeColor("orange");
    q.noStrokeColor();
    q.fillCurve("above", nullptr);
    q.data2D(kX, kY);
    EXPECT_EQ(plotCommand(q), "plot \"\" notitle with filledcurves above fs transparent solid 0.6 lc rgbcolor \"orange\"");
    CPlot plain;
    plain.noStrokeColor();
    plain.fillCurve("below", nullptr);
    plain.data2D(kX, kY);
    EXPECT_EQ(plotCommand(plain), "plot \"\" notitle with filledcurves below fs transparent solid 0.6");

    CPlot r;
    EXPECT_EQ(captureStderr([&] { EXPECT_EQ(r.applyPendingFill(), -1); }),
              "CPlot::fillCurve(): no plotting data for filled curve has been added yet\n");
    EXPECT_EQ(r.state().style.filledCurveCount, 1);
}

}  // namespace
}  // namespace rizari
