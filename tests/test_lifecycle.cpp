// Creation, reset and destruction of a plot, and what each of them does to the files around it.
#include <memory>

#include "plot/cplot.h"
#include "support/test_support.h"

using namespace rizari;
using namespace rizari::test;

namespace {

const double kX[] = {1, 2, 3};
const double kY[] = {4, 5, 6};

}  // namespace

TEST(Lifecycle, NewPlotState)
{
    CPlot plot;
    const PlotState& s = plot.state();
    EXPECT_EQ(s.plotDimension, 2);
    EXPECT_EQ(plot.isUsed(), 0);
    EXPECT_FALSE(plot.engineHome());
    // What mathCoord leaves behind.
    EXPECT_EQ(s.axes.zeroAxes, PlotAxis::XY);
    EXPECT_EQ(s.frame.gridOn, 1);
    EXPECT_EQ(s.frame.borderSides, 0);
    EXPECT_EQ(s.text.enhancedText, 1);
    EXPECT_EQ(s.style.transparentFill, 1);
}

TEST(Lifecycle, DimensionAndDataSetQueries)
{
    CPlot plot;
    plot.dimension(3);
    EXPECT_EQ(plot.state().frame.borderSides, 31);
    EXPECT_EQ(plot.state().tics.ticsMirrorAxes, PlotAxis::XY);
    plot.dimension(2);  // only the dimension goes back
    EXPECT_EQ(plot.state().plotDimension, 2);
    EXPECT_EQ(plot.state().frame.borderSides, 31);
    EXPECT_EQ(captureStderr([&] { plot.dimension(4); }), "CPlot::dimension(): invalid dimension\n");
    EXPECT_EQ(plot.state().plotDimension, 2);

    const double y[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    plot.data2D(kX, y, 3, 2, 3, 3);
    EXPECT_EQ(plot.isUsed(), 1);
    EXPECT_EQ(plot.dataSetNum(), 2);
}

TEST(Lifecycle, DeletePlotsResetsAllButEngineHome)
{
    TempDir dir;
    CPlot plot;
    plot.setEngineHome("/opt/zu");
    plot.outputType(PlotOutputType::File, "png", (dir.path() / "out.png").c_str());
    plot.dimension(3);
    plot.title("t");
    plot.data3DCurve(kX, kY, kY, 3);
    plot.deletePlots();
    const PlotState& s = plot.state();
    EXPECT_EQ(*plot.engineHome(), "/opt/zu");
    EXPECT_EQ(s.output.outputType, PlotOutputType::Window);
    EXPECT_FALSE(s.output.outputFileName);
    EXPECT_EQ(s.plotDimension, 2);
    EXPECT_EQ(s.frame.borderSides, 0);
    EXPECT_FALSE(s.text.titleText);
    EXPECT_EQ(plot.isUsed(), 0);
    EXPECT_EQ(plot.dataSetNum(), -1);
}

// Temporary data files, the script and a streamed image belong to the plot; the caller's data
// files and image files never do.
TEST(Lifecycle, ReleaseRemovesOnlyOwnFiles)
{
    TempDir callerDir;  // made before the engine points TMP at its own directory
    FakeEngine fake;
    const auto callerData = callerDir.path() / "points.dat";
    const auto callerImage = callerDir.path() / "image.png";
    writeFile(callerData, "1 2\n3 4\n");
    writeFile(callerImage, "png");

    auto plot = std::make_unique<CPlot>();
    plot->setEngineHome(fake.home().c_str());
    plot->data2DCurve(kX, kY, 3);
    plot->dataFile(callerData.c_str());
    plot->outputType(PlotOutputType::File, "png", callerImage.c_str());
    ASSERT_EQ(plot->plotting(), 0);
    ASSERT_TRUE(plot->state().dataSets[0].fileName);
    EXPECT_EQ(readFile(*plot->state().dataSets[0].fileName), "1 4\n2 5\n3 6\n");
    EXPECT_FALSE(fs::is_empty(fake.tmpDir()));
    EXPECT_EQ(captureStderr([&] { plot.reset(); }), "");
    EXPECT_TRUE(fs::is_empty(fake.tmpDir()));  // data file and script gone
    EXPECT_EQ(readFile(callerData), "1 2\n3 4\n");
    EXPECT_TRUE(fs::exists(callerImage));

    // A streamed image is a temporary file of the plot.
    plot = std::make_unique<CPlot>();
    plot->outputType(PlotOutputType::Stream, "png");
    const std::string streamed = *plot->state().output.outputFileName;
    EXPECT_TRUE(fs::exists(streamed));
    plot.reset();
    EXPECT_FALSE(fs::exists(streamed));

    // Switching to the stream without naming a terminal keeps the caller's image file as the
    // output, and it stays the caller's: destruction leaves it alone.
    plot = std::make_unique<CPlot>();
    plot->outputType(PlotOutputType::File, "png", callerImage.c_str());
    plot->outputType(PlotOutputType::Stream);
    plot.reset();
    EXPECT_TRUE(fs::exists(callerImage));

    // A stream image replaced by a new selection, and the script forgotten by a reset, are
    // removed at once: nothing is left behind in the temporary directory.
    plot = std::make_unique<CPlot>();
    plot->setEngineHome(fake.home().c_str());
    plot->outputType(PlotOutputType::Stream, "png");
    const std::string first = *plot->state().output.outputFileName;
    plot->outputType(PlotOutputType::Stream, "gif");
    EXPECT_FALSE(fs::exists(first));
    plot->outputType(PlotOutputType::File, "png", callerImage.c_str());
    plot->data2DCurve(kX, kY, 3);
    ASSERT_EQ(plot->plotting(), 0);
    plot->deletePlots();
    EXPECT_TRUE(fs::is_empty(fake.tmpDir()));
    EXPECT_TRUE(fs::exists(callerImage));
}

TEST(Lifecycle, VanishedTemporaryFileIsReported)
{
    FakeEngine fake;
    CPlot plot;
    plot.setEngineHome(fake.home().c_str());
    plot.data2DCurve(kX, kY, 3);
    ASSERT_EQ(plot.plotting(), 0);
    fs::remove(*plot.state().dataSets[0].fileName);
    EXPECT_EQ(captureStderr([&] { plot.deleteData(); }), "CPlot::RemoveCurves(): No such file or directory\n");
    EXPECT_EQ(plot.isUsed(), 0);
}
