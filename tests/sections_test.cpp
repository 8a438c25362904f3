// The sections of a plot block, one table per area: each row sets a plot up through the public
// members and names the lines one section then writes. Boundary rows are the point: each pins a
// comparison or a default that a whole script would not tell apart. Messages are ignored here.
#include "data/file_reading.h"
#include "data/plot_command.h"
#include "data/styles.h"
#include "draw/arrows_text.h"
#include "draw/shapes.h"
#include "engine/output.h"
#include "settings/axes.h"
#include "settings/color_map.h"
#include "settings/frame.h"
#include "settings/style_sheet.h"
#include "settings/texts.h"
#include "settings/tics.h"
#include "settings/view.h"

#include <cmath>
#include <functional>
#include <limits>
#include <sstream>
#include <tuple>

#include "engine/script_text.h"
#include "platform/messages.h"
#include "tests/support.h"

namespace rizari::test {
namespace {

using Setup = std::function<void(CPlot&)>;
using Section = void (*)(ScriptWriter&, const PlotState&);

struct Row {
    Setup setup;
    Section section;
    std::string expected;
    const char* only = nullptr;  // when set, only the lines that contain this text are compared
};

std::string written(const Setup& setup, Section section, const char* only = nullptr)
{
    CPlot p;
    captureStderr([&] { setup(p); });
    std::string out;
    ScriptWriter w(out);
    section(w, PlotAccess::state(p));
    if (!only) return out;
    std::string kept;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        if (line.find(only) != std::string::npos) kept += line + "\n";
    return kept;
}

void check(const std::vector<Row>& rows)
{
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(written(rows[i].setup, rows[i].section, rows[i].only), rows[i].expected) << "row " << i;
}

void writeGridBackground(ScriptWriter& w, const PlotState& s) { writeBackground(w, s, true); }
void writeGridLines(ScriptWriter& w, const PlotState& s) { writeStyleSheet(w, s), writeGrid(w, s); }
// The 3D lines after the titles and labels, in the order of a plot block.
void write3DSettings(ScriptWriter& w, const PlotState& s) { write3DView(w, s), writeTicsLevel(w, s), write3DSurface(w, s); }

const double kX[] = {1, 2, 3};

TEST(Sections, AxesScalesAndTics)
{
    check({
        // Only -999 drops the style clause: -998 and a null colour are written as they are.
        {[](CPlot& p) { p.axis(PlotAxis::XY, 0), p.axis(PlotAxis::X, -998, 0, nullptr); }, writeZeroAxes,
         "set xzeroaxis lt -998 lw 0 lc rgbcolor \"\"\nunset yzeroaxis\nunset zzeroaxis\nunset x2zeroaxis\nunset y2zeroaxis\n"},
        // The start and end flags are shared by all axes.
        {[](CPlot& p) { p.ticsRange(PlotAxis::X, 0.5), p.ticsRange(PlotAxis::Y, 1, 0, 10); }, writeAxisTics,
         "set xtics border nomirror 0.000000, 0.500000, 0.000000\nunset x2tics\n"
         "set ytics border nomirror 0.000000, 1.000000, 10.000000\nunset y2tics\nunset ztics\nset ztics nomirror\n"},
        // Explicit tics, newest first; labels on x or y alone replace a range, x2 keeps its own.
        {[](CPlot& p) { p.ticsRange(PlotAxis::X, 1), p.ticsLabel(PlotAxis::X, "a", 1), p.ticsLabel(PlotAxis::X, "b", 2),
                        p.ticsPosition(PlotAxis::X, 2.5), p.tics(PlotAxis::X2, 1), p.ticsRange(PlotAxis::X2, 4),
                        p.ticsLabel(PlotAxis::X2, "c", 3), p.ticsLabel(PlotAxis::YZ, nullptr, -1); },
         writeAxisTics,
         "set xtics border nomirror (2.500000, \"b\" 2.000000, \"a\" 1.000000)\nset x2tics border nomirror 4.000000\n"
         "set ytics border nomirror (-1.000000)\nunset y2tics\nset ztics nomirror (-1.000000)\n"},
        {[](CPlot& p) { p.axisRange(PlotAxis::X, 0, 1), p.ticsFraction(PlotAxis::X, 4), p.ticsRange(PlotAxis::X, 1); }, writeAxisTics,
         "set xtics border nomirror (\"0\" 0.000000, \"1/4\" 0.250000, \"2/4\" 0.500000, \"3/4\" 0.750000, "
         "\"1\" 1.000000, \"5/4\" 1.250000, \"6/4\" 1.500000, \"7/4\" 1.750000, \"2\" 2.000000)\n", "set xtics"},
        // A range that starts between two multiples begins at the multiple below it.
        {[](CPlot& p) { p.axisRange(PlotAxis::X, 0.3, 0.4), p.ticsFraction(PlotAxis::X, 2); }, writeAxisTics,
         "set xtics border nomirror (\"0\" 0.000000, \"1/2\" 0.500000, \"1\" 1.000000)\n", "set xtics"},
        // Negative numerators: the integer part truncates toward zero.
        {[](CPlot& p) { p.axisRange(PlotAxis::X, -1, 0), p.ticsFraction(PlotAxis::X, 2); }, writeAxisTics,
         "set xtics border nomirror (\"-1\" -1.000000, \"-1/2\" -0.500000, \"0\" 0.000000, \"1/2\" 0.500000, \"1\" 1.000000)\n",
         "set xtics"},
        // Numerators beyond the int range are clamped, and end the list after one entry.
        {[](CPlot& p) { p.axisRange(PlotAxis::X, 1e300, 1e300), p.ticsFraction(PlotAxis::X, 2); }, writeAxisTics,
         "set xtics border nomirror (\"2147483647/2\" 1073741823.500000)\n", "set xtics"},
        {[](CPlot& p) { p.axisRange(PlotAxis::X, -1e300, -1e300), p.ticsFraction(PlotAxis::X, 2); }, writeAxisTics,
         "set xtics border nomirror (\"-1073741824\" -1073741824.000000)\n", "set xtics"},
        // Times in an input format: two-digit years pivot at 69; days of the year; month names,
        // fields without a character between them, a fraction of a second, am and pm; seconds.
        {[](CPlot& p) { p.timeAxis(PlotAxis::X, "%d/%m/%y %H:%M", nullptr), p.axisRangeTime(PlotAxis::X, "31/12/68 23:59", "1/1/69  0:00"); },
         writeRanges, "set xrange [3124223940.000000:-31536000.000000]\n"},
        {[](CPlot& p) { p.timeAxis(PlotAxis::X, "%j %Y", nullptr), p.axisRangeTime(PlotAxis::X, "366 2024", "365 2023"); }, writeRanges,
         "set xrange [1735603200.000000:1703980800.000000]\n"},
        {[](CPlot& p) {
             p.timeAxis(PlotAxis::X, "%B %d, %Y %H%M%S %p", nullptr);
             p.axisRangeTime(PlotAxis::X, "march 5, 2024 123045.5 PM", "MARCH 5, 2024 123000 am");
         },
         writeRanges, "set xrange [1709641845.500000:1709598600.000000]\n"},
        {[](CPlot& p) { p.timeAxis(PlotAxis::X, "%s", nullptr), p.axisRangeTime(PlotAxis::X, "-86400.5", "0"); }, writeRanges,
         "set xrange [-86400.500000:0.000000]\n"},
        // No such day, text left over, a field too short, an hour past 12 with pm: no range.
        {[](CPlot& p) {
             p.timeAxis(PlotAxis::X, "%b %d %Y %H %p", nullptr);
             for (const char* from : {"Feb 29 2023 1 am", "Feb 28 2023 1 amx", "Fe 28 2023 1 am", "Feb 28 2023 13 pm"})
                 p.axisRangeTime(PlotAxis::X, from, "Mar 1 2024 1 am");
         },
         writeRanges, ""},
    });
}

TEST(Sections, ViewContoursAndCoordinates)
{
    const double grid[] = {0, 1, 1, 2};
    check({
        {[](CPlot& p) { p.dimension(3), p.changeViewAngle(180, 360), p.changeViewAngle(0, 0), p.changeViewAngle(181, 0),
                        p.size3D(2, 0.5), p.showMesh(0), p.colorBox(0), p.removeHiddenLine(0), p.label(PlotAxis::Z, nullptr); },
         write3DSettings,
         "set parametric\nset view 0.000000, 0.000000, 2.000000, 0.500000\nset ticslevel 0.500000\n"
         "unset surface\nunset contour\nunset colorbox\nunset hidden3d\nset mapping cartesian\n"},
        {[](CPlot& p) { p.changeViewAngle(180, 360), p.changeViewAngle(10, 361), p.ticsLevel(0), p.ticsLevel(-1); }, write3DSettings,
         "set parametric\nset view 180.000000, 360.000000, 1.000000, 1.000000\nset ticslevel 0.000000\n"
         "set surface\nunset contour\nset colorbox\nset hidden3d\nset mapping cartesian\n"},
        // The z label only where the plot has a z axis.
        {[](CPlot& p) { p.label(PlotAxis::XY, nullptr), p.dimension(3); }, writeTitlesAndLabels, "set zlabel \"z\"\n"},
        {[](CPlot& p) { p.label(PlotAxis::XY, nullptr); }, writeTitlesAndLabels, ""},
        {[](CPlot& p) { p.contourMode(4); }, write3DSurface,
         "set surface\nset contour surface\nunset clabel\nset colorbox\nset hidden3d\nset mapping cartesian\n"},
        {[](CPlot& p) {
             const double levels[] = {2};
             // A mode with bit 1 or 2 is taken; one the engine has no word for writes no contour line.
             p.contourMode(5), p.contourLevels(levels, 1), p.contourLevels(levels, 0), p.contourLabel(1), p.contourLabel(0);
         },
         write3DSurface,
         "set surface\nunset contour\nunset clabel\nset colorbox\nset hidden3d\nset mapping cartesian\n"},
        {[](CPlot& p) { p.contourMode(ContourMode::Both), p.coordSystem(CoordSystem::Spherical, 7); }, write3DSurface,
         "set surface\nset contour both\nunset clabel\nset colorbox\nset hidden3d\nset mapping spherical\nset angles degrees\n"},
        {[](CPlot& p) { p.coordSystem(CoordSystem::Cylindrical, AngleUnit::Degrees), p.coordSystem(CoordSystem::Cartesian, 7),
                        p.coordSystem(28); },
         write3DSurface,
         "set surface\nunset contour\nset colorbox\nset hidden3d\nset mapping cartesian\n"},
        // A cartesian 3D plot names its three columns (the grid golden shows another mapping).
        {[](CPlot& p) { p.data3D(kX, kX, kX, 1, 3, 1, 1, 3), p.plotType(PlotType::Impulses, 0), p.legend("s", 0); }, writeSplotCommand,
         "splot \"\" using 1:2:3 title \"s\" with impulses lw 2"},
        {[](CPlot& p) { p.polarPlot(AngleUnit::Degrees); }, writePolarAndAngles, "set polar\nunset raxis\nunset rtics\nset angles degrees\n"},
        {[](CPlot& p) { p.dimension(3), p.polarPlot(36); }, writeBorder, "set border 16\n"},
    });
    // A grid surface is drawn as pm3d: the hidden line sense reverses and the colour map follows
    // the contour placement.
    auto surface = [&](void (*more)(CPlot&), Section section) {
        CPlot p;
        const double x[] = {0, 1};
        p.data3DSurface(x, x, grid, 2, 2);
        captureStderr([&] { more(p); });
        std::string out;
        ScriptWriter w(out);
        section(w, PlotAccess::state(p));
        return out;
    };
    EXPECT_NE(surface([](CPlot&) {}, write3DSettings).find("set colorbox\nunset hidden3d\n"), std::string::npos);
    EXPECT_EQ(surface([](CPlot& p) { p.contourMode(4); }, writeColorMap), "set palette rgbformulae 33,13,10 \nset pm3d at bs\n\n");
    EXPECT_EQ(surface([](CPlot& p) { p.contourMode(ContourMode::Both); }, writeColorMap), "set palette rgbformulae 33,13,10 \nset pm3d\n\n");
    EXPECT_EQ(surface([](CPlot&) {}, writeColorMap), "set palette rgbformulae 33,13,10 \nset pm3d\n\n");
    EXPECT_EQ(surface([](CPlot& p) { p.plotType(PlotType::Lines, 0); }, writeColorMap), "set palette rgbformulae 33,13,10 \n\n");
}

// A heat map's cells reach half a spacing beyond the outer values; the caller's ranges stay. The
// clean sheet's grid lines go behind the data in 2D, and the classic sheet gives every setting of
// the look back.
TEST(Sections, HeatMapsPalettesAndStyleSheets)
{
    static const double y02[] = {0, 2}, z[] = {1, 2, 3, 4, 5, 6};
    const std::string map = "set view map\nunset grid\nunset xzeroaxis\nunset yzeroaxis\n";
    check({
        {[](CPlot& p) { p.data3D(kX, y02, z, 3, 2, 1, 1, 6), p.heatMap(1), p.heatMap(2); }, writeHeatMap,
         map + "set xrange [0.500000:3.500000]\nset yrange [-1.000000:3.000000]\nset autoscale cbfix\n"},
        {[](CPlot& p) { p.data3D(kX, y02, z, 3, 2, 1, 1, 6), p.heatMap(1), p.axisRange(PlotAxis::X, 0, 1), p.axisRange(PlotAxis::Z, -1, 1), p.autoScale(PlotAxis::Y, 0); },
         writeHeatMap, map + "set cbrange [-1.000000:1.000000]\n"},
        {[](CPlot& p) {
             const std::int32_t columns[] = {0, 0, 2, 2, 0, 1, 0, 1, 5, 6, 7, 8};  // x, y and z of a 2 x 2 grid
             p.dimension(3), p.AddSurface(std::nullopt, std::nullopt, 4, 2, ElementType::Int, columns), p.heatMap(1);
         },
         writeHeatMap, map + "set xrange [-1.000000:3.000000]\nset yrange [-0.500000:1.500000]\nset autoscale cbfix\n"},
        {[](CPlot& p) { p.data3DCurve(kX, kX, kX, 3), p.heatMap(1); }, writeHeatMap,
         map + "set autoscale xfix\nset autoscale yfix\nset autoscale cbfix\n"},
        // Cells as an image with contour lines over them, a space curve as it is; no pm3d.
        {[](CPlot& p) { p.data3D(kX, y02, z, 3, 2, 1, 1, 6), p.data3DCurve(kX, kX, kX, 3), p.heatMap(1), p.contourMode(ContourMode::Base); },
         writeSplotCommand,
         "splot \"\" using 1:2:3 notitle with image, \"\" using 1:2:3 notitle with lines nosurface lw 2, "
         "\"\" using 1:2:3 notitle with lines lw 2"},
        {[](CPlot& p) { p.data3D(kX, y02, z, 3, 2, 1, 1, 6), p.heatMap(1), p.palette("magma"), p.palette("jet"); }, writeColorMap,
         "set palette defined (0 \"#000004\", 1 \"#1c1044\", 2 \"#4f127b\", 3 \"#812581\", 4 \"#b5367a\", 5 \"#e55064\", "
         "6 \"#fb8761\", 7 \"#fec287\", 8 \"#fcfdbf\")\n\n"},
        {[](CPlot& p) { p.colorBoxLabel("a \"b\""); }, writeColorBoxLabel, "set cblabel \"a \\\"b\\\"\"\n"},
        {[](CPlot& p) { p.styleSheet("clean"), p.grid(1, "xtics"); }, writeGridLines,
         "set grid back lt 1 lw 1 lc rgb \"#dddddd\" dt solid\nset grid xtics\n"},
        {[](CPlot& p) { p.dimension(3), p.styleSheet("clean"); }, writeGridLines, "set grid lt 1 lw 1 lc rgb \"#dddddd\" dt solid\nset grid\n"},
        {[](CPlot& p) { p.styleSheet("clean"), p.grid(0); }, writeGridLines, "unset grid\n"},
        {[](CPlot& p) { p.styleSheet("clean"), p.label(PlotAxis::Y, "m"); }, writeTitlesAndLabels, "set ylabel \"m\"\n"},
        {[](CPlot& p) { p.styleSheet("clean"); }, writeBorder, "set border 15\n"},
    });
    for (Section section : {writeBorder, writeGridLines, writeZeroAxes, writeTitlesAndLabels, write3DSettings, writeColorMap, writeTicsDirection})
        EXPECT_EQ(written([](CPlot& p) { p.data3D(kX, y02, z, 3, 2, 1, 1, 6), p.styleSheet("clean"), p.styleSheet("classic"); }, section),
                  written([](CPlot& p) { p.data3D(kX, y02, z, 3, 2, 1, 1, 6); }, section));
    // RIZARI_STYLE gives its look to every new plot and cell; a name of no sheet is told once.
    const auto look = [](CPlot& p) {
        std::string out;
        ScriptWriter w(out);
        for (Section section : {writeBorder, writeGridLines, writeZeroAxes, writeTitlesAndLabels}) section(w, PlotAccess::state(p));
        return out;
    };
    CPlot classic, clean;
    clean.styleSheet("clean");
    ScopedEnv style("RIZARI_STYLE", "clean");
    CPlot top;
    top.subplot(1, 2);
    EXPECT_EQ(look(top), look(clean));
    EXPECT_EQ(look(*top.getSubplot(0, 1)), look(clean));
    ScopedEnv unknown("RIZARI_STYLE", "Clean");
    EXPECT_EQ(captureStderr([&] {
                  CPlot first, second;
                  top.deletePlots();
                  EXPECT_EQ(look(second), look(classic));
                  EXPECT_EQ(look(top), look(classic));
              }),
              "rizari: RIZARI_STYLE names no style sheet; known: classic, clean\n");
}

TEST(Sections, FrameAndLayout)
{
    check({
        {[](CPlot& p) { p.border(15, 1), p.border(15, 2), p.border(4, 0); }, writeBorder, "set border 11\n"},
        {[](CPlot& p) { p.dimension(3), p.dimension(2); }, writeBorder, "set border 31\n"},
        {[](CPlot& p) { p.grid(1, "back lw 2"), p.polarPlot(AngleUnit::Radians); }, writeGrid, "set grid back lw 2\nset grid polar\n"},
        {[](CPlot& p) { p.grid(1, "back"), p.grid(2, "xtics"), p.polarPlot(AngleUnit::Radians); }, writeGrid, "unset grid\n"},
        {[](CPlot& p) { p.polarPlot(AngleUnit::Degrees), p.sizeRatio(0); }, writeMarginsAndLayout,
         "set bmargin -1.000000\nset lmargin -1.000000\nset rmargin -1.000000\nset tmargin -1.000000\n"
         "set offsets 0.000000, 0.000000, 0.000000, 0.000000\nset origin 0.000000, 0.000000\nset size noratio 1.000000, 1.000000\n"},
        {[](CPlot& p) { p.backgroundColor("#ffeedd"), p.origin(0.5, 0.25), p.size(0.5, 0.25); }, writeGridBackground,
         "set object rectangle from screen 0.5,0.25 to screen 1,0.5 fillcolor rgb \"#ffeedd\" behind\n"},
        {[](CPlot& p) { p.barSize(1.5), p.barSize(-0.1); }, writeBars, ""},
        {[](CPlot& p) { p.barSize(0); }, writeBars, "set bars 0.000000\n"},
        {[](CPlot& p) { p.barSize(1); }, writeBars, "set bars 1.000000\n"},
    });
}

TEST(Sections, SubplotPlacement)
{
    CPlot top;
    ASSERT_EQ(top.subplot(2, 3), 0);
    for (int k = 0; k < 6; ++k) {  // row by row from the top
        std::string out, origin = "set origin " + std::to_string(k % 3 / 3.0) + ", " + (k < 3 ? "0.500000" : "0.000000");
        ScriptWriter w(out);
        writeMarginsAndLayout(w, PlotAccess::state(*top.getSubplot(k / 3, k % 3)));
        EXPECT_NE(out.find(origin + "\nset size noratio 0.333333, 0.500000\n"), std::string::npos) << k;
    }
    // A second grid divides the first one's cell and resets the cells it keeps.
    CPlot* second = top.getSubplot(0, 1);
    second->title("lost");
    ASSERT_EQ(top.subplot(1, 2), 0);
    EXPECT_EQ(top.getSubplot(0, 1), second);
    EXPECT_EQ(second->getTitle(), nullptr);
    // Grids without cells or with more than 10,000 are refused and change nothing.
    for (const auto& grid : {std::pair{2, 0}, {0, 2}, {-65536, 65536}, {101, 100}, {65536, 65536}})
        EXPECT_EQ(captureStderr([&] { EXPECT_EQ(top.subplot(grid.first, grid.second), -1); }),
                  grid.first > 0 && grid.second > 0 ? "CPlot::subplot(): more than 10000 cells\n" : "CPlot::subplot(): invalid parameter\n");
    EXPECT_EQ(top.getSubplot(0, 1), second);
    EXPECT_EQ(top.subplot(100, 100), 0);
    EXPECT_NE(top.getSubplot(99, 99), nullptr);
}

TEST(Sections, TerminalLines)
{
    const std::string bind = "bind \"Close\" \"if (GPVAL_TERM eq \\'wxt\\') exit gnuplot; else exit\"\n";
    // The window's font shrinks with the number of cells.
    const struct {
        int rows, cols;
        const char* font;
    } grids[] = {{1, 1, "8"}, {1, 2, "8"}, {1, 3, "7"}, {2, 2, "7"}, {1, 5, "6"}, {2, 3, "6"}, {1, 7, "5"}};
    for (const auto& g : grids)
        EXPECT_EQ(written([&](CPlot& p) { p.subplot(g.rows, g.cols); }, writeTerminalLines),
                  bind + "set terminal wxt font \"," + g.font + "\" title \"Zu\"\n")
            << g.rows << "x" << g.cols;
    check({
        {[](CPlot&) {}, writeTerminalLines, bind + "set terminal wxt title \"Zu\"\n"},
        {[](CPlot& p) { p.subplot(2, 2), p.font("Arial", 10); }, writeTerminalLines, bind},
        {[](CPlot& p) { p.outputType(PlotOutputType::File, "png color", "C:\\out\\a.png"), p.sizeOutput(640, 480); }, writeTerminalLines,
         "set terminal png size 640, 480 enhanced\nset output \"C:/out/a.png\"\n"},
        {[](CPlot& p) { p.outputType(PlotOutputType::File, "gif", "a.gif"), p.sizeOutput(1, 0); }, writeTerminalLines,
         "set terminal gif enhanced\nset output \"a.gif\"\n"},
        {[](CPlot& p) { p.outputType(PlotOutputType::File, "postscript eps", "a"); }, writeTerminalLines,
         "set terminal postscript eps enhanced\nset output \"a\"\n"},
        {[](CPlot& p) { p.outputType(PlotOutputType::File, "postscrip", "a"); }, writeTerminalLines, "set terminal postscrip\nset output \"a\"\n"},
        {[](CPlot& p) { p.outputType(PlotOutputType::File, "svg", "a"), p.sizeOutput(1, 1); }, writeTerminalLines,
         "set terminal svg size 1, 1\nset output \"a\"\n"},
        {[](CPlot& p) { p.outputType(PlotOutputType::File, "jpe", "a"); }, writeTerminalLines, "set terminal jpe\nset output \"a\"\n"},
        // Terminals that measure lengths get the pixels at 72 per inch, whatever beginning of their
        // name gnuplot takes ("e" is epscairo); "enhanced" goes to texts that begin with a name.
        {[](CPlot& p) { p.outputType(PlotOutputType::File, "postscript eps color", "a"), p.sizeOutput(720, 540); }, writeTerminalLines,
         "set terminal postscript eps color size 10in, 7.5in enhanced\nset output \"a\"\n"},
        {[](CPlot& p) { p.outputType(PlotOutputType::File, "post eps", "a"), p.sizeOutput(720, 540); }, writeTerminalLines,
         "set terminal post eps size 10in, 7.5in\nset output \"a\"\n"},
        {[](CPlot& p) { p.outputType(PlotOutputType::File, "e", "a"), p.sizeOutput(72, 36); }, writeTerminalLines,
         "set terminal e size 1in, 0.5in\nset output \"a\"\n"},
        {[](CPlot& p) { p.outputType(PlotOutputType::File, "pdfcairo font \"Arial,9\"", "a"), p.sizeOutput(800, 600); }, writeTerminalLines,
         "set terminal pdfcairo font \"Arial,9\" size 11.1111in, 8.33333in\nset output \"a\"\n"},
        {[](CPlot& p) { p.outputType(PlotOutputType::File, "pdfcairo2", "a"), p.sizeOutput(8, 6); }, writeTerminalLines,
         "set terminal pdfcairo2 size 8, 6\nset output \"a\"\n"},
        // Combinations without their texts change the type only.
        {[](CPlot& p) { p.outputType(PlotOutputType::File, "pdfcairo", "a.pdf"), p.outputType(PlotOutputType::Stream, "gif", "b"),
                        p.outputType(PlotOutputType::File, "jpeg"); },
         writeTerminalLines, "set terminal pdfcairo\nset output \"a.pdf\"\n"},
        {[](CPlot& p) { p.outputType(42); }, writeTerminalLines, ""},
    });
}

TEST(Sections, ShapesAndObjectRanges)
{
    check({
        {[](CPlot& p) { p.strokeColor("navy"), p.circle(HUGE_VAL, -HUGE_VAL, 1); }, writeShapeObjects,
         "set object circle center 9.8e+307, -9.8e+307 size 1 behind fillstyle empty border lc rgbcolor \"navy\" linewidth 2 \n"},
        // An opacity outside 0 .. 1 is clamped into it; NaN becomes 0.
        {[](CPlot& p) {
             p.noStrokeColor(), p.fillColor("c"), p.fillOpacity(1.5), p.circle(0, 0, 1), p.fillOpacity(-0.2), p.circle(0, 0, 1);
             p.fillOpacity(0.4), p.fillOpacity(NAN), p.circle(0, 0, 1);
         },
         writeShapeObjects,
         "set object circle center 0, 0 size 1 behind fillcolor rgbcolor \"c\" fillstyle transparent solid 1 \n"
         "set object circle center 0, 0 size 1 behind fillcolor rgbcolor \"c\" fillstyle transparent solid 0 \n"
         "set object circle center 0, 0 size 1 behind fillcolor rgbcolor \"c\" fillstyle transparent solid 0 \n"},
        // The cut colour of arc segments: given below 180 degrees, a solid fill's colour from 180
        // on, else the background's or white; without stroke, fill or cut colour only the sector.
        {[](CPlot& p) { p.noStrokeColor(), p.arcSegment(0, 0, 1, 0, 90), p.arcSegment(0, 0, 1, 0, 90, "red"),
                        p.arcSegment(0, 0, 1, 0, 270, "red"), p.fillColor("gold"), p.arcSegment(0, 0, 1, 0, 180),
                        p.backgroundColor("ivory"), p.fillPattern(3), p.arcSegment(0, 0, 1, 0, 200); },
         writeShapeObjects,
         "set object circle center 0, 0 size 1 arc [0:90] behind fillstyle empty \n"
         "set object circle center 0, 0 size 1 arc [0:90] behind fillstyle empty \n"
         "set object polygon from 0, 0 to 1, 0 to 6.12323e-17, 1 to 0, 0 behind fillcolor rgbcolor \"red\" fillstyle transparent solid 1 \n"
         "set object circle center 0, 0 size 1 arc [0:270] behind fillstyle empty \n"
         "set object polygon from 0, 0 to 1, 0 to -1.83697e-16, -1 to 0, 0 behind fillcolor rgbcolor \"white\" fillstyle transparent solid 1 \n"
         "set object circle center 0, 0 size 1 arc [0:180] behind fillcolor rgbcolor \"gold\" fillstyle transparent solid 1 \n"
         "set object polygon from 0, 0 to 1, 0 to -1, 1.22465e-16 to 0, 0 behind fillcolor rgbcolor \"gold\" fillstyle transparent solid 1 \n"
         "set object circle center 0, 0 size 1 arc [0:200] behind fs transparent pattern 3 \n"
         "set object polygon from 0, 0 to 1, 0 to -0.939693, -0.34202 to 0, 0 behind fillcolor rgbcolor \"ivory\" fillstyle transparent solid 1 \n"},
        // AddObject from C++: a parameter beyond the count is 0, a polygon takes count / 2 vertices
        // (a lone value is one), a kind of no shape writes no geometry.
        {[](CPlot& p) {
             const double v[] = {1, 2, HUGE_VAL, 4, 5};
             p.noStrokeColor(), p.AddObject(ObjectKind::Rectangle, 2, v), p.AddObject(ObjectKind::Polygon, 5, v);
             p.AddObject(ObjectKind::Polygon, 1, v), p.AddObject(99, 5, v);
         },
         writeShapeObjects,
         "set object rectangle center 1, 2 size 0, 0 behind fillstyle empty border linewidth 0 \n"
         "set object polygon from 1, 9.8e+307 to 2, 4 to 1, 9.8e+307 behind fillstyle empty \n"
         "set object polygon from 1, 1 to 1, 1 behind fillstyle empty \nset object fillstyle empty \n"},
        // Extents widened by a fifth of their span to whole numbers; a single point gets one on each side.
        {[](CPlot& p) { p.ellipse(0, 0, 4, 2, 30), p.arcSector(10, 0, 1, 0, 45), p.circle(0, -6, 0.5); }, writeObjectRanges,
         "set xrange [-7:14]\nset yrange [-9:7]\n"},
        {[](CPlot& p) { p.text("a", TextAlign::Left, 3, 2.5, 0); }, writeObjectRanges, "set xrange [2:4]\nset yrange [2:3]\n"},
        // Infinite shapes give the largest finite ranges, never "inf".
        {[](CPlot& p) { p.circle(HUGE_VAL, -HUGE_VAL, HUGE_VAL); }, writeObjectRanges,
         "set xrange [-3.59539e+307:1.79769e+308]\nset yrange [-1.79769e+308:3.59539e+307]\n"},
        {[](CPlot& p) { p.rectangle(1, 2, -4, 2), p.axisRange(PlotAxis::Y, 0, 1); }, writeObjectRanges, "set xrange [1:-3]\n"},
        {[](CPlot& p) { p.data2DCurve(kX, kX, 3), p.text("a", TextAlign::Left, 3, 2.5, 0); }, writeObjectRanges, ""},
    });
}

// The clause of the only data set of a fresh plot after the calls.
std::string clause(const Setup& style)
{
    const std::string out = written([&](CPlot& p) { p.data2DCurve(kX, kX, 3), style(p); }, writePlotCommand);
    return out.substr(out.find("with "));
}

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

// Each style takes the argument forms of its row; any other count keeps the style alone.
TEST(Sections, PlotTypesWithTheirArgumentForms)
{
    const struct {
        int type;
        PlotTypeExtra extra;
        const char* clause;
    } cases[] = {
        {PlotType::Lines, ints({3, 4, 5}), "with lines lw 2"},
        {PlotType::Points, ints({5, 3}), "with points lt 5 lw 2 pt 5 ps 3"},
        {PlotType::LinesPoints, ints({1, 3, 6, 2}), "with linespoints lt 1 lw 3 pt 6 ps 2"},
        {PlotType::LinesPoints, ints({1, 3}), "with linespoints lw 2"},
        {PlotType::Candlesticks, texts("a", "b"), "with candlesticks lw 2"},
        {PlotType::FilledCurves, texts("above", "red"), "with filledcurves above fs transparent solid 0.6 lc rgbcolor \"red\""},
        {99, ints({1, 2}), "with points lw 2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(clause([&](CPlot& p) { p.plotType(c.type, 0, c.extra); }), c.clause) << c.type << " count " << c.extra.count;
}

TEST(Sections, DataSetClauses)
{
    // Without a colour the point type is also the line type; with one the point colour replaces
    // the line colour (no blank before its quote in plot).
    EXPECT_EQ(clause([](CPlot& p) { p.lineType(0, 3, 4, "green"), p.pointType(0, 5, 2); }),
              "with lines lt 5 lw 4 lc rgbcolor \"green\" pt 5 ps 2");
    EXPECT_EQ(clause([](CPlot& p) { p.lineType(0, 3, 4, "green"), p.pointType(0, 5, 2, "red"); }),
              "with lines lt 3 lw 4 pt 5 ps 2 lc rgbcolor\"red\"");
    // A size of 0 drops " ps" but keeps the point colour; a negative size drops both.
    EXPECT_EQ(clause([](CPlot& p) { p.pointType(0, 5, 0, "red"); }), "with lines lw 2 pt 5 lc rgbcolor\"red\"");
    EXPECT_EQ(clause([](CPlot& p) { p.pointType(0, -999, -1, "red"), p.lineType(0, -999, 0); }), "with lines");
    EXPECT_EQ(clause([](CPlot& p) { p.lineType(0, -998, 1, nullptr), p.pointType(0, -999, 1, nullptr); }), "with lines lw 1 ps 1");
    // Box fills and borders follow only the box styles and filled curves; number -1: a density is
    // plot-wide only, a pattern also styles the first data set.
    EXPECT_EQ(clause([](CPlot& p) { p.plotType(PlotType::Boxes, 0), p.boxFill(0, BoxFill::Solid, 0.5), p.boxBorder(0, 7); }),
              "with boxes fs solid 0.500000 border 7 lw 2");
    EXPECT_EQ(clause([](CPlot& p) { p.plotType(PlotType::FilledCurves, 0), p.boxFill(0, BoxFill::Empty); }),
              "with filledcurves fs transparent solid 0.6 fs empty lw 2");
    EXPECT_EQ(clause([](CPlot& p) { p.boxFill(0, BoxFill::Solid, 0.5), p.boxFill(0, 99); }), "with lines lw 2");
    EXPECT_EQ(clause([](CPlot& p) { p.plotType(PlotType::Boxes, 0), p.boxFill(-1, BoxFill::Solid, 0.5); }), "with boxes lw 2");
    EXPECT_EQ(clause([](CPlot& p) { p.plotType(PlotType::Boxes, 0), p.boxFill(-1, BoxFill::Pattern, 2), p.boxBorder(-1); }),
              "with boxes fs pattern 2 noborder lw 2");
    // On a time axis the library's own files are read as the seconds they hold, never in the
    // time format; a histogram's boxes are as wide as its bins.
    EXPECT_EQ(written([](CPlot& p) { p.timeAxis(PlotAxis::Y2, "%H", nullptr), p.histogram(kX, 3, 2); }, writePlotCommand),
              "plot \"\" using ($1):($2):(1) notitle with boxes lw 2");
}

// A .csv file (the name may be the extension alone, in any case) is read comma-separated unless
// the plot says otherwise; a blank separator is the engine's own default.
TEST(Sections, DataFileSeparator)
{
    const auto csv = [](CPlot& p) { p.AddCurve(std::string(".CSV"), std::nullopt, 1, ElementType::Double, nullptr); };
    check({
        {csv, writeFileReading, "set datafile separator \",\"\n"},
        {[&](CPlot& p) { csv(p), p.dataFileSeparator(" "); }, writeFileReading, ""},
        {[&](CPlot& p) { csv(p), p.dataFileSeparator("\t"), p.dataFileSeparator("ab"); }, writeFileReading, "set datafile separator \"\t\"\n"},
        {[](CPlot& p) { p.dataFileSeparator(";"), p.data2DCurve(kX, kX, 3); }, writeFileReading, ""},  // no file of the caller's
    });
}

TEST(Sections, PlotWideFillStyle)
{
    check({
        {[](CPlot& p) { p.boxBorder(-1, 3), p.boxFill(-1, BoxFill::Pattern, 4); }, writeFillStyle,
         "set style fill pattern 4\nset style fill border 3\n"},
        {[](CPlot& p) { p.boxFill(-1, BoxFill::TransparentPattern); }, writeFillStyle, "set style fill transparent pattern\n"},
        {[](CPlot& p) { p.boxBorder(-1); }, writeFillStyle, "set style fill noborder\n"},
        {[](CPlot& p) { p.boxFill(-1, 99); }, writeFillStyle, "set style fill\n"},
    });
}

// Text labels, newest first. Every text written inside double quotes reaches the engine as exactly
// the caller's text: the five characters that could end the string, break the line or run a
// command are escaped.
TEST(Sections, TextsAreQuoted)
{
    static const char* const text = "a\"b\nc\\d`e\rf";
    const std::string quoted = "a\\\"b\\nc\\\\d\\`e\\rf";
    check({
        // Newest first, each with the text colour of its time; no text and an unknown alignment.
        {[](CPlot& p) { p.text("A", TextAlign::Left, 3.5, 2, 3), p.textColor("blue"), p.text("B", TextAlign::Right, -1, 4, 0),
                        p.text("C", TextAlign::Center, 0, 0, 0), p.text(nullptr, 99, 2, 2, 2),
                        p.textColor("cccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc"),
                        p.text("D", TextAlign::Left, 1, 1, 1); },
         writeTextLabels,
         "set label \"D\" at 1.000000, 1.000000, 1.000000 font \", 13\"  textcolor rgbcolor \""
         "ccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc\" left\n"
         "set label \"\" at 2.000000, 2.000000, 2.000000 font \", 13\"  textcolor rgbcolor \"blue\" \n"
         "set label \"C\" at 0.000000, 0.000000, 0.000000 font \", 13\"  textcolor rgbcolor \"blue\" center\n"
         "set label \"B\" at -1.000000, 4.000000, 0.000000 font \", 13\"  textcolor rgbcolor \"blue\" right\n"
         "set label \"A\" at 3.500000, 2.000000, 3.000000 font \", 13\" left\n"},
        {[](CPlot& p) { p.title(text), p.label(PlotAxis::XY, text); }, writeTitlesAndLabels,
         "set title \"" + quoted + "\"\nset xlabel \"" + quoted + "\"\nset ylabel \"" + quoted + "\"\n"},
        {[](CPlot& p) { p.text(text, 99, 0, 0, 0), p.textColor(text), p.text("", TextAlign::Left, 0, 0, 0); }, writeTextLabels,
         "set label \"\" at 0.000000, 0.000000, 0.000000 font \", 13\"  textcolor rgbcolor \"" + quoted + "\" left\n"
         "set label \"" + quoted + "\" at 0.000000, 0.000000, 0.000000 font \", 13\" \n"},
        // A font name with markup characters is refused (SVG writes font names raw).
        {[](CPlot& p) { p.font(text + 2, 9), p.font(text, 10), p.font("x<y", 11); }, writeTextOptions,
         "set termoption enhanced\nset termoption font \"" + quoted.substr(3) + ",9\"\n"},
        {[](CPlot& p) { p.axis(PlotAxis::X2, 1, 1, text); }, writeZeroAxes,
         "set x2zeroaxis lt 1 lw 1 lc rgbcolor \"" + quoted + "\"\n", "x2"},
        {[](CPlot& p) { p.strokeColor(text), p.fillColor(text), p.circle(0, 0, 1); }, writeShapeObjects,
         "set object circle center 0, 0 size 1 behind fillcolor rgbcolor \"" + quoted + "\" fillstyle transparent solid 1 "
         "border lc rgbcolor \"" + quoted + "\" linewidth 2 \n"},
        {[](CPlot& p) {
             p.AddCurve(std::string(text), std::nullopt, 1, ElementType::Double, nullptr);
             p.legend(text, 0), p.lineType(0, 1, 1, text), p.data2DCurve(kX, kX, 1), p.pointType(1, 1, 1, text);
         },
         writePlotCommand,
         "plot \"" + quoted + "\" title \"" + quoted + "\" with lines lt 1 lw 1 lc rgbcolor \"" + quoted +
         "\", \"\" notitle with lines lw 2 pt 1 ps 1 lc rgbcolor\"" + quoted + "\""},
    });

    // Every text the picture shows must stay text in the terminal's file, or the plot is refused:
    // in SVG a font switch naming markup, in the canvas terminal's page "</" or "<!", which could end
    // its script. Elsewhere such texts are only text.
    const std::string evil = "{/x'><script>alert(1)</script> a}";
    for (const auto& [terminal, setup, refused] : std::vector<std::tuple<const char*, test::Setup, bool>>{
             {"svg", [&](CPlot& p) { p.title(evil.c_str()); }, true},
             {"sv", [](CPlot& p) { p.data2DCurve(kX, kX, 3), p.legend("{/x\" onload=\"alert(1) a}", 0); }, true},
             {"svg", [](CPlot& p) { p.text("</svg> {/Arial=9 <b>}", TextAlign::Left, 0, 0, 0); }, false},
             {"canvas", [](CPlot& p) { p.label(PlotAxis::Y, "a</script><script>alert(1)"); }, true},
             {"can", [](CPlot& p) { p.ticsFormat(PlotAxis::X, "<!--%g"); }, true},
             {"canvas", [](CPlot& p) { p.ticsLabel(PlotAxis::X, "{/x'> <b>} a < /", 1); }, false},
             {"pngcairo", [&](CPlot& p) { p.title((evil + "</script>").c_str()); }, false}}) {
        CPlot p;
        p.outputType(PlotOutputType::File, terminal, "a");
        setup(p);
        MessageCapture capture;
        EXPECT_EQ(plotScriptText(PlotAccess::impl(p)) == std::nullopt, refused) << terminal;
        EXPECT_EQ(capture.take().starts_with("CPlot::plotting(): the "), refused) << terminal;
    }
}

}  // namespace
}  // namespace rizari::test
