// With the real gnuplot: every example of the gallery, every file terminal and the stream output,
// each with texts that try to run a command. A run fails when gnuplot says anything on standard
// error or the image is not complete. The engine is RIZARI_GNUPLOT when set, else the gnuplot on PATH.
// Then engine sessions: the gallery as one batch, a failing plot amid others, a killed engine.
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "rizari/cplot.h"
#include "tests/support.h"

namespace rizari::test {
namespace {

const fs::path kSource = RIZARI_SOURCE_DIR;

// Empty when the file is a complete image of its kind, else what is wrong with it.
std::string imageProblem(const fs::path& file)
{
    if (!fs::exists(file)) return "missing";
    const std::string bytes = readFile(file), ext = file.extension().string();
    // The start of each kind, and what its end holds: a cut file lacks it.
    const std::map<std::string, std::pair<std::string, std::string>> kinds = {
        {".png", {"\x89PNG\r\n\x1a\n", "IEND"}}, {".svg", {"<", "</svg>"}},       {".pdf", {"%PDF", "%%EOF"}},
        {".gif", {"GIF8", ";"}},                     {".jpg", {"\xff\xd8\xff", "\xff\xd9"}}, {".eps", {"%!PS-Adobe", "%%Trailer"}}};
    const auto kind = kinds.find(ext);
    if (kind == kinds.end()) return "unexpected image type " + ext;
    if (bytes.rfind(kind->second.first, 0) != 0) return "no " + ext + " signature";
    if (bytes.find(kind->second.second, bytes.size() > 64 ? bytes.size() - 64 : 0) == std::string::npos) return ext + " cut short";
    return "";
}

class RealEngine : public testing::Test {
protected:
    void SetUp() override
    {
        if (!chooseRealEngine(home_.path())) GTEST_SKIP() << "gnuplot is not installed";
    }

    // A plot of a data file, rendered; returns what the run wrote on standard error. Its texts and
    // the file's name try to run a command: that would leave the marker file "pwned" in the
    // folder the engine runs in.
    std::string render(CPlot& p)
    {
        const std::string breakOut = "T\"\nsystem(\"touch pwned\")\n#", backquote = "cost `touch pwned` today";
        const fs::path data = out_.path() / "d\"`touch pwned`.dat";
        writeFile(data, "0 0\n1 1\n2 4\n");
        p.title(breakOut.c_str());
        p.label(PlotAxis::X, backquote.c_str());
        p.ticsLabel(PlotAxis::X, (breakOut + " 1.5)").c_str(), 1.5);
        p.ticsFormat(PlotAxis::Y, "`touch pwned` %g");
        p.text(breakOut.c_str(), TextAlign::Left, 1, 2, 0);
        p.dataFile(data.string().c_str());
        p.legend(backquote.c_str(), 0);
        p.setEngineHome(home_.path().string().c_str());
        int result = -2;
        const fs::path cwd = fs::current_path();
        fs::current_path(out_.path());
        const std::string err = captureStderr([&] { result = p.plotting(); });
        fs::current_path(cwd);
        EXPECT_EQ(result, 0);
        EXPECT_FALSE(fs::exists(out_.path() / "pwned"));
        return err;
    }

    TempDir home_, tmp_, out_;
    ScopedEnv tmpEnv_{"TMP", tmp_.path().string()};
    ScopedEnv tempEnv_{"TEMP", std::nullopt};
};

TEST_F(RealEngine, EveryFileTerminalAndTheStream)
{
    for (const auto& [terminal, file] : std::vector<std::pair<const char*, const char*>>{
             {"png color", "plot.png"}, {"pngcairo", "image\"`touch pwned`.png"}, {"gif", "plot.gif"}, {"jpeg", "plot.jpg"},
             {"svg", "plot.svg"}, {"pdfcairo", "plot.pdf"}, {"postscript eps color", "plot.eps"}}) {
        CPlot p;
        const fs::path image = out_.path() / file;
        p.outputType(PlotOutputType::File, terminal, image.string().c_str());
        p.sizeOutput(480, 360);  // for postscript and pdfcairo 6.66667 x 5 inches
        EXPECT_EQ(render(p), "") << terminal;
        EXPECT_EQ(imageProblem(image), "") << terminal;
    }
    CPlot p;
    p.outputType(PlotOutputType::Stream, "png");
    std::string err;
    writeFile(out_.path() / "stream.png", captureStdout([&] { err = render(p); }));
    EXPECT_EQ(err, "");
    EXPECT_EQ(imageProblem(out_.path() / "stream.png"), "");
}

#ifndef _WIN32
// File names that gnuplot reads as commands, pipes, data blocks or its pseudo-files name files:
// the picture lands in the file, and no command runs.
TEST_F(RealEngine, FileNamesAreOnlyFiles)
{
    const fs::path cwd = fs::current_path();
    fs::current_path(out_.path());
    CPlot p;
    for (const char* name : {"<touch pwned", "|touch pwned", "-", "+", "++", "$data"}) {
        writeFile(name, "0 0\n1 1\n");
        EXPECT_EQ(p.dataFile(name), 0) << name;
    }
    p.outputType(PlotOutputType::File, "pngcairo", "|touch pwned.png");
    p.setEngineHome(home_.path().string().c_str());
    int result = -2;
    const std::string err = captureStderr([&] { result = p.plotting(); });
    fs::current_path(cwd);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(err, "");
    EXPECT_FALSE(fs::exists(out_.path() / "pwned"));
    EXPECT_EQ(imageProblem(out_.path() / "|touch pwned.png"), "");
}
#endif

// What a picture shows: an image file's bytes, or for a PDF (which carries its date, compressed
// by newer cairo) its page drawn by pdftoppm.
std::string picture(const fs::path& file)
{
    if (file.extension() != ".pdf") return readFile(file);
    const fs::path page = file.parent_path() / (file.stem().string() + "-compared");
    const std::string command = "pdftoppm -png -r 72 -singlefile '" + file.string() + "' '" + page.string() + "'";
    if (std::system(command.c_str()) != 0) return "pdftoppm failed on " + file.string();
    std::string pixels = readFile(page.string() + ".png");
    fs::remove(page.string() + ".png");
    return pixels;
}

// The gallery script fails on any message or missing image; here every image must be complete.
// Then every example runs again in one runner, as one batch in a session: each image must be the
// same, byte for byte (a PDF pixel for pixel).
TEST_F(RealEngine, EveryExampleRendersAloneAndAsOneBatch)
{
    const fs::path gallery = out_.path() / "gallery";
    const std::string command = "'" + (kSource / "scripts/render-gallery.sh").string() + "' '" + RIZARI_BUILD_DIR + "' '" +
                                gallery.string() + "' >/dev/null 2>'" + (out_.path() / "err").string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readFile(out_.path() / "err"), "");
    for (const auto& entry : fs::directory_iterator(gallery)) {
        if (entry.is_regular_file() && entry.path().extension() != ".html") {
            EXPECT_EQ(imageProblem(entry.path()), "") << entry.path();
        }
    }
    EXPECT_TRUE(fs::is_empty(gallery / ".tmp"));  // the runner destroyed every plot

    const fs::path batch = out_.path() / "batch";
    fs::create_directories(batch / "tmp");
    fs::copy(kSource / "examples" / "data", batch / "data");
    std::ofstream all(batch / "all.rz");
    for (const auto& entry : fs::directory_iterator(kSource / "examples")) {
        if (entry.path().extension() != ".rz") continue;
        // An example that shows a window would wait for it to be closed.
        const std::string script = readFile(entry.path());
        if (script.find("\n# window\n") == std::string::npos) all << script << "\n";
    }
    all.close();
    const std::string run = "cd '" + batch.string() + "' && ZUHOME='" + (gallery / ".home").string() + "' TMP='" +
                            (batch / "tmp").string() + "' '" + RIZARI_BUILD_DIR + "/rizari' --session all.rz >stdout 2>err";
    EXPECT_EQ(std::system(run.c_str()), 0) << readFile(batch / "err");
    EXPECT_EQ(readFile(batch / "err"), "");
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(gallery)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name.starts_with(".") || entry.path().extension() == ".html" || name.ends_with("-page1.png"))
            continue;
        const fs::path twin = name.find("-stdout.") != std::string::npos ? batch / "stdout" : batch / name;
        EXPECT_TRUE(picture(twin) == picture(entry.path())) << name;
        ++compared;
    }
    EXPECT_GE(compared, 25);
    EXPECT_TRUE(fs::is_empty(batch / "tmp"));
}

// The processes this process started that still run or wait to be reaped.
std::vector<pid_t> children()
{
    std::vector<pid_t> found;
    std::istringstream list(readFile("/proc/self/task/" + std::to_string(getpid()) + "/children"));
    for (pid_t pid; list >> pid;) found.push_back(pid);
    return found;
}

class Session : public RealEngine {
protected:
    // Five small plots into PNG files of the folder; with `failing` the third one fails after it
    // left settings, a variable, a function and an open multiplot behind, which the plots after
    // it would show. What each plotting() said on standard error, and each result.
    std::vector<std::pair<int, std::string>> batch(const fs::path& folder, bool failing)
    {
        fs::create_directories(folder);
        std::vector<std::pair<int, std::string>> runs;
        const std::vector<double> x = {0, 1, 2, 3, 4}, y = {1, 3, 2, 5, 4};
        for (int i = 0; i < 5; ++i) {
            CPlot p;
            p.setEngineHome(home_.path().string().c_str());
            p.data2D(x, y);
            p.title(("plot " + std::to_string(i)).c_str());
            p.outputType(PlotOutputType::File, "pngcairo", (folder / (std::to_string(i) + ".png")).string().c_str());
            p.sizeOutput(320, 240);
            if (i > 2) p.nativeCmd("if (exists(\"left\")) set title \"left over\"");
            if (failing && i == 2)
                for (const char* line : {"plot undefined_here(x)", "set multiplot", "f(x) = 2 * x", "left = 1",
                                         "set label 1 \"left over\" at 1,1", "set border 0"})  // written newest first
                    p.nativeCmd(line);
            int result = -2;
            std::string err = captureStderr([&] { result = p.plotting(); });
            runs.emplace_back(result, std::move(err));
        }
        return runs;
    }
};

// A failing plot amid a batch: its own error and the usual line, for it alone; the plots after it
// are the same images as in a batch without it, and as without a session.
TEST_F(Session, AFailedPlotIsReportedAloneAndLeavesNothingBehind)
{
    std::vector<std::pair<int, std::string>> alone, clean, failed;
    alone = batch(out_.path() / "alone", false);
    {
        EngineSession session;
        clean = batch(out_.path() / "clean", false);
        failed = batch(out_.path() / "failed", true);
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(alone[i], std::make_pair(0, std::string())) << i;
        EXPECT_EQ(clean[i], std::make_pair(0, std::string())) << i;
        const std::string name = std::to_string(i) + ".png";
        EXPECT_EQ(readFile(out_.path() / "clean" / name), readFile(out_.path() / "alone" / name)) << i;
        if (i == 2) continue;
        EXPECT_EQ(failed[i], std::make_pair(0, std::string())) << i;
        EXPECT_EQ(readFile(out_.path() / "failed" / name), readFile(out_.path() / "alone" / name)) << i;
    }
    EXPECT_EQ(failed[2].first, -1);
    const std::string& err = failed[2].second;
    EXPECT_NE(err.find("undefined function: undefined_here"), std::string::npos) << err;
    const std::string line = "CPlot::plotting(): gnuplot failed (exit status 1); script: ";
    EXPECT_NE(err.find(line), std::string::npos) << err;
    EXPECT_TRUE(err.ends_with("\n") && err.find('\n', err.find(line)) == err.size() - 1) << err;
    EXPECT_TRUE(children().empty());  // the engine ended with the session, and was reaped
    EXPECT_TRUE(tmp_.empty());
}

// gnuplot keeps a terminal's options from one "set terminal" to the next: in a session a plot's
// size and font must not reach the plots after it.
TEST_F(Session, TerminalOptionsDoNotCarryOver)
{
    const std::vector<double> x = {0, 1, 2}, y = {2, 0, 1};
    const auto draw = [&](const fs::path& folder) {
        fs::create_directories(folder);
        for (int i = 0; i < 4; ++i) {
            CPlot p;
            p.setEngineHome(home_.path().string().c_str());
            p.data2D(x, y);
            if (i == 0) p.sizeOutput(200, 150);
            if (i == 2) p.font("Sans", 16);
            p.outputType(PlotOutputType::File, "pngcairo", (folder / (std::to_string(i) + ".png")).string().c_str());
            EXPECT_EQ(p.plotting(), 0) << i;
        }
    };
    draw(out_.path() / "alone");
    {
        EngineSession session;
        draw(out_.path() / "session");
    }
    for (int i = 0; i < 4; ++i) {
        const std::string name = std::to_string(i) + ".png";
        EXPECT_EQ(readFile(out_.path() / "session" / name), readFile(out_.path() / "alone" / name)) << i;
    }
}

// Plots of several threads share the session's engine one run at a time.
TEST_F(Session, PlotsOfSeveralThreadsTakeTurns)
{
    EngineSession session;
    const std::vector<double> x = {0, 1, 2}, y = {2, 0, 1};
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 4; ++i) {
                CPlot p;
                p.setEngineHome(home_.path().string().c_str());
                p.data2D(x, y);
                p.outputType(PlotOutputType::File, "pngcairo", (out_.path() / (std::to_string(t * 4 + i) + ".png")).string().c_str());
                failures += p.plotting() != 0;
            }
        });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(failures, 0);
    for (int i = 1; i < 12; ++i) EXPECT_EQ(readFile(out_.path() / (std::to_string(i) + ".png")), readFile(out_.path() / "0.png")) << i;
}

// An engine killed between two plots is started again by the next plot, which draws as before.
TEST_F(Session, AKilledEngineIsStartedAgain)
{
    EngineSession session;
    const std::vector<double> x = {0, 1, 2}, y = {2, 0, 1};
    CPlot p;
    p.setEngineHome(home_.path().string().c_str());
    p.data2D(x, y);
    p.outputType(PlotOutputType::File, "pngcairo", (out_.path() / "first.png").string().c_str());
    ASSERT_EQ(p.plotting(), 0);
    const std::vector<pid_t> engines = children();
    ASSERT_EQ(engines.size(), 1u);
    ASSERT_EQ(kill(engines.front(), SIGKILL), 0);
    for (int i = 0; i < 100 && readFile("/proc/" + std::to_string(engines.front()) + "/stat").find(" Z ") == std::string::npos; ++i)
        usleep(20000);  // until it is dead, not yet reaped
    p.outputType(PlotOutputType::File, "pngcairo", (out_.path() / "second.png").string().c_str());
    EXPECT_EQ(captureStderr([&] { EXPECT_EQ(p.plotting(), 0); }), "");
    EXPECT_EQ(readFile(out_.path() / "second.png"), readFile(out_.path() / "first.png"));
    const std::vector<pid_t> now = children();
    ASSERT_EQ(now.size(), 1u);  // the new engine; the killed one is reaped
    EXPECT_NE(now.front(), engines.front());
}

}  // namespace
}  // namespace rizari::test
