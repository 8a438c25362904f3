// Drawn items rendered by the real engine (gnuplot) into PNG images: a render fails when the
// engine writes anything on standard error or the image is missing or not a PNG. The images are
// also copied to /tmp/draw-png/ for a look by eye.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "rizari/cplot.h"
#include "support/test_support.h"

using namespace rizari;
using namespace rizari::test;

namespace {

const char* const kEngine = "/usr/bin/gnuplot";

// The plot lives inside the private temporary directory's lifetime, so its data files are still
// there when it removes them.
template <class Build> void render(const std::string& name, Build build)
{
    if (!fs::exists(kEngine)) GTEST_SKIP() << "gnuplot is not installed";
    TempDir home, tmp, out;
    fs::create_directories(home.path() / "sbin");
    fs::create_symlink(kEngine, home.path() / "sbin" / "gnuplot");
    ScopedEnv tmpEnv("TMP", tmp.path().string());
    ScopedEnv tempEnv("TEMP", std::nullopt);
    CPlot p;
    build(p);
    const fs::path image = out.path() / (name + ".png");
    p.outputType(PlotOutputType::File, "png", image.string().c_str());
    p.setEngineHome(home.path().string().c_str());
    int rc = -1;
    EXPECT_EQ(captureStderr([&] { rc = p.plotting(); }), "") << name;
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(readFile(image).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << name;
    std::error_code ec;
    fs::create_directories("/tmp/draw-png", ec);
    fs::copy_file(image, fs::path("/tmp/draw-png") / (name + ".png"), fs::copy_options::overwrite_existing, ec);
}

}  // namespace

TEST(DrawRender, ShapesWithFillsOpacityAndStrokes)
{
    render("shapes", [](CPlot& p) {
        p.title("Shapes");
        p.strokeColor("black");
        p.fillColor("gold");
        p.rectangle(0, 0, 3, 2);
        p.fillColor("royalblue");
        p.fillOpacity(0.5);
        p.circle(3, 2, 1.2);
        p.fillPattern(4);
        p.strokeWidth(3);
        p.ellipse(7, 1, 3, 1.5, 30);
        p.noFill();
        p.strokeColor("dark-red");
        p.arcSector(1, 5, 1.5, 30, 300);
        p.noStrokeColor();
        p.fillColor("forest-green");
        p.fillOpacity(1);
        p.rectangle(5, 4, 2, 1.5);
        const double x[] = {8, 10, 9.5, 8.5}, y[] = {4, 4, 6, 5.5};
        p.strokeColor("purple");
        p.fillColor("plum");
        p.polygon(x, y, nullptr, 4, 4);
    });
}

TEST(DrawRender, ArcSegmentsBelowAndAbove180DegreesAndRegularPolygons)
{
    render("arc_segments", [](CPlot& p) {
        p.sizeRatio(-1);  // equal units: circles are sized in x units, polygons in x and y
        p.backgroundColor("lemonchiffon");
        p.strokeColor("black");
        p.fillColor("orange");
        p.arcSegment(0, 0, 2, 20, 140);  // the triangle is hidden in the background colour
        p.arcSegment(5, 0, 2, 0, 250);   // the triangle is filled too
        p.noFill();
        p.arcSegment(10, 0, 2, 200, 330, "light-grey");
        p.strokeColor("blue");
        p.arc(10, 0, 2, 200, 330);
    });
    render("regular_polygons", [](CPlot& p) {
        p.sizeRatio(-1);
        p.strokeColor("black");
        const char* fills[] = {"red", "orange", "gold", "green", "blue", "purple"};
        for (int n = 3; n <= 8; ++n) {
            p.fillColor(fills[n - 3]);
            p.regularPolygon(4.0 * ((n - 3) % 3), -4.0 * ((n - 3) / 3), n, 1.5, n == 4 ? 45 : 0);
        }
    });
}

TEST(DrawRender, ArrowsAndAlignedColouredLabels)
{
    render("arrows_labels", [](CPlot& p) {
        p.axisRange(PlotAxis::X, 0, 10);
        p.axisRange(PlotAxis::Y, 0, 10);
        p.arrow(1, 1, 0, 4, 4, 0);
        p.arrow(9, 1, 0, 6, 4, 0, "head filled lc rgbcolor \"red\" lw 2");
        p.text("left of 5", TextAlign::Left, 5, 8, 0);
        p.textColor("blue");
        p.text("right of 5", TextAlign::Right, 5, 7, 0);
        p.textColor("dark-green");
        p.text("centred on 5", TextAlign::Center, 5, 5, 0);
        for (double y : {8, 7, 5}) p.circleClosed(5, y);
    });
}

TEST(DrawRender, StackOfInequalities)
{
    render("inequalities", [](CPlot& p) {
        p.axisRange(PlotAxis::X, -6, 6);
        p.inequalOffset();
        p.inequal("<", 2);
        p.legend("x < 2");
        p.inequal(">=", -1);
        p.legend("x >= -1");
        p.inequalAnd(">", -3, "<=", 4);
        p.legend("-3 < x <= 4");
        p.inequalAnd("!=", 1, "<", 5);
        p.legend("x != 1 and x < 5");
        p.inequal("==", 3, "magenta");
        p.legend("x == 3");
        p.inequalAnd(">=", -5, "<", 0, "brown");
        p.legend("-5 <= x < 0");
    });
}
