// The typed front <rizari/plot.h>: the terminal and size a file name gives, values of every element
// type reaching the data files as they are, refusals as exceptions with CPlot's own messages,
// failed runs carrying the engine's words, and handles that survive moves of their plot.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <sstream>
#include <vector>

#include "platform/unicode.h"
#include "plot/plot_state.h"
#include "rizari/plot.h"
#include "script/terminals.h"
#include "tests/support.h"

namespace rizari::test {
namespace {

// The lines of the text that begin with the prefix.
std::string linesStarting(const std::string& text, std::string_view prefix)
{
    std::string found;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with(prefix)) found += line + "\n";
    return found;
}

// What the call was refused with, or "accepted".
template <class Call> std::string refusal(Call&& call)
{
    try {
        call();
    } catch (const std::invalid_argument& e) {
        return e.what();
    }
    return "accepted";
}

std::string dataFile(Plot& plot, std::size_t set)
{
    plot.script();  // writes the data files
    return readFile(unicode::utf8Path(*PlotAccess::state(plot.native()).dataSets.at(set).fileName));
}

const DataSet& dataSetOf(Plot& plot, std::size_t set) { return PlotAccess::state(plot.native()).dataSets.at(set); }

// The extension picks the terminal; the size is written in the terminal's own unit, converted at
// 72 pixels per inch when given in the other; Size{} leaves the terminal's default.
TEST(Front, FileNameChoosesTerminalAndSize)
{
    FakeEngine fake;
    struct Case {
        const char* file;
        Size size;
        const char* terminal;
    };
    const Case cases[] = {
        {"a.png", {}, "set terminal pngcairo enhanced\n"},
        {"b.PNG", {800, 600}, "set terminal pngcairo size 800, 600 enhanced\n"},
        {"c.png", Size::inches(4, 2.5), "set terminal pngcairo size 288, 180 enhanced\n"},
        {"d.svg", {640, 480}, "set terminal svg size 640, 480\n"},
        {"e.svg", Size::inches(5.01, 3), "set terminal svg size 361, 216\n"},
        {"f.pdf", {5, 3.5}, "set terminal pdfcairo size 5in, 3.5in\n"},
        {"g.pdf", {720, 300}, "set terminal pdfcairo size 10in, 4.16667in\n"},
        {"h.eps", {}, "set terminal epscairo\n"},
        {"i.gif", {std::size_t{100}, 50u}, "set terminal gif size 100, 50 enhanced\n"},
        {"j.jpg", {}, "set terminal jpeg enhanced\n"},
        {"k.jpeg", {}, "set terminal jpeg enhanced\n"},
    };
    Plot plot;
    plot.engineHome(fake.home());
    for (const Case& c : cases) {
        const std::string script = plot.output(c.file, c.size).script();
        EXPECT_EQ(linesStarting(script, "set terminal"), c.terminal) << c.file;
        EXPECT_EQ(linesStarting(script, "set output"), "set output \"" + std::string(c.file) + "\"\n");
    }
    EXPECT_EQ(refusal([&] { plot.output("a.TGA"); }),  // the extension in lower case
              "rizari::Plot::save(): unknown image format \".tga\": use .eps, .gif, .jpg, .jpeg, .pdf, .png or .svg");
    EXPECT_EQ(refusal([&] { plot.save("png"); }),
              "rizari::Plot::save(): unknown image format \"\": use .eps, .gif, .jpg, .jpeg, .pdf, .png or .svg");
    EXPECT_EQ(refusal([&] { plot.output("a.png", {0, 10}); }), "rizari::Plot::save(): the size must be finite and above 0");
    EXPECT_EQ(refusal([&] { plot.output("a.pdf", Size::inches(NAN, 1)); }), "rizari::Plot::save(): the size must be finite and above 0");
    // Each format's range, told in the units given and in the format's own.
    EXPECT_EQ(refusal([&] { plot.output("a.pdf", {8, 11}); }),
              "rizari::Plot::save(): a .pdf page measures 1 to 200 inches; {8, 11} is 0.111111 x 0.152778 inches "
              "(whole numbers are pixels: give inches as {8.0, 11.0})");
    EXPECT_EQ(refusal([&] { plot.output("a.eps", {0.5, 300.0}); }),
              "rizari::Plot::save(): a .eps page measures 1 to 200 inches; {0.5, 300.0} is 0.5 x 300 inches");
    EXPECT_EQ(refusal([&] { plot.output("a.png", {1e300, 1e300}); }),
              "rizari::Plot::save(): a .png image measures 16 to 32767 pixels; {1e+300, 1e+300} is 7.2e+301 x 7.2e+301 pixels");
    EXPECT_EQ(refusal([&] { plot.output("a.svg", {15, 600}); }),
              "rizari::Plot::save(): a .svg image measures 16 to 32767 pixels; {15, 600} is 15 x 600 pixels");
    EXPECT_EQ(refusal([&] { plot.output("a.pdf", Size::inches(1, 200)).output("a.gif", {16, 32767}); }), "accepted");
    EXPECT_EQ(refusal([&] { plot.save(std::string("report\0.svg", 11)); }), "rizari::Plot::save(): the file name holds a NUL character");
    EXPECT_EQ(refusal([&] { plot.output(Output::File, "", "a.png"); }), "rizari::Plot::output(): a file output needs a terminal and a file");
    EXPECT_EQ(refusal([&] { plot.output(Output::File, "png", ""); }), "rizari::Plot::output(): a file output needs a terminal and a file");
    EXPECT_EQ(fake.runs(), 0);
    // The guide lists the extensions of the terminal table.
    std::string listed;
    for (const Terminal& terminal : allTerminals()) {
        std::string extensions;
        for (std::string_view extension : optionWords(terminal.extensions))
            extensions += (extensions.empty() ? "`" : "/`") + std::string(extension) + "`";
        if (!extensions.empty()) listed += (listed.empty() ? "" : ", ") + extensions + " " + std::string(terminal.name);
    }
    const std::string guide = readFile(buildPath(RIZARI_SOURCE_DIR) + "/docs/cpp.md");
    EXPECT_NE(guide.find("terminal: " + listed + "; any other"), std::string::npos) << listed;
    // A name in the home folder is the file of that name here, as for CPlot.
    EXPECT_EQ(linesStarting(plot.output("~/a.png").script(), "set output"), "set output \"./~/a.png\"\n");

    // The window, as show() draws it.
    EXPECT_EQ(linesStarting(plot.output(Output::Window).script(), "set terminal"), "set terminal wxt title \"Zu\"\n");
}

// A large data set drawn into a PNG is thinned by default; thinLargeData decides for the plot.
TEST(Front, LargeDataIsThinnedUnlessTheProgramSaysNo)
{
    ScopedEnv unset{"RIZARI_REDUCE", std::nullopt};
    std::vector<double> x(200000), y(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = static_cast<double>(i), y[i] = std::sin(0.001 * static_cast<double>(i));
    Plot plot;
    plot.add(x, y);
    plot.output("a.png");
    const auto lines = [&] { return std::ranges::count(dataFile(plot, 0), '\n'); };
    EXPECT_LT(lines(), 20000);
    plot.thinLargeData(false);
    EXPECT_EQ(lines(), 200000);
    plot.output("a.svg");
    EXPECT_EQ(lines(), 200000);
    plot.thinLargeData(true);
    EXPECT_LT(lines(), 20000);

    // A view draws from the caller's arrays where they lie, as they are when the plot is drawn:
    // the file a copy of the same values gives, thinned as well.
    std::vector<float> fx(x.begin(), x.end()), fy(y.begin(), y.end());
    Plot copied, viewed;
    copied.add(fx, fy).legend("a");
    viewed.addView(fx, fy).legend("a");
    copied.output("b.png");
    viewed.output("b.png");
    fy[0] = -0.5f;  // still the lowest point of its bucket
    EXPECT_FALSE(dataSetOf(viewed, 0).values);
    std::string expected = dataFile(copied, 0);
    expected.replace(0, expected.find('\n'), "0 -0.5");
    EXPECT_EQ(dataFile(viewed, 0), expected);
    EXPECT_LT(std::ranges::count(expected, '\n'), 20000);
}

// Each element type keeps its own entries (no copy as doubles on the way) and is written as CPlot
// writes it; std::array, C arrays, spans and vectors pass as they are.
TEST(Front, ValuesOfEachElementTypeReachTheDataFile)
{
    FakeEngine fake;
    Plot plot;
    const std::array<std::int16_t, 2> shorts{-3, 7};
    const std::uint16_t ushorts[] = {300, 65535};
    const std::vector<std::int32_t> ints{-2147483647 - 1, 5};
    const std::vector<std::uint32_t> uints{4000000000u, 1};
    const std::vector<float> floats{0.5f, -1.25f};
    const std::vector<double> doubles{1, HUGE_VAL};
    const std::vector<std::uint8_t> bytes{'a', 'b'};
    plot.add(shorts, shorts);
    plot.add(std::span<const std::uint16_t>(ushorts), ushorts);
    plot.add(ints, ints);
    plot.add(uints, uints);
    plot.add(floats, floats);
    plot.add(doubles, doubles);
    plot.add(bytes, bytes);
    const std::pair<int, std::size_t> kinds[] = {{ElementType::Short, 2}, {ElementType::UShort, 2}, {ElementType::Int, 4},
                                                 {ElementType::UInt, 4}, {ElementType::Float, 4}, {ElementType::Double, 8},
                                                 {ElementType::UChar, 1}};
    for (std::size_t i = 0; i < std::size(kinds); ++i) {
        EXPECT_EQ(dataSetOf(plot, i).elementType.code(), kinds[i].first) << i;
        EXPECT_EQ(dataSetOf(plot, i).values->size(), 2 * 2 * kinds[i].second) << i;
    }
    EXPECT_EQ(dataFile(plot, 0), "-3 -3\n7 7\n");
    EXPECT_EQ(dataFile(plot, 1), "300 300\n65535 65535\n");
    EXPECT_EQ(dataFile(plot, 2), "-2147483648 -2147483648\n5 5\n");
    EXPECT_EQ(dataFile(plot, 3), "4000000000 4000000000\n1 1\n");
    EXPECT_EQ(dataFile(plot, 4), "0.5 0.5\n-1.25 -1.25\n");
    EXPECT_EQ(dataFile(plot, 5), "1 1\n9.8e+307 9.8e+307\n");  // an infinity as data2D draws it
    EXPECT_EQ(dataFile(plot, 6), "a a\nb b\n");                 // 8-bit entries are characters

    // Mixed element types, and integers the library does not hold, are written as doubles.
    plot.add(std::vector<int>{1, 2}, std::vector<double>{0.5, 2.5});
    plot.add(std::vector<std::int64_t>{-40000000000, 3}, std::vector<std::size_t>{7, 8});
    EXPECT_EQ(dataSetOf(plot, 7).elementType, Element::Double);
    EXPECT_EQ(dataFile(plot, 7), "1 0.5\n2 2.5\n");
    EXPECT_EQ(dataFile(plot, 8), "-4e+10 7\n3 8\n");
    plot.addView(doubles, doubles);
    EXPECT_EQ(dataFile(plot, 9), "1 1\n9.8e+307 9.8e+307\n");  // a view's infinity as well
    // Times of the system clock are seconds since 1970, fractions kept.
    using namespace std::chrono;
    plot.add(std::vector<sys_time<milliseconds>>{sys_days{1970y / 1 / 2} + 500ms, sys_days{1970y / 1 / 3}}, std::vector<int>{1, 2});
    EXPECT_EQ(dataFile(plot, 10), "86400.5 1\n172800 2\n");

    // A curve in space and a surface over a grid (row i for x[i]) make the plot 3D.
    Plot space;
    space.add(std::vector<int>{1, 2}, std::vector<int>{3, 4}, std::vector<int>{5, 6});
    EXPECT_EQ(dataFile(space, 0), "1 3 5\n2 4 6\n");
    Plot grid;
    const float gx[] = {1, 2}, gy[] = {10, 20, 30}, gz[] = {1, 2, 3, 4, 5, 6};
    grid.surface(gx, gy, gz);
    EXPECT_EQ(dataFile(grid, 0), "1 10 1\n1 20 2\n1 30 3\n\n2 10 4\n2 20 5\n2 30 6\n");
    EXPECT_EQ(dataSetOf(grid, 0).plotType, Style::PM3D);
    // Members that take a list of numbers take any container of them, or a braced list.
    grid.contour(Contour::Base).contourLevels(std::vector<int>{1, 3});
    EXPECT_EQ(linesStarting(grid.script(), "set cntrparam"), "set cntrparam levels discrete 1.000000, 3.000000\n");
    plot.strokeColor("red").polygon(std::array<float, 2>{0.5f, 1}, {2, 3});
    EXPECT_EQ(linesStarting(plot.script(), "set object polygon"),
              "set object polygon from 0.5, 2 to 1, 3 to 0.5, 2 behind fillstyle empty border lc rgbcolor \"red\" linewidth 2 \n");
}

// A refused argument throws std::invalid_argument with CPlot's message, and nothing is printed;
// what the front itself checks (lengths, widths, options, cells) is refused the same way.
TEST(Front, RefusalsThrowTheMessageCPlotWouldPrint)
{
    const std::vector<double> x{1, 2, 3}, shorter{1, 2};
    const std::string printed = captureStderr([&] {
        Plot plot;
        EXPECT_EQ(refusal([&] { plot.range(Axis::X | Axis::X2, 0, 1); }), "CPlot::axisRange(): invalid axis");
        EXPECT_EQ(refusal([&] { plot.ticFractions(Axis::X, 0); }), "CPlot::ticsFraction(): invalid fraction");
        EXPECT_EQ(refusal([&] { plot.add(x, x, x).legend("c"); }), "accepted");
        EXPECT_EQ(refusal([&] { plot.add(x, x); }), "CPlot::data2D(): add 2D data to 3D plot, use CPlot::data3D()");
        EXPECT_EQ(refusal([&] { plot.add(x, shorter, x); }), "rizari::Plot::add(): the columns differ in length");
        EXPECT_EQ(refusal([&] { plot.surface(x, x, x); }), "rizari::Plot::surface(): zs must hold xs.size() * ys.size() values");
        EXPECT_EQ(PlotAccess::state(plot.native()).dataSets.size(), 1u);  // nothing half added
        EXPECT_EQ(refusal([&] { plot.add(std::vector<double>{}, std::vector<double>{}, std::vector<double>{}); }), "accepted");
        EXPECT_EQ(refusal([&] { plot.surface(std::vector<short>{}, std::vector<short>{1}, std::vector<short>{}); }), "accepted");

        Plot flat;
        Series& s = flat.add(x, x);
        EXPECT_EQ(refusal([&] { s.style(Style::Lines, "x1"); }),
                  "rizari::Series::style(): only Candlesticks, FilledCurves and Vectors take an option");
        EXPECT_EQ(refusal([&] { s.lineWidth(-1); }), "rizari::Series::lineWidth(): not a finite number above 0");
        EXPECT_EQ(refusal([&] { s.axes(Axis::Y, Axis::Y2); }),
                  "rizari::Series::axes(): x must be Axis::X or Axis::X2, y Axis::Y or Axis::Y2");
        EXPECT_EQ(refusal([&] { s.axes("x1y3"); }), "rizari::Series::axes(): the axes are \"x1y1\", \"x1y2\", \"x2y1\" or \"x2y2\"");
        EXPECT_EQ(refusal([&] { flat.cell(0, 0); }), "rizari::Plot::cell(): the plot has no grid: call grid(rows, cols) first");
        flat.grid(1, 2);
        EXPECT_EQ(refusal([&] { flat.cell(1, 0); }), "CPlot::getSubplot(): invalid subplot element");
        EXPECT_EQ(refusal([&] { flat.cell(0, 1).grid(2, 2); }), "rizari::Plot::grid(): a cell has no grid of its own");
        EXPECT_EQ(refusal([&] { flat.logScale(Axis::Y, 1); }), "rizari::Plot::logScale(): the base must be a finite number above 1");
        EXPECT_EQ(refusal([&] { flat.fontScale(0); }), "rizari::Plot::fontScale(): not a finite number above 0");
        EXPECT_EQ(refusal([&] { flat.fontScale(0.5); }), "accepted");  // a fraction of 1 too
        EXPECT_EQ(refusal([&] { flat.cell(0, 0).histogram(x, 0); }), "CPlot::histogram(): invalid number of bins");
        EXPECT_EQ(refusal([&] { flat.timeAxis(Axis::X, "%Y", "").timeRange(Axis::X, "2024", "2024-01"); }),
                  "CPlot::axisRangeTime(): \"2024-01\" is no time in the input format \"%Y\"");
    });
    EXPECT_EQ(printed, "");
}

// A failed run throws PlotError: what() holds gnuplot's standard error and the library's line;
// the exit status and the script's text come with it, also when the plot (and so the script
// file) is gone, and nothing reaches standard error. Without any engine the error says where it
// looked.
TEST(Front, FailedRunsCarryTheEnginesWords)
{
    FakeEngine fake;
    TempDir out;
    {
        ScopedEnv exit("RIZARI_FAKE_EXIT", "3");
        ScopedEnv words("RIZARI_FAKE_STDERR", "\"script\" line 9: unknown or ambiguous terminal type\n");
        const std::string printed = captureStderr([&] {
            try {
                Plot failing;
                failing.engineHome(fake.home()).add({1, 2}, {3, 4});
                failing.save(out.path() / "a.png");
                ADD_FAILURE() << "no PlotError";
            } catch (const PlotError& e) {
                EXPECT_EQ(e.engineErrors(), "\"script\" line 9: unknown or ambiguous terminal type\n");
                EXPECT_EQ(e.exitStatus(), 3);
                EXPECT_FALSE(fs::exists(e.script()));
                EXPECT_EQ(e.scriptText(), fake.script());
                EXPECT_EQ(std::string(e.what()), e.engineErrors() + "CPlot::plotting(): gnuplot failed (exit status 3); script: " +
                                                     utf8(e.script()) + " (set RIZARI_KEEP=1 to keep it)");
            }
        });
        EXPECT_EQ(printed, "");
    }
    Plot plot;
    plot.engineHome(fake.home()).add({1, 2}, {3, 4});
    plot.save(out.path() / "b.png");
    EXPECT_EQ(linesStarting(fake.script(), "set terminal"), "set terminal pngcairo enhanced\n");
    plot.show();
    EXPECT_TRUE(fake.args().ends_with("\n-\n"));  // the window reads on after the script

    TempDir noEngine;
    ScopedEnv path("PATH", utf8(noEngine.path()));
    plot.engineHome(noEngine.path());
    try {
        plot.render();
        ADD_FAILURE() << "no PlotError";
    } catch (const PlotError& e) {
        EXPECT_EQ(e.exitStatus(), std::nullopt);
        EXPECT_TRUE(e.script().empty());
        EXPECT_TRUE(std::string(e.what()).ends_with("; install gnuplot or set ZUHOME")) << e.what();
    }
}

// Series and cells stay valid when their plot moves; styles keep their fractions.
TEST(Front, HandlesSurviveMovesOfTheirPlot)
{
    FakeEngine fake;
    std::vector<Plot> plots;
    Plot first;
    Series& curve = first.add({1, 2}, {3, 4});
    first.grid(1, 2);
    Plot& right = first.cell(0, 1);
    plots.push_back(std::move(first));
    plots.emplace_back();  // the vector moves its plots
    curve.legend("a").lineWidth(1.5).pointSize(3).pointType(5).style(Style::LinesPoints).axes(Axis::X, Axis::Y2);
    right.title("right").add(std::vector<float>{1}, std::vector<float>{2}).color("red").lineWidth(2).pointType(0);  // 0: no " pt"
    const std::string script = plots.front().script();
    EXPECT_EQ(linesStarting(script, "plot"), "plot \"" + *dataSetOf(plots.front(), 0).fileName +
                                                 "\" axes x1y2 title \"a\" with linespoints lw 1.5 pt 5 ps 3\n"
                                                 "plot \"" + *PlotAccess::state(right.native()).dataSets.at(0).fileName +
                                                 "\" notitle with lines lw 2 lc rgbcolor \"red\"\n");
    EXPECT_EQ(linesStarting(script, "set title"), "set title \"right\"\n");

    // A grid changed through native() leaves the cell handles at their places; one whose place is
    // gone, and every series whose data set is gone, say so (no dangling handle).
    Plot& top = plots.front();
    Plot& left = top.cell(0, 0);
    Series& inCell = right.add({1, 2}, {3, 4});
    top.native().subplot(1, 1);
    EXPECT_EQ(refusal([&] { right.title("gone"); }), "rizari::Plot(): the cell (0, 1) is no longer in the grid");
    EXPECT_EQ(refusal([&] { inCell.color("red"); }), "rizari::Plot(): the cell (0, 1) is no longer in the grid");
    EXPECT_EQ(refusal([&] { left.title("left"); }), "accepted");
    top.native().subplot(1, 2);
    EXPECT_EQ(refusal([&] { inCell.color("red"); }), "rizari::Series(): its data set is gone");
    top.native().deletePlots();
    top.add({5, 6}, {7, 8});  // a new data set in the old one's place
    EXPECT_EQ(refusal([&] { curve.legend("b"); }), "rizari::Series(): its data set is gone");
    EXPECT_EQ(refusal([&] { right.title("right"); }), "rizari::Plot(): the cell (0, 1) is no longer in the grid");
}

}  // namespace
}  // namespace rizari::test
