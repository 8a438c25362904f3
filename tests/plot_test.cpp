// The C++ interface beyond what scripts show: the values a data set keeps, which files a plot owns
// and removes, the engine run and its arguments, and the platform services underneath.
#ifndef _WIN32
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <csignal>
#include <cstring>
#include <cmath>
#include <atomic>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <thread>

#include "draw/angles.h"
#include "engine/image_check.h"
#include "platform/platform.h"
#include "platform/unicode.h"
#include "plot/plot_state.h"
#include "data/plot_command.h"
#include "engine/output.h"
#include "binding/entry_points.h"
#include "engine/script_text.h"
#include "rizari/codes.h"
#include "runner/member_table.h"
#include "tests/support.h"
#include "zu/zu.h"

namespace rizari::test {
namespace {

const double kInf = HUGE_VAL;
#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

const DataSet& dataSet(const CPlot& p, std::size_t set) { return PlotAccess::state(p).dataSets.at(set); }

std::vector<double> values(const CPlot& p, std::size_t set)
{
    const ValueBlock& block = *dataSet(p, set).values;
    std::vector<double> out(block.size() / sizeof(double));
    if (!out.empty()) std::memcpy(out.data(), block.data(), out.size() * sizeof(double));
    return out;
}

// Empty arrays make an empty data set, a negative count one without values, no rows of y none. A
// matrix keeps its infinities; the outline of a filled curve keeps the caller's values; a fill
// waits through a data set of no rows. Negative grid counts are refused.
TEST(DataSets, EmptyMatrixAndFilledCurveValues)
{
    CPlot p;
    const double x[] = {1, 2, 3}, m[] = {1, kInf}, y[] = {kInf, 4, 5};
    EXPECT_EQ(p.data2DCurve(x, x, 0) + p.data(nullptr, 0, 3) + p.data2D(x, y, 3, 2, 0, 3), 0);
    ASSERT_TRUE(dataSet(p, 0).values);
    EXPECT_EQ(dataSet(p, 0).values->size(), 0u);
    captureStderr([&] { EXPECT_EQ(p.data2DCurve(x, x, -1), -1); });
    EXPECT_FALSE(dataSet(p, 2).values);
    p.deleteData();
    p.data(m, 1, 2);
    EXPECT_EQ(values(p, 0), (std::vector<double>{1, kInf}));
    p.fillCurve("x1", "green");
    p.data2D(x, y, 3, 2, 0, 3);
    ASSERT_EQ(p.data2DCurve(x, y, 3), 0);
    EXPECT_EQ(values(p, 1), (std::vector<double>{1, 2, 3, kLargeValue, 4, 5}));
    EXPECT_EQ(values(p, 2), (std::vector<double>{1, 2, 3, kInf, 4, 5}));
    EXPECT_EQ(dataSet(p, 1).plotType, Style::FilledCurves);
    p.fillCurve("x1", nullptr);
    p.data(m, 1, 2);
    EXPECT_EQ(values(p, 4), (std::vector<double>{1, kInf}));  // the outline of a matrix shares its values
    EXPECT_EQ(p.dataSetNum(), 4);
    CPlot space;
    space.dimension(3);
    EXPECT_EQ(captureStderr([&] {  // negative counts make no grid, even where their product is the count of z
        EXPECT_EQ(space.data3D(x, x, y, -1, -3, 1, 1, 3) + space.data3D(x, x, y, -1, 0, 1, 1, 0), -2);
    }), "CPlot::data3D(): dimensions of x, y and z do not match\nCPlot::data3D(): dimensions of x, y and z do not match\n");
}

// The extensions refuse what they cannot use with one line each, answer -1 where they give an int,
// and leave the plot's script as it was.
TEST(DataSets, ExtensionsRefuseWithOneLineAndChangeNothing)
{
    FakeEngine fake;
    const double v[] = {1, 2, 3}, none[] = {NAN, kInf};
    const struct {
        std::function<int(CPlot&)> call;
        const char* message;
    } cases[] = {
        {[](CPlot& p) { return p.timeAxis(5, "%Y", nullptr), 0; }, "CPlot::timeAxis(): invalid axis\n"},
        {[](CPlot& p) { return p.timeAxis(PlotAxis::Y, "%Y-%q", nullptr), 0; }, "CPlot::timeAxis(): invalid input format \"%Y-%q\"\n"},
        {[](CPlot& p) { return p.timeAxis(PlotAxis::Y, "year %", nullptr), 0; }, "CPlot::timeAxis(): invalid input format \"year %\"\n"},
        {[](CPlot& p) { return p.timeAxis(PlotAxis::XY, "%d.%m.%Y", "%b"), 0; },
         "CPlot::timeAxis(): the plot reads its times in \"%Y-%m-%d\": one input format for all its time axes\n"},
        {[](CPlot& p) { return p.axisRangeTime(PlotAxis::XY, "2024-01-01", "2024-02-01"), 0; },
         "CPlot::axisRangeTime(): not a time axis: call timeAxis() first\n"},
        {[](CPlot& p) { return p.axisRangeTime(PlotAxis::X2, "2024-01-01", "2024-02-30"), 0; },
         "CPlot::axisRangeTime(): \"2024-02-30\" is no time in the input format \"%Y-%m-%d\"\n"},
        {[](CPlot& p) { return p.axisRangeTime(PlotAxis::X2, nullptr, "2024-02-01"), 0; }, "CPlot::axisRangeTime(): invalid parameter\n"},
        {[](CPlot& p) { return p.dataFileSeparator("0"), 0; }, "CPlot::dataFileSeparator(): invalid separator\n"},
        {[](CPlot& p) { return p.dataFileSeparator("#"), 0; }, "CPlot::dataFileSeparator(): invalid separator\n"},
        {[](CPlot& p) { return p.dataFileHeader(2), 0; }, "CPlot::dataFileHeader(): invalid parameter\n"},
        {[&](CPlot& p) { return p.histogram(v, 3, 0); }, "CPlot::histogram(): invalid number of bins\n"},
        {[&](CPlot& p) { return p.histogram(v, -1, 2); }, "CPlot::histogram(): invalid number of values\n"},
        {[&](CPlot& p) { return p.histogram(none, 2, 2); }, "CPlot::histogram(): no finite value to take the range from\n"},
        {[&](CPlot& p) { return p.histogram(v, 3, 2, 1, 1); }, "CPlot::histogram(): invalid range\n"},
        {[&](CPlot& p) { return p.histogram(v, 3, 2, -1e308, 1e308); }, "CPlot::histogram(): invalid range\n"},
        {[&](CPlot& p) { return p.histogram(v, 3, 2, 0, kInf); }, "CPlot::histogram(): invalid parameter\n"},
        {[&](CPlot&) {
             CPlot space;
             space.dimension(3);
             return space.histogram(v, 3, 2);
         },
         "CPlot::histogram(): a histogram is drawn in a 2D plot\n"},
    };
    for (const auto& c : cases) {
        CPlot p;
        p.setEngineHome(fake.home().c_str());
        p.timeAxis(PlotAxis::X, "%Y-%m-%d", nullptr), p.timeAxis(PlotAxis::X2, "%Y-%m-%d", nullptr);
        p.data2DCurve(v, v, 3);
        const auto before = plotScriptText(PlotAccess::impl(p));
        int answer = 0;
        EXPECT_EQ(captureStderr([&] { answer = c.call(p); }), c.message);
        EXPECT_EQ(answer, std::string(c.message).find("histogram") != std::string::npos ? -1 : 0) << c.message;
        EXPECT_EQ(plotScriptText(PlotAccess::impl(p)), before) << c.message;
    }
}

#ifndef _WIN32  // the address space limit is POSIX's
// Memory runs out (the address space limited to a little more than the process has): each member
// says so and answers -1, and nothing is added, not even the first of two rows that did fit.
TEST(DataSets, WithoutMemoryNothingIsAdded)
{
    constexpr int kSide = 4096;  // a matrix or grid of 16 Mi values; one curve of 4 Mi points
    constexpr int kPoints = kSide * kSide / 4;
    const std::size_t bytes = std::size_t{kSide} * kSide * sizeof(double);
    void* untouched = mmap(nullptr, bytes, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(untouched, MAP_FAILED);
    const auto* v = static_cast<const double*>(untouched);
    long mappedPages = 0;
    std::ifstream("/proc/self/statm") >> mappedPages;
    struct rlimit old {};
    getrlimit(RLIMIT_AS, &old);
    struct rlimit tight = old;
    tight.rlim_cur = static_cast<rlim_t>(mappedPages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + bytes * 3 / 4;
    CPlot p;
    int results[3] = {};
    ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);
    const std::string err = captureStderr([&] {
        results[0] = p.data2D(v, v, kPoints, 2, 2, kPoints);  // 64 MiB a row
        results[1] = p.data(v, kSide, kSide);
        results[2] = p.data3DSurface(v, v, v, kSide, kSide);
    });
    setrlimit(RLIMIT_AS, &old);
    munmap(untouched, bytes);
    EXPECT_EQ(err, "Error: can't allocate memory for new curve\n"
                   "Error: can't allocate memory for new curve\nError: can't allocate memory for new curve\n");
    EXPECT_EQ(results[0] + results[1] + results[2], -3);
    EXPECT_EQ(p.dataSetNum(), -1);
}
#endif

// A waiting fill outlines a data file from the same file. Values given with a file are dropped, or
// the caller's file would be removed with the set.
TEST(DataSets, DataFiles)
{
    TempDir dir;
    const std::string file = utf8(dir.path() / "data.txt");
    writeFile(unicode::utf8Path(file), "1 1\n2 2\n");
    auto p = std::make_unique<CPlot>();
    p->fillCurve("y1=0", nullptr);
    ASSERT_EQ(p->dataFile(file.c_str(), "using 1:2"), 0);
    std::string out;
    ScriptWriter w(out);
    writePlotCommand(w, PlotAccess::state(*p));
    std::string quoted;
    appendQuoted(quoted, file);
    EXPECT_EQ(out, "plot \"" + quoted + "\" using 1:2 notitle with filledcurves y1=0 fs transparent solid 0.6, \"" + quoted +
                       "\" using 1:2 notitle with lines lw 2");
    const double v[] = {1, 2};
    EXPECT_EQ(captureStderr([&] { EXPECT_EQ(p->AddCurve(file, std::nullopt, 1, ElementType::Double, v), -1); }),
              "Error: both filename and *data set in CPlot::AddCurve(). filename will be used.\n");
    p.reset();
    EXPECT_TRUE(fs::exists(unicode::utf8Path(file)));
}

// Temporary data files, the script and a streamed image belong to the plot; the caller's data
// files and image files never do. A second run reuses the data files and replaces the script.
TEST(Files, APlotRemovesOnlyWhatItMade)
{
    TempDir caller;  // made before the engine points TMP at its own folder
    FakeEngine fake;
    const auto data = caller.path() / "points.dat";
    const auto image = caller.path() / "image.png";
    writeFile(data, "1 2\n3 4\n");
    writeFile(image, "png");
    const double x[] = {1, 2, 3};
    auto plot = std::make_unique<CPlot>();
    plot->setEngineHome(fake.home().c_str());
    plot->data2DCurve(x, x, 3);
    plot->dataFile(data.string().c_str());
    plot->outputType(PlotOutputType::File, "png", image.string().c_str());
    ASSERT_EQ(plot->plotting(), 0);
    const std::string firstScript = *PlotAccess::state(*plot).output.script;
    ASSERT_EQ(plot->plotting(), 0);
    EXPECT_EQ(fake.script(0), fake.script(1));
    EXPECT_FALSE(fs::exists(firstScript));
    EXPECT_EQ(fake.temporaryFiles(), 2);  // one data file, one script
    EXPECT_EQ(captureStderr([&] { plot.reset(); }), "");
    EXPECT_TRUE(fs::is_empty(fake.tmpDir()));
    EXPECT_EQ(readFile(data), "1 2\n3 4\n");
    EXPECT_TRUE(fs::exists(image));

    // A stream image is the plot's own; a new selection or a reset removes it at once. Switching
    // to the stream without a terminal keeps the caller's image file, and it stays the caller's.
    plot = std::make_unique<CPlot>();
    plot->outputType(PlotOutputType::Stream, "png");
    const std::string first = *PlotAccess::state(*plot).output.file;
    plot->outputType(PlotOutputType::Stream, "gif");
    EXPECT_FALSE(fs::exists(first));
    plot->outputType(PlotOutputType::File, "png", image.string().c_str());
    plot->outputType(PlotOutputType::Stream);
    plot->setEngineHome(fake.home().c_str());
    plot->data2DCurve(x, x, 3);
    int result = -2;
    EXPECT_EQ(captureStdout([&] { result = plot->plotting(); }), "png");
    ASSERT_EQ(result, 0);
    plot->deletePlots();
    EXPECT_TRUE(fs::is_empty(fake.tmpDir()));
    EXPECT_TRUE(fs::exists(image));
    EXPECT_EQ(*PlotAccess::impl(*plot).engineHome, fake.home());  // the reset keeps the home

    // A temporary file that vanished is reported when the data set goes.
    plot->data2DCurve(x, x, 3);
    ASSERT_EQ(plot->plotting(), 0);
    fs::remove(*dataSet(*plot, 0).fileName);
    EXPECT_EQ(captureStderr([&] { plot->deleteData(); }), "CPlot::RemoveCurves(): No such file or directory\n");
    // A temporary folder that cannot take files: no script, and the stream output is not chosen.
    ScopedEnv badTmp("TMP", "/nonexistent-rizari-dir");
    EXPECT_EQ(captureStderr([&] { EXPECT_EQ(plot->plotting(), -1); }),
              "Error: cannot create unique filename in CPlot\nCPlot::plotting(): can't open file  for wgnuplot commands.\n");
    EXPECT_EQ(captureStderr([&] { plot->outputType(PlotOutputType::Stream, "svg"); }), "Error: cannot create unique filename in CPlot\n");
    EXPECT_EQ(plot->getOutputType(), PlotOutputType::Stream);
}

#ifndef _WIN32
// A disk that fills up (a file size limit): the failed write is told, its partial file removed,
// the engine not run, and plotting() answers -1.
TEST(Files, AFullDiskIsReported)
{
    FakeEngine fake;
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    {
        std::vector<double> x(20000, 1.5);
        CPlot data, script;
        data.setEngineHome(fake.home().c_str());
        data.data2DCurve(x.data(), x.data(), 20000);
        std::string err = captureStderr([&] { EXPECT_EQ(data.plotting(), -1); });
        EXPECT_EQ(err.rfind("Error: cannot write file \"" + utf8(fake.tmpDir() / "rizari"), 0), 0u) << err;
        EXPECT_TRUE(err.ends_with(std::string(": ") + std::strerror(EFBIG) + "\n")) << err;
        EXPECT_EQ(fake.temporaryFiles(), 1);  // the script only
        script.setEngineHome(fake.home().c_str());  // a script too long for the disk
        script.data2DCurve(x.data(), x.data(), 1);
        script.nativeCmd(std::string(100000, '#').c_str());
        EXPECT_EQ(captureStderr([&] { EXPECT_EQ(script.plotting(), -1); }).rfind("Error: cannot write file", 0), 0u);
        setrlimit(RLIMIT_FSIZE, &old);
        EXPECT_EQ(fake.runs(), 0);
    }
    EXPECT_TRUE(fs::is_empty(fake.tmpDir()));
}
#endif

// Real pictures of every terminal whose format has an end are whole, and each cut short (at
// every eighth of its length, and before its last byte that is not blank) is found incomplete;
// so is an SVG cut just after a font name that holds "</svg>". A grid of two plots is one picture.
TEST(Files, CutPicturesAreFoundInEveryFormatWithAnEnd)
{
    TempDir home, out;
    if (!chooseRealEngine(home.path())) GTEST_SKIP() << "gnuplot is not installed";
    struct Case {
        const char* terminal;
        std::optional<ImageSize> size;  // as sizeOutput gives it
    };
    for (const auto& [terminal, size] : std::vector<Case>{
             {"png", {}}, {"pngc", {}}, {"gif", {}}, {"jpeg", {}}, {"pdf", {}}, {"e", {}}, {"post", {}},
             {"postscript eps", {}}, {"svg font \"x</svg>,9\"", {}}, {"svg mouse standalone", {}}, {"canvas", {}},
             {"sixel", {}}, {"pbm", {}}, {"pbm gray", {}}, {"pbm color", {}}, {"dumb", {}}, {"dumb nof", {}},
             {"dumb ansi", ImageSize{100, 30}}, {"tikz", {}}, {"tikz standalone", {}}, {"emf", {}}}) {
        PlotState state;
        OutputState& output = state.output;
        output.type = Output::File;
        output.terminal = terminal;
        output.size = size;
        output.file = "image";
        std::string script;
        ScriptWriter w(script);
        writeTerminalLines(w, state);
        const fs::path image = out.path() / "image", cut = out.path() / "cut";
        writeFile(out.path() / "plot.gp", script + "set title 'T'\nset multiplot layout 1,2\nplot sin(x)\nplot cos(x)\nunset multiplot\n");
        const std::string command = "cd '" + out.path().string() + "' && " + realEngineCommand(home.path()) + " plot.gp";
        ASSERT_EQ(std::system(command.c_str()), 0) << terminal;
        EXPECT_EQ(checkImage(utf8(image), output), ImageState::Complete) << terminal;
        const std::string bytes = readFile(image);
        std::vector<std::size_t> cuts{bytes.find_last_not_of(" \r\n\f")};
        for (std::size_t eighth = 1; eighth < 8; ++eighth) cuts.push_back(bytes.size() * eighth / 8);
        if (const std::size_t font = bytes.find("</svg>"); font < bytes.size() - 8) cuts.push_back(font + 6);
        for (const std::size_t length : cuts) {
            writeFile(cut, bytes.substr(0, length));
            EXPECT_EQ(checkImage(utf8(cut), output), ImageState::Incomplete) << terminal << " cut to " << length << " of " << bytes.size();
        }
    }
}

// An engine that says it is gnuplot 6 gets its own spelling of the lines it reads differently. Its
// version is asked only for such a line, and once.
TEST(Files, GnuplotSixGetsItsOwnSpellingAskedOnlyWhenNeeded)
{
    ScopedEnv claimed("RIZARI_FAKE_VERSION", "6.0");
    FakeEngine engine;
    CPlot data;
    const double x[] = {1, 2};
    data.data2DCurve(x, x, 2);
    data.setEngineHome(engine.home().c_str());
    ASSERT_EQ(data.plotting(), 0);
    EXPECT_EQ(engine.versionQuestions(), 0);
    CPlot p;
    p.text("label", TextAlign::Left, 0, 0, 0);
    p.setEngineHome(engine.home().c_str());
    ASSERT_EQ(p.plotting(), 0);
    ASSERT_EQ(p.plotting(), 0);
    EXPECT_EQ(engine.versionQuestions(), 1);
    const std::string script = engine.script();
    EXPECT_EQ(script.substr(script.find("plot ")), "plot '+' using (0):(0) every ::0::0 title \"'-'\" with dots\n\n");
}

// Separate plots may be used from separate threads: what they share (the shapes' colour cycle, the
// record of temporary files, the engine runs) stays consistent. Built with -fsanitize=thread this
// test is the data race check.
TEST(Threads, SeparatePlotsInSeparateThreads)
{
    FakeEngine fake;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads(4);
    for (std::thread& t : threads)
        t = std::thread([&] {
            for (int round = 0; round < 5; ++round) {
                CPlot p;
                p.setEngineHome(fake.home().c_str());
                const double x[] = {1, 2, 3};
                p.data2DCurve(x, x, 3);
                for (int i = 0; i < 20; ++i) p.circle(i, 0, 1);
                p.outputType(PlotOutputType::File, "png", "unused.png");
                failures += p.plotting() != 0;
            }
        });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(fake.runs(), 20);
    EXPECT_TRUE(fs::is_empty(fake.tmpDir()));
}

// TMP, else TEMP, else TMPDIR (Windows: its own Temp folder), else /tmp; a separator is added once.
// Temporary files get new private names there and are written through the descriptor that made them.
TEST(Platform, TemporaryFolderAndFiles)
{
    TempDir dir;
    ScopedEnv tmp("TMP", utf8(dir.path()));
    ScopedEnv temp("TEMP", "/from/temp/");
    ScopedEnv tmpdir("TMPDIR", "C:\\from\\tmpdir\\");
    EXPECT_EQ(platform::temporaryDirectory(), utf8(dir.path()) + (kWindows ? "\\" : "/"));
    auto a = platform::createTemporaryFile();
    auto b = platform::createTemporaryFile();
    ASSERT_TRUE(a && b);
    EXPECT_NE(a->name, b->name);
    std::fputs("written\n", a->file);  // in binary: no CR
    std::fclose(a->file);
    std::fclose(b->file);
#ifdef _WIN32
    EXPECT_EQ(unicode::utf8Path(a->name).parent_path(), dir.path());
#else
    // On POSIX systems both lie in one private folder of the process, mode 0700.
    const fs::path folder = unicode::utf8Path(a->name).parent_path();
    EXPECT_EQ(folder.parent_path(), dir.path());
    EXPECT_EQ(unicode::utf8Path(b->name).parent_path(), folder);
    struct stat st {};
    ASSERT_EQ(stat(a->name.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
#endif
    EXPECT_EQ(readFile(unicode::utf8Path(a->name)), "written\n");
    EXPECT_EQ(platform::removeTemporaryFile(a->name), 0);
    EXPECT_EQ(platform::removeTemporaryFile(a->name), -1);
    removeTemporaryFiles();  // what is left goes with the one call for the signal path
    EXPECT_TRUE(dir.empty());
#ifndef _WIN32
    // A private folder that is no longer ours (here: opened to its group) is never used again; a
    // new one goes with its last file.
    auto c = platform::createTemporaryFile();
    ASSERT_TRUE(c);
    std::fclose(c->file);
    const fs::path opened = unicode::utf8Path(c->name).parent_path();
    fs::permissions(opened, fs::perms::group_write, fs::perm_options::add);
    auto d = platform::createTemporaryFile();
    ASSERT_TRUE(d);
    std::fclose(d->file);
    EXPECT_NE(unicode::utf8Path(d->name).parent_path(), opened);
    EXPECT_EQ(platform::removeTemporaryFile(c->name), 0);
    EXPECT_EQ(platform::removeTemporaryFile(d->name), 0);
    EXPECT_TRUE(fs::remove(opened));
    EXPECT_TRUE(dir.empty());
#endif
    {
        ScopedEnv missing("TMP", utf8(dir.path() / "missing"));
        EXPECT_FALSE(platform::createTemporaryFile());
    }
    ScopedEnv noTmp("TMP", std::nullopt);
    EXPECT_EQ(platform::temporaryDirectory(), "/from/temp/");
    ScopedEnv noTemp("TEMP", "");
#ifdef _WIN32
    wchar_t windows[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    EXPECT_EQ(platform::temporaryDirectory(), unicode::narrow(windows) + "\\Temp\\");
#else
    EXPECT_EQ(platform::temporaryDirectory(), "C:\\from\\tmpdir\\/");  // a backslash is part of a POSIX name
    ScopedEnv noTmpdir("TMPDIR", std::nullopt);
    EXPECT_EQ(platform::temporaryDirectory(), "/tmp/");
#endif
}

// The engine's command line on Windows: each argument comes back whole, whatever blanks, quotes
// and backslashes (before a quote, or at the end before the closing quote) it holds.
TEST(Platform, WindowsCommandLinesKeepEveryArgument)
{
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"C:\\Ann Lee\\sbin\\wgnuplot.exe", ""}, "\"C:\\Ann Lee\\sbin\\wgnuplot.exe\" \"\""},
        {{"C:\\Ann Lee\\", "tab\there"}, "\"C:\\Ann Lee\\\\\" \"tab\there\""},
        {{"say \"cheese\"", "a\\\"b"}, "\"say \\\"cheese\\\"\" \"a\\\\\\\"b\""},
        {{"two\\\\\" end\\\\"}, "\"two\\\\\\\\\\\" end\\\\\\\\\""},
        {{"new\nline", "a\\b"}, "\"new\nline\" a\\b"},
    };
    for (const auto& [argv, line] : rows) {
        EXPECT_EQ(platform::windowsCommandLine(argv), line);
#ifdef _WIN32
        int count = 0;
        wchar_t** parts = CommandLineToArgvW(unicode::widen("program " + line).c_str(), &count);
        std::vector<std::string> back;
        for (int i = 1; i < count; ++i) back.push_back(unicode::narrow(parts[i]));
        LocalFree(parts);
        EXPECT_EQ(back, argv) << line;
#endif
    }
}

// The sine and cosine of MinGW builds, reduced by the library itself, agree with glibc's to an ulp,
// also at multiples of 90 degrees (where only rounding noise is left) and beyond a full turn.
TEST(Platform, ReducedSineAndCosineMatchTheCLibrary)
{
#ifdef __MINGW32__
    GTEST_SKIP() << "its sin and cos are what the reduction replaces; the section tests check the texts";
#endif
    const auto apart = [](double a, double b) { return a != b && std::nextafter(a, b) != b; };
    int mismatches = 0;
    for (double degrees = -1080; degrees <= 1080; degrees += 0.25) {
        const double x = degrees * draw::kPi / 180;
        mismatches += apart(draw::detail::reducedSine(x), std::sin(x)) + apart(draw::detail::reducedCosine(x), std::cos(x));
    }
    EXPECT_EQ(mismatches, 0);
}

// The interpreter's home first, then gnuplot on PATH; when neither has one, each plot says so and
// one line says where the library looked. Blanks, quotes and letters beyond ASCII in the names of
// the home and of the temporary folder reach the engine intact.
TEST(Engine, SearchOrderAndWhereItLooked)
{
    TempDir base, noEngine, onPath, emptyPath;  // before the fake engine points TMP at its own folder
    FakeEngine fake;
    const fs::path home = base.path() / unicode::utf8Path(reinterpret_cast<const char*>(u8"Zo\u00eb's engine"));
    const fs::path folder = base.path() / unicode::utf8Path(reinterpret_cast<const char*>(u8"Zo\u00eb \u00dcnal"));
    fs::create_directories(home / "sbin");
    fs::create_directory(folder);
    FakeEngine::install(FakeEngine::engineIn(home));
    const fs::path pathEngine = onPath.path() / (kWindows ? "gnuplot.exe" : "gnuplot");  // Windows: after wgnuplot.exe
    FakeEngine::install(pathEngine);
    ScopedEnv path("PATH", utf8(onPath.path()) + (kWindows ? ";" : ":") + utf8(emptyPath.path()));
    EXPECT_EQ(platform::engineCandidates(utf8(home)), (std::vector<std::string>{utf8(FakeEngine::engineIn(home)), utf8(pathEngine)}));
    EXPECT_EQ(platform::engineCandidates(utf8(noEngine.path())), std::vector<std::string>{utf8(pathEngine)});
    const double x[] = {1, 2};
    {
        ScopedEnv tmp("TMP", utf8(folder));
        CPlot p;
        p.setEngineHome(utf8(home).c_str());
        p.data2DCurve(x, x, 2);
        EXPECT_EQ(captureStderr([&] { EXPECT_EQ(p.plotting(), 0); }), "");
        const std::string script = *PlotAccess::state(p).output.script;
        EXPECT_EQ(script.rfind(utf8(folder / ""), 0), 0u) << script;
        EXPECT_EQ(fake.args(), script + "\n-\n");  // the window reads on
        EXPECT_EQ(fake.script(), readFile(unicode::utf8Path(script)));
    }
    ScopedEnv noHome("ZUHOME", std::nullopt);
    CPlot p;
    p.data2DCurve(x, x, 2);
    EXPECT_EQ(p.plotting(), 0);  // gnuplot on PATH, with nothing set up
    EXPECT_EQ(fake.runs(), 2);

    ScopedEnv nothing("PATH", utf8(emptyPath.path()));
    CPlot grid;
    grid.subplot(1, 2);
    grid.data2DCurve(x, x, 2);
    grid.setEngineHome(utf8(noEngine.path()).c_str());
    std::string err;
    EXPECT_EQ(captureStdout([&] { err = captureStderr([&] { EXPECT_EQ(grid.plotting(), 0); }); }),
              "Error: No plotting engine has been installed.\nError: No plotting engine has been installed.\n");
    EXPECT_EQ(err, "CPlot::plotting(): looked for the engine in " + utf8(FakeEngine::engineIn(noEngine.path())) +
                       " and on PATH; install gnuplot or set ZUHOME\n");
    EXPECT_EQ(readFile(*dataSet(grid, 0).fileName), "1 1\n2 2\n");  // the data file is written all the same
    // With the image on standard output, the messages keep out of it.
    CPlot stream;
    stream.outputType(PlotOutputType::Stream, "png");
    EXPECT_EQ(captureStdout([&] { err = captureStderr([&] { stream.plotting(); }); }), "");
    EXPECT_EQ(err, "Error: No plotting engine has been installed.\n"
                   "CPlot::plotting(): looked for the engine on PATH; install gnuplot or set ZUHOME\n");
}

// ---- The entry points, called with argument lists as the interpreter builds them ----

// The entry points that can take a trailing count: every row with forms, those written by hand
// (all but CPlot itself answer an int) and their second names.
#define ENTRY_SKIP(...)
#define ENTRY_INT(member, ...) extern "C" int32_t CPlot_##member##_zudl(ZuArgs*);
#define ENTRY_OWN(member, result, ...) ENTRY_OWN_##result(member)
#define ENTRY_OWN_Int(member) ENTRY_INT(member)
#define ENTRY_OWN_None(member) ENTRY_INT(member)
#define ENTRY_OWN_Instance(member)
RIZARI_ENTRY_POINTS(ENTRY_SKIP, ENTRY_SKIP, ENTRY_INT, ENTRY_INT, ENTRY_OWN, ENTRY_INT)
#undef ENTRY_INT
#define ENTRY_INT(member, ...) {#member, &CPlot_##member##_zudl},
const std::map<std::string, int32_t (*)(ZuArgs*)> kIntEntries = {
    RIZARI_ENTRY_POINTS(ENTRY_SKIP, ENTRY_SKIP, ENTRY_INT, ENTRY_INT, ENTRY_OWN, ENTRY_INT)};

// One value of each kind; ints take the value given.
void addArgument(ZuArgs* list, runner::Kind kind, int intValue)
{
    static const double kValues[] = {1, 2, 3};
    static const int32_t kExtent = 3;
    switch (kind) {
    case runner::Kind::Int: Zu_ArgsAddInt(list, intValue); break;
    case runner::Kind::Double: Zu_ArgsAddDouble(list, 0.5); break;
    case runner::Kind::Text: Zu_ArgsAddText(list, "red"); break;
    default: Zu_ArgsAddArray(list, kValues, 1, &kExtent); break;
    }
}

// Two plots on which what a member does shows in the command script: curves in the plane, the
// second drawn as boxes, with text markup and zero axes off; a surface in space with contours.
void setUpPlane(CPlot& p)
{
    const double values[] = {1, 2, 3};
    p.data2DCurve(values, values, 3), p.data2DCurve(values, values, 3);
    p.plotType(PlotType::Boxes, 1), p.enhanceText(false), p.axis(PlotAxis::XY, 0);
}

void setUpSpace(CPlot& p)
{
    const double values[] = {1, 2, 3, 4};
    p.dimension(3), p.data3DSurface(values, values, values, 2, 2), p.contourMode(ContourMode::Base);
}

// Every count of every member that takes one, from one below its forms to one past the longest;
// where a fixed argument decides the form, with each code a script can name and 0. The list holds
// the fixed arguments, the count and `count` arguments, those of the chosen form in its kinds. A
// count that chooses a form reads exactly its arguments and calls the member (a message, or a
// changed script, on one of the two plots); any other count reads nothing after the count, calls
// nothing, prints nothing, and an int member answers -1.
TEST(EntryPoints, EveryCountOfEveryMember)
{
    FakeEngine fake;
    std::set<int> codes = {0};
    for (const NamedCode& c : kScriptCodes) codes.insert(c.value);
    int noForm = 0;
    for (const runner::MemberInfo& m : runner::allMembers()) {
        if (!m.takesCount() || m.tail == runner::Tail::Lifecycle) continue;
        const int deciding = entry::decidingArgument(m.tail);
        for (int decidingValue : deciding < 0 ? std::set<int>{0} : codes) {
            for (int count = -1; count <= m.longestForm() + 1; ++count) {
                SCOPED_TRACE(m.name + " count " + std::to_string(count) + " deciding " + std::to_string(decidingValue));
                const auto kinds = m.formKinds(count, decidingValue);
                std::string printed;
                bool changed = false;
                for (void (*setUp)(CPlot&) : {setUpPlane, setUpSpace}) {
                    CPlot plot;
                    plot.setEngineHome(fake.home().c_str());
                    setUp(plot);
                    const std::optional<std::string> before = plotScriptText(PlotAccess::impl(plot));
                    ZuArgs* list = Zu_ArgsNew();
                    Zu_ArgsAddInstance(list, &plot);
                    for (std::size_t i = 0; i < m.fixed.size(); ++i)
                        addArgument(list, m.fixed[i], static_cast<int>(i) == deciding ? decidingValue : 1);
                    Zu_ArgsAddInt(list, count);
                    for (std::size_t k = 0; static_cast<int>(k) < count; ++k)
                        addArgument(list, kinds && k < kinds->size() ? (*kinds)[k] : runner::Kind::Int, 1);
                    int32_t answer = 0;
                    printed += captureStderr([&] { answer = kIntEntries.at(m.name)(list); });
                    const std::size_t tail = kinds ? std::min<std::size_t>(kinds->size(), std::max(count, 0)) : 0;
                    EXPECT_EQ(Zu_ArgsRead(list), static_cast<int>(2 + m.fixed.size() + tail));
                    EXPECT_EQ(Zu_ArgsStarts(list) * 10 + Zu_ArgsEnds(list), 11);  // one reading, ended once
                    Zu_ArgsFree(list);
                    if (!kinds) {
                        EXPECT_EQ(answer, m.result == runner::Result::Int ? -1 : 0);
                    }
                    captureStderr([&] { changed = changed || plotScriptText(PlotAccess::impl(plot)) != before; });
                }
                EXPECT_EQ(kinds.has_value(), changed || !printed.empty()) << printed;
                noForm += !kinds;
            }
        }
    }
    EXPECT_GT(noForm, 0);
}

}  // namespace
}  // namespace rizari::test
