// Adding data sets: what each member stores, in which order, and what it refuses.
#include <sys/ioctl.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "plot/cplot.h"
#include "support/test_support.h"

using namespace rizari;
using namespace rizari::test;

namespace {

std::vector<double> doubles(const DataSet& set)
{
    std::vector<double> out(set.values->size() / sizeof(double));
    std::memcpy(out.data(), set.values->data(), set.values->size());
    return out;
}

// Makes a file unwritable even for root (immutable flag); false where that is not possible.
bool setImmutable(const fs::path& path, bool on)
{
    const int fd = open(path.c_str(), O_RDONLY);
    int flags = 0;
    bool done = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0) close(fd);
    return done;
}

const double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST(AddData, Data2D)
{
    CPlot plot;
    plot.strokeColor("red");
    const double x[] = {1, 2, 3};
    const double rows[] = {4, kInf, 6, -kInf, NAN, 9};
    EXPECT_EQ(plot.data2D(x, rows, 3, 2, 2, 3), 0);
    ASSERT_EQ(plot.dataSetNum(), 1);
    const DataSet& second = plot.state().dataSets[1];
    const auto v = doubles(second);
    ASSERT_EQ(v.size(), 6u);
    EXPECT_EQ(v[3], -kLargeValue);
    EXPECT_TRUE(std::isnan(v[4]));
    EXPECT_EQ(doubles(plot.state().dataSets[0])[4], kLargeValue);
    EXPECT_EQ(second.lineColorSet, 1);
    EXPECT_EQ(std::string(second.lineColor.c_str()), "red");

    EXPECT_EQ(plot.data2D(std::vector<double>{1, 2}, std::vector<double>{3, 4}), 0);
    EXPECT_EQ(plot.data2DCurve(x, x, 2), 0);
    EXPECT_EQ(plot.dataSetNum(), 3);

    int r = 0;
    EXPECT_EQ(captureStderr([&] { r = plot.data2D(std::vector<double>{1, 2}, std::vector<double>{1}); }),
              "CPlot::data2D(): dimensions of x and y do not match\n");
    EXPECT_EQ(r, -1);
    EXPECT_EQ(captureStderr([&] { plot.data2D(x, x, 3, 3, 0, 0); }),
              "CPlot::data2D(): pass argument y of dimension larger than 2\n");
    EXPECT_EQ(captureStderr([&] { plot.data2DCurve(x, x, -1); }),
              "Error: invalid data for curve is passed to CPlot::AddCurve()\n");
    EXPECT_EQ(plot.dataSetNum(), 4);  // that record stays
    plot.dimension(3);
    EXPECT_EQ(captureStderr([&] { plot.data2DCurve(x, x, 3); }),
              "CPlot::data2D(): add 2D data to 3D plot, use CPlot::data3D()\n");
    EXPECT_EQ(captureStderr([&] { r = plot.AddCurve(std::nullopt, std::nullopt, 3, ElementType::Double, x); }),
              "CPlot::AddCurve(): invalid dimension\n");
    EXPECT_EQ(r, -1);
    EXPECT_EQ(plot.dataSetNum(), 4);
}

TEST(AddData, Data3D)
{
    const double x[] = {1, 2, 3};
    const double y[] = {10, 20, 30, 40};
    const double z[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    CPlot plot;
    EXPECT_EQ(plot.data3DSurface(x, y, z, 3, 4), 0);  // an empty 2D plot becomes 3D
    EXPECT_EQ(plot.state().plotDimension, 3);
    EXPECT_EQ(plot.state().frame.borderSides, 31);
    const DataSet& grid = plot.state().dataSets[0];
    EXPECT_EQ(grid.pointCount, 12);
    EXPECT_EQ(grid.gridXCount, 3);
    EXPECT_EQ(grid.plotType, PlotType::PM3D);
    const auto g = doubles(grid);
    EXPECT_EQ(std::vector<double>(g.begin(), g.begin() + 6), (std::vector<double>{1, 1, 1, 1, 2, 2}));
    EXPECT_EQ(std::vector<double>(g.begin() + 12, g.begin() + 18), (std::vector<double>{10, 20, 30, 40, 10, 20}));
    EXPECT_EQ(g[24 + 5], 5);
    EXPECT_EQ(plot.state().view.hiddenLineOn, 1);

    EXPECT_EQ(plot.data3DCurve(y, y, y, 4), 0);
    EXPECT_EQ(plot.state().dataSets[1].gridXCount, 1);
    EXPECT_EQ(plot.state().view.hiddenLineOn, 0);
    EXPECT_EQ(plot.data3DCurve(x, x, x, 1), 0);  // a single point is a 1 x 1 grid
    EXPECT_EQ(plot.state().dataSets[2].plotType, PlotType::PM3D);
    EXPECT_EQ(plot.state().view.hiddenLineOn, 1);

    EXPECT_EQ(plot.data3D(x, x, z, 3, 3, 2, 2, 3), 0);  // two rows of z: two space curves
    EXPECT_EQ(plot.dataSetNum(), 4);
    EXPECT_EQ(doubles(plot.state().dataSets[4])[6], 3);

    EXPECT_EQ(captureStderr([&] { plot.data3D(x, y, z, 3, 4, 1, 0, 11); }),
              "CPlot::data3D(): dimensions of x, y and z do not match\n");
    EXPECT_EQ(captureStderr([&] { plot.data3D(x, y, z, 3, 4, 3, 0, 12); }),
              "CPlot::data3D(): pass argument z of dimension larger than 2\n");
    EXPECT_EQ(plot.dataSetNum(), 4);

    CPlot flat;
    flat.data2DCurve(x, x, 3);
    EXPECT_EQ(captureStderr([&] { flat.data3DCurve(x, x, x, 3); }),
              "CPlot::data3D(): add 3D data to 2D plot, use CPlot::data2D()\n");
    EXPECT_EQ(flat.state().plotDimension, 2);
}

TEST(AddData, MatrixAndFilledCurves)
{
    const double m[] = {1, 2, 3, 4, 5, kInf};
    CPlot plot;
    plot.strokeColor("blue");
    ASSERT_EQ(plot.data(m, 2, 3), 0);
    const DataSet& matrix = plot.state().dataSets[0];
    EXPECT_EQ(matrix.matrixRows, 2);
    EXPECT_EQ(matrix.matrixCols, 3);
    EXPECT_EQ(matrix.lineColorSet, 0);
    EXPECT_EQ(doubles(matrix)[5], kInf);  // no replacement for matrices

    // With the stroke on, the filled curve gets an outline copy holding its own values.
    const double x[] = {1, 2};
    const double y[] = {kInf, 4};
    plot.fillCurve("x1", "green");
    ASSERT_EQ(plot.data2DCurve(x, y, 2), 0);
    ASSERT_EQ(plot.dataSetNum(), 2);
    EXPECT_EQ(plot.state().dataSets[1].plotType, PlotType::FilledCurves);
    EXPECT_EQ(doubles(plot.state().dataSets[1])[2], kLargeValue);
    EXPECT_EQ(doubles(plot.state().dataSets[2]), (std::vector<double>{1, 2, kInf, 4}));
    EXPECT_FALSE(plot.state().style.pendingFillOption);

    plot.noStrokeColor();
    plot.fillCurve("x1", nullptr);
    plot.data(m, 3, 2);
    EXPECT_EQ(plot.dataSetNum(), 3);  // no outline without the stroke
    EXPECT_FALSE(plot.state().style.pendingFillOption);
}

TEST(AddData, DataFile)
{
    TempDir dir;
    const auto file = dir.path() / "data.txt";
    std::string text = "# header\n";
    for (int i = 0; i < 8; ++i) text += std::to_string(i) + " 1\n";
    text += "# trailer\n";
    writeFile(file, text);

    CPlot plot;
    EXPECT_EQ(plot.dataFile(file.c_str(), "using 1:2"), 0);
    const DataSet& set = plot.state().dataSets[0];
    EXPECT_EQ(set.pointCount, 8);
    EXPECT_EQ(*set.fileName, file.string());
    EXPECT_EQ(*set.fileOption, "using 1:2");

    // A line of 4092 characters is read in three pieces: 2046, 2046 and the line end.
    writeFile(file, std::string(4092, '1') + "\n#\n2\n");
    plot.fillCurve("y1=0", nullptr);
    EXPECT_EQ(plot.dataFile(file.c_str()), 0);
    EXPECT_EQ(plot.state().dataSets[1].pointCount, 4);
    EXPECT_EQ(*plot.state().dataSets[2].fileName, file.string());  // the outline reads the same file
    EXPECT_FALSE(plot.state().dataSets[2].fileOption);

    int r = 0;
    const std::string missing = (dir.path() / "missing.txt").string();
    EXPECT_EQ(captureStderr([&] { r = plot.dataFile(missing.c_str()); }),
              "CPlot::dataFile(): cannot open file \"" + missing + "\".\n");
    EXPECT_EQ(r, -1);

    CPlot space;
    space.dimension(3);
    EXPECT_EQ(space.dataFile(file.c_str()), 0);
    EXPECT_EQ(space.state().dataSets[0].gridXCount, 1);
    EXPECT_EQ(space.state().view.hiddenLineOn, 0);

    // A file the engine may read but we may not write: added, reported, still 0.
    if (!setImmutable(file, true)) GTEST_SKIP() << "cannot make a file unwritable here";
    CPlot readOnly;
    EXPECT_EQ(captureStderr([&] { r = readOnly.dataFile(file.c_str()); }),
              "Error: cannot open '" + file.string() + "' for plotting\n");
    setImmutable(file, false);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(readOnly.dataSetNum(), 0);
}

// Values given with a file are dropped, or the caller's file would be removed with the data set.
TEST(AddData, AddCurveWithFileAndValues)
{
    TempDir dir;
    const auto file = dir.path() / "own.dat";
    writeFile(file, "1 2\n");
    const double v[] = {1, 2};
    int r = 0;
    auto plot = std::make_unique<CPlot>();
    EXPECT_EQ(captureStderr([&] { r = plot->AddCurve(file.string(), std::nullopt, 1, ElementType::Double, v); }),
              "Error: both filename and *data set in CPlot::AddCurve(). filename will be used.\n");
    EXPECT_EQ(r, -1);
    plot.reset();
    EXPECT_EQ(readFile(file), "1 2\n");
}

TEST(AddData, DeleteDataKeepsSettingsAndDrawnItems)
{
    FakeEngine fake;
    CPlot plot;
    plot.setEngineHome(fake.home().c_str());
    const double x[] = {1, 2};
    plot.data2DCurve(x, x, 2);
    plot.rectangle(0, 0, 1, 1);
    plot.arrow(0, 0, 0, 1, 1, 0);
    plot.title("kept");
    plot.outputType(PlotOutputType::Stream, "png");
    const std::string image = *plot.state().output.outputFileName;
    ASSERT_EQ(captureStdout([&] { plot.plotting(); }).size(), 0u);
    const std::string script = *plot.state().output.scriptFileName;
    ASSERT_TRUE(fs::exists(script));

    plot.deleteData();
    const PlotState& s = plot.state();
    EXPECT_EQ(plot.isUsed(), 0);
    EXPECT_TRUE(s.draw.shapeObjects.empty());
    EXPECT_EQ(s.draw.arrows.size(), 1u);
    EXPECT_EQ(*s.text.titleText, "kept");
    EXPECT_EQ(s.output.outputType, PlotOutputType::Stream);
    EXPECT_FALSE(s.output.outputFileName);
    EXPECT_FALSE(s.output.scriptFileName);
    EXPECT_FALSE(fs::exists(script));
    EXPECT_FALSE(fs::exists(image));
    EXPECT_TRUE(fs::is_empty(fake.tmpDir()));
}
