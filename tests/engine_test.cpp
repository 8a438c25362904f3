// With the real gnuplot: every example of the gallery, every file terminal and the stream output,
// each with texts that try to run a command. A run fails when gnuplot says anything on standard
// error or the image is not complete. The engine is RIZARI_GNUPLOT when set, else the gnuplot on PATH.
#include <cstdlib>
#include <map>

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
        fs::create_directories(home_.path() / "sbin");
        if (const char* chosen = std::getenv("RIZARI_GNUPLOT"); chosen && *chosen)
            fs::create_symlink(chosen, home_.path() / "sbin" / "gnuplot");
        else if (std::system("command -v gnuplot >/dev/null") != 0)
            GTEST_SKIP() << "gnuplot is not installed";
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

// The gallery script fails on any message or missing image; here every image must be complete.
TEST_F(RealEngine, EveryExampleRenders)
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
}

}  // namespace
}  // namespace rizari::test
