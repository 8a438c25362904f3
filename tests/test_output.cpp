// Output selection: the stored output settings, the terminal lines of each output type, and the
// copy of a streamed image to standard output.
#include <gtest/gtest.h>

#include <string>

#include "plot/cplot.h"
#include "render/script_writer.h"
#include "support/test_support.h"

namespace rizari {
namespace {

using test::captureStderr;
using test::captureStdout;

std::string terminalLines(const CPlot& p) { return test::section(p, &CPlot::writeTerminalLines); }

const std::string kBind = "bind \"Close\" \"if (GPVAL_TERM eq \\'wxt\\') exit gnuplot; else exit\"\n";

TEST(OutputType, StoredSettings)
{
    test::TempDir tmp;
    test::ScopedEnv env("TMP", tmp.path().string());
    CPlot p;
    EXPECT_EQ(p.getOutputType(), PlotOutputType::Window);

    p.outputType(PlotOutputType::File, "png color", "C:\\pictures\\plot.png");
    EXPECT_EQ(p.getOutputType(), PlotOutputType::File);
    EXPECT_EQ(p.state().output.terminalName, "png");
    EXPECT_EQ(p.state().output.outputFileName, "C:/pictures/plot.png");

    // Combinations without their texts change the type only.
    p.outputType(PlotOutputType::Stream, "gif", "ignored.gif");
    p.outputType(PlotOutputType::File, "jpeg");
    p.outputType(PlotOutputType::Window);
    EXPECT_EQ(p.getOutputType(), PlotOutputType::Window);
    EXPECT_EQ(p.state().output.terminalName, "png");
    EXPECT_EQ(p.state().output.outputFileName, "C:/pictures/plot.png");
    p.outputType(99);
    EXPECT_EQ(p.getOutputType(), 99);

    // The stream gets a fresh file in the temporary directory, removed with the plot.
    std::string streamFile;
    {
        CPlot s;
        s.outputType(PlotOutputType::Stream, "png color");
        EXPECT_EQ(s.state().output.terminalName, "png");
        ASSERT_TRUE(s.state().output.outputFileName);
        streamFile = *s.state().output.outputFileName;
        EXPECT_EQ(streamFile.rfind(tmp.path().string() + "/", 0), 0u) << streamFile;
        EXPECT_TRUE(test::fs::exists(streamFile));
    }
    EXPECT_FALSE(test::fs::exists(streamFile));

    test::ScopedEnv bad("TMP", "/nonexistent-rizari-dir");
    CPlot s;
    EXPECT_EQ(captureStderr([&] { s.outputType(PlotOutputType::Stream, "svg"); }),
              "Error: cannot create unique filename in CPlot\n");
    EXPECT_EQ(s.getOutputType(), PlotOutputType::Stream);
    EXPECT_EQ(s.state().output.terminalName, "svg");
    EXPECT_FALSE(s.state().output.outputFileName);
}

TEST(OutputType, SizeAndEngineHome)
{
    CPlot p;
    EXPECT_EQ(captureStderr([&] { p.sizeOutput(0, 480); }), "CPlot::sizeOutput(): invalid parameter\n");
    EXPECT_EQ(captureStderr([&] { p.sizeOutput(640, -3); }), "CPlot::sizeOutput(): invalid parameter\n");
    EXPECT_EQ(p.state().output.outputWidth, -1);
    EXPECT_EQ(p.state().output.outputHeight, -1);
    p.sizeOutput(1, 1);
    EXPECT_EQ(p.state().output.outputWidth, 1);
    EXPECT_EQ(p.state().output.outputHeight, 1);

    p.setEngineHome("C:\\Zu");
    EXPECT_EQ(p.engineHome(), "C:\\Zu");
    p.setEngineHome(nullptr);
    EXPECT_FALSE(p.engineHome());
}

TEST(TerminalLines, Window)
{
    CPlot single;
    EXPECT_EQ(terminalLines(single), kBind + "set terminal wxt title \"Zu\"\n");

    // The font shrinks with the number of cells of a grid.
    const struct {
        int rows, cols;
        const char* size;
    } grids[] = {{1, 2, "8"}, {1, 3, "7"}, {2, 2, "7"}, {1, 5, "6"}, {2, 3, "6"}, {1, 7, "5"}};
    for (const auto& g : grids) {
        CPlot p;
        p.subplot(g.rows, g.cols);
        EXPECT_EQ(terminalLines(p), kBind + "set terminal wxt font \"," + g.size + "\" title \"Zu\"\n")
            << g.rows << "x" << g.cols;
    }
    // With a font size of its own, a grid gets only the bind line.
    CPlot p;
    p.subplot(2, 2);
    p.font("Arial", 10);
    EXPECT_EQ(terminalLines(p), kBind);
}

TEST(TerminalLines, FileAndStream)
{
    const struct {
        const char* terminal;
        int width, height;
        const char* lines;
    } cases[] = {
        {"png color", 640, 480, "set terminal png size 640, 480 enhanced\nset output \"C:/out/a.png\"\n"},
        {"gif", -1, -1, "set terminal gif enhanced\nset output \"C:/out/a.png\"\n"},
        {"jpeg large", 10, 20, "set terminal jpeg large size 10, 20 enhanced\nset output \"C:/out/a.png\"\n"},
        {"postscript eps color", -1, -1, "set terminal postscript eps color enhanced\nset output \"C:/out/a.png\"\n"},
        {"postscrip", -1, -1, "set terminal postscrip\nset output \"C:/out/a.png\"\n"},
        {"svg", 300, 200, "set terminal svg size 300, 200\nset output \"C:/out/a.png\"\n"},
        {"pdfcairo", -1, -1, "set terminal pdfcairo\nset output \"C:/out/a.png\"\n"},
        {"jpe", -1, -1, "set terminal jpe\nset output \"C:/out/a.png\"\n"},
    };
    for (const auto& c : cases) {
        CPlot p;
        p.outputType(PlotOutputType::File, c.terminal, "C:\\out\\a.png");
        if (c.width > 0) p.sizeOutput(c.width, c.height);
        EXPECT_EQ(terminalLines(p), c.lines) << c.terminal;
    }

    test::TempDir tmp;
    test::ScopedEnv env("TMP", tmp.path().string());
    CPlot s;
    s.outputType(PlotOutputType::Stream, "png");
    EXPECT_EQ(terminalLines(s), "set terminal png enhanced\nset output \"" + *s.state().output.outputFileName + "\"\n");

    CPlot other;
    other.outputType(42);
    EXPECT_EQ(terminalLines(other), "");
}

TEST(CopyFileToStdout, BytesUnchangedAndMessages)
{
    test::TempDir tmp;
    std::string bytes = "\x89PNG\r\n\x1a\n";
    bytes += std::string("\0\r\n\n\xff", 5);
    for (int i = 0; i < 5000; ++i) bytes += static_cast<char>(i * 7);
    const auto file = tmp.path() / "image.bin";
    test::writeFile(file, bytes);

    int result = -2;
    EXPECT_EQ(captureStdout([&] { result = CPlot::CopyFileToStdout(file.c_str()); }), bytes);
    EXPECT_EQ(result, 0);

    const std::string missing = (tmp.path() / "missing.png").string();
    EXPECT_EQ(captureStderr([&] { result = CPlot::CopyFileToStdout(missing.c_str()); }),
              "Error: opening binary file " + missing + "\n");
    EXPECT_EQ(result, -1);

    // A directory opens but has no size to read.
    const std::string dir = tmp.path().string();
    const std::string err = captureStderr([&] { result = CPlot::CopyFileToStdout(dir.c_str()); });
    EXPECT_EQ(err.rfind("Error: open binary file " + dir + "\n" + dir + ": ", 0), 0u) << err;
    EXPECT_EQ(result, -1);
}

}  // namespace
}  // namespace rizari
