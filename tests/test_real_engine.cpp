// Plots rendered by the real gnuplot: every file terminal the library names, the stream output,
// and scripts that use the main features. A run fails when gnuplot says anything on standard
// error, when the image is missing or when it does not start with its format's magic bytes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "rizari/cplot.h"
#include "support/test_support.h"

namespace rizari {
namespace {

namespace fs = std::filesystem;
using test::captureStderr;
using test::captureStdout;

const char* const kGnuplot = "/usr/bin/gnuplot";

// An installation home whose engine is the real gnuplot, and a private temporary directory.
class RealEngine {
public:
    RealEngine() : tmpEnv_("TMP", tmp_.path().string()), tempEnv_("TEMP", std::nullopt)
    {
        fs::create_directories(home_.path() / "sbin");
        fs::create_symlink(kGnuplot, home_.path() / "sbin" / "gnuplot");
    }
    std::string home() const { return home_.path().string(); }
    fs::path out(const std::string& name) const { return out_.path() / name; }
    const fs::path& tmpDir() const { return tmp_.path(); }

private:
    test::TempDir home_, tmp_, out_;
    test::ScopedEnv tmpEnv_, tempEnv_;
};

std::vector<double> range(int n, double step)
{
    std::vector<double> v;
    for (int i = 0; i < n; ++i) v.push_back(i * step);
    return v;
}

void sineCurves(CPlot& p)
{
    const auto x = range(50, 0.13);
    std::vector<double> s, c;
    for (double v : x) {
        s.push_back(std::sin(v));
        c.push_back(std::cos(v));
    }
    p.title("Sine and cosine");
    p.data2D(x, s);
    p.data2D(x, c);
    p.legend("sin", 0);
    p.legend("cos", 1);
}

bool startsWith(const std::string& bytes, const std::string& magic) { return bytes.rfind(magic, 0) == 0; }

// Renders with the real engine; returns what the run wrote on standard error.
std::string render(CPlot& p, const RealEngine& engine)
{
    p.setEngineHome(engine.home().c_str());
    int result = -2;
    const std::string err = captureStderr([&] { result = p.plotting(); });
    EXPECT_EQ(result, 0);
    return err;
}

class RealEngineTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (access(kGnuplot, X_OK) != 0) GTEST_SKIP() << "gnuplot is not installed";
    }
};

TEST_F(RealEngineTest, EveryFileTerminal)
{
    RealEngine engine;
    const struct {
        const char* terminal;
        const char* file;
        std::string magic;
    } cases[] = {
        {"png color", "plot.png", "\x89PNG\r\n\x1a\n"},
        {"gif", "plot.gif", "GIF8"},
        {"jpeg", "plot.jpg", "\xff\xd8\xff"},
        {"svg", "plot.svg", "<?xml"},
        {"pdfcairo", "plot.pdf", "%PDF-"},
        {"postscript eps color", "plot.eps", "%!PS-Adobe"},
    };
    for (const auto& c : cases) {
        CPlot p;
        sineCurves(p);
        p.outputType(PlotOutputType::File, c.terminal, engine.out(c.file).c_str());
        if (std::string(c.terminal) != "postscript eps color") p.sizeOutput(480, 360);  // postscript sizes are inches
        EXPECT_EQ(render(p, engine), "") << c.terminal;
        const std::string bytes = test::readFile(engine.out(c.file));
        EXPECT_TRUE(startsWith(bytes, c.magic)) << c.terminal << ": " << bytes.substr(0, 16);
    }
    EXPECT_TRUE(test::readFile(engine.out("plot.svg")).find("<svg") != std::string::npos);
}

TEST_F(RealEngineTest, StreamCopiesTheImageToStandardOutput)
{
    RealEngine engine;
    CPlot p;
    sineCurves(p);
    p.outputType(PlotOutputType::Stream, "png");
    p.setEngineHome(engine.home().c_str());
    std::string err, image;
    err = captureStderr([&] { image = captureStdout([&] { EXPECT_EQ(p.plotting(), 0); }); });
    EXPECT_EQ(err, "");
    EXPECT_TRUE(startsWith(image, "\x89PNG\r\n\x1a\n"));
    EXPECT_GT(image.size(), 100u);
}

// Scripts using the main features, each rendered to a PNG that the engine must accept silently.
TEST_F(RealEngineTest, FeatureScriptsRenderWithoutComplaint)
{
    RealEngine engine;
    const auto x = range(12, 0.5);
    const auto y = range(12, 0.3);
    std::vector<double> z;
    for (double a : x)
        for (double b : y) z.push_back(std::sin(a) * std::cos(b));

    const std::vector<std::pair<const char*, std::function<void(CPlot&)>>> plots = {
        {"boxes.png",
         [&](CPlot& p) {
             p.data2D(x, y);
             p.plotType(PlotType::Boxes, 0);
             p.boxFill(0, BoxFill::Solid, 0.5);
             p.boxBorder(0, 1);
             p.boxWidth(0.4);
         }},
        {"fill.png",
         [&](CPlot& p) {
             p.fillCurve("x1", "skyblue");
             p.data2D(x, y);
             p.legend("area");
         }},
        {"shapes.png",
         [](CPlot& p) {
             p.rectangle(0, 0, 3, 2);
             p.circle(4, 4, 1);
             p.text("label", TextAlign::Center, 2, 5, 0);
         }},
        {"grid.png",
         [&](CPlot& p) {
             p.subplot(2, 2);
             sineCurves(p);
             p.getSubplot(0, 1)->text("only a label", TextAlign::Left, 1, 1, 0);
             CPlot* cell = p.getSubplot(1, 0);
             cell->dimension(3);
             cell->data3D(x.data(), y.data(), z.data(), 12, 12, 2, 12, 12);
             CPlot* points = p.getSubplot(1, 1);
             points->data2D(x, y);
             points->plotType(PlotType::LinesPoints, 0, PlotTypeExtra{4, {1, 2, 7, 1}, {}});
             points->pointType(0, 6, 2, "red");
         }},
    };
    for (const auto& [file, build] : plots) {
        CPlot p;
        build(p);
        p.outputType(PlotOutputType::File, "png", engine.out(file).c_str());
        EXPECT_EQ(render(p, engine), "") << file;
        EXPECT_TRUE(startsWith(test::readFile(engine.out(file)), "\x89PNG\r\n\x1a\n")) << file;
        // RIZARI_KEEP_IMAGES=DIR keeps a copy of each image for a look.
        if (const char* keep = std::getenv("RIZARI_KEEP_IMAGES"))
            fs::copy_file(engine.out(file), fs::path(keep) / file, fs::copy_options::overwrite_existing);
    }
    // The check above does see the engine's complaints.
    {
        CPlot p;
        sineCurves(p);
        p.nativeCmd("set no_such_option");
        p.outputType(PlotOutputType::File, "png", engine.out("bad.png").c_str());
        EXPECT_NE(render(p, engine).find("no_such_option"), std::string::npos);
    }
    // Nothing of the plots is left in the temporary directory once they are gone.
    EXPECT_TRUE(fs::is_empty(engine.tmpDir()));
}

}  // namespace
}  // namespace rizari
