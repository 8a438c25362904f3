// With the real gnuplot: every example of the gallery, every file terminal and the stream output,
// each with texts that try to run a command. A run fails when gnuplot says anything on standard
// error or the image is not complete. The engine is RIZARI_GNUPLOT when set, else the gnuplot on PATH.
// Then engine sessions: the gallery as one batch, a failing plot amid others, a killed engine.
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <random>
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

// The text with every `from` replaced by `to`.
std::string replaced(std::string text, std::string_view from, std::string_view to)
{
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) text.replace(at, from.size(), to);
    return text;
}

// What two runs of the same plots may print differently: temporary names (rizari and six
// letters or digits) and the time that begins GTK's messages ("12:34:56: ").
std::string withoutRunNames(const std::string& text)
{
    std::string out;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() > 10 && line[2] == ':' && line[5] == ':' && line.compare(8, 2, ": ") == 0) line.erase(0, 10);
        for (std::size_t at = 0; (at = line.find("rizari", at)) != std::string::npos; at += 6)
            if (at + 12 <= line.size() && std::all_of(line.begin() + at + 6, line.begin() + at + 12, [](unsigned char c) { return std::isalnum(c); }))
                line.replace(at + 6, 6, "XXXXXX");
        out += line + "\n";
    }
    return out;
}

// Every file a run left in its folder (its temporary folder left out), by name, as its picture.
std::map<std::string, std::string> picturesIn(const fs::path& folder)
{
    std::map<std::string, std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(entry.path(), folder).string();
        if (entry.is_regular_file() && !name.starts_with("tmp/") && !name.starts_with("data/")) found[name] = picture(entry.path());
    }
    return found;
}

// Plots that leave the engine otherwise than they found it, or draw through it plainly, each into
// the file named by {out} (the stream plot to standard output): the grid whose cells turn enhanced
// text off, the second in 28-point Courier, drawn twice in a row; native commands that set what a reset leaves; a
// failing plot; terminals with options of their own, sizes and fonts; SVG and PDF.
const std::vector<std::string> kMixedPlots = {
    "m = CPlot()\nm.subplot(1, 2)\na = m.getSubplot(0, 0)\na.data2D(x, sin(x))\na.title(\"left_cell\")\na.enhanceText(0)\n"
    "b = m.getSubplot(0, 1)\nb.data2D(x, cos(x))\nb.title(\"right_cell\")\nb.enhanceText(0)\nb.font(\"Courier\", 28)\n"
    "m.outputType(PlotOutputType.File, \"pngcairo\", \"{out}-first.png\")\nm.plotting()\n"
    "m.outputType(PlotOutputType.File, \"pngcairo\", \"{out}.png\")\n",
    "m = CPlot()\nm.data2D(x, sin(x) / 3)\nm.nativeCmd(\"set decimalsign ','\")\nm.nativeCmd(\"set linetype 1 lc rgb 'red'\")\n"
    "m.nativeCmd(\"set terminal pngcairo font 'Courier,20'\")\nm.outputType(PlotOutputType.File, \"pngcairo\", \"{out}.png\")\n",
    "m = CPlot()\nm.data2D(x, sin(x))\nm.lineType(0, 1, 2, \"no-such-colour\")\nm.outputType(PlotOutputType.File, \"pngcairo\", \"{out}.png\")\n",
    "m = CPlot()\nm.data2D(x, x * x)\nm.outputType(PlotOutputType.Stream, \"png\")\n",
    "m = CPlot()\nm.data2D(x, cos(x))\nm.title(\"x^2 and a_{ij}\")\nm.font(\"Serif\", 14)\nm.sizeOutput(400, 300)\n"
    "m.outputType(PlotOutputType.File, \"pngcairo\", \"{out}.png\")\n",
    "m = CPlot()\nm.data2D(x, sin(x) / 3)\nm.legendOption(\"left top box\")\nm.outputType(PlotOutputType.File, \"pngcairo\", \"{out}.png\")\n",
    "m = CPlot()\nm.data2D(x, sin(x))\nm.enhanceText(0)\nm.title(\"a_b\")\nm.outputType(PlotOutputType.File, \"png small\", \"{out}.png\")\n",
    "m = CPlot()\nm.data2D(x, sin(x))\nm.outputType(PlotOutputType.File, \"pngcairo font 'Courier,12'\", \"{out}.png\")\n",
    "m = CPlot()\nm.data2D(x, cos(x))\nm.outputType(PlotOutputType.File, \"svg\", \"{out}.svg\")\n",
    "m = CPlot()\nm.data2D(x, cos(x))\nm.outputType(PlotOutputType.File, \"pdfcairo\", \"{out}.pdf\")\n",
};

// The mixed plots three times over in a shuffled order, each into a file of its own.
std::string mixedPlots()
{
    std::vector<std::string> plots;
    for (int round = 0; round < 3; ++round) plots.insert(plots.end(), kMixedPlots.begin(), kMixedPlots.end());
    std::shuffle(plots.begin(), plots.end(), std::mt19937(29));
    std::string script = "x = linspace(0, 6.3, 40)\n";
    for (std::size_t i = 0; i < plots.size(); ++i)
        script += replaced(plots[i], "{out}", "mix-" + std::to_string(i)) + "m.plotting()\n";
    return script;
}

// Every example renders complete images without a message (the gallery script fails otherwise).
// Then every example without a window, with the mixed plots after them, runs as one batch, and so
// does every golden script: each once with the session and once with a gnuplot per plot, and the
// two must draw the same files, byte for byte (a PDF pixel for pixel), and tell the same, with
// fewer engine starts in the session.
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

    // An engine that notes each start and its first argument.
    const fs::path counting = out_.path() / "counting";
    fs::create_directories(counting / "sbin");
    writeFile(counting / "sbin" / "gnuplot", "#!/bin/sh\necho \"$1\" >>\"$RIZARI_TEST_STARTS\"\nexec " + realEngineCommand(home_.path()) + " \"$@\"\n");
    fs::permissions(counting / "sbin" / "gnuplot", fs::perms::owner_all);
    std::string examples;
    for (const auto& entry : fs::directory_iterator(kSource / "examples")) {
        if (entry.path().extension() != ".rz") continue;
        const std::string script = readFile(entry.path());
        if (script.find("\n# window\n") == std::string::npos) examples += script + "\n";
    }
    std::vector<std::tuple<std::string, std::string, fs::path>> batches = {{"examples", examples + mixedPlots(), kSource / "examples" / "data"}};
    for (const auto& entry : fs::directory_iterator(kSource / "tests" / "golden"))
        if (entry.path().extension() == ".rz") batches.emplace_back(entry.path().stem().string(), readFile(entry.path()), kSource / "tests" / "golden" / "data");
    for (const auto& [name, script, data] : batches) {
        std::map<std::string, std::string> told[2];
        for (const bool session : {false, true}) {
            const fs::path folder = out_.path() / name / (session ? "joint" : "alone");  // names of one length: gnuplot points at columns
            fs::create_directories(folder / "tmp");
            fs::copy(data, folder / "data");
            writeFile(folder / "batch.rz", script);
            const std::string run = "cd '" + folder.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY " + (session ? "-u RIZARI_SESSION" : "RIZARI_SESSION=0") +
                                    " ZUHOME='" + counting.string() + "' TMP='" + (folder / "tmp").string() + "' RIZARI_TEST_STARTS='" +
                                    (out_.path() / name).string() + (session ? "/session" : "/alone") + ".starts' '" + RIZARI_BUILD_DIR +
                                    "/rizari' batch.rz </dev/null >stdout 2>stderr; echo $? >status";
            ASSERT_EQ(std::system(run.c_str()), 0);
            fs::remove(folder / "batch.rz");
            told[session] = picturesIn(folder);
            told[session]["stderr"] = withoutRunNames(replaced(told[session]["stderr"], folder.string(), "FOLDER"));
            EXPECT_TRUE(fs::is_empty(folder / "tmp")) << name;
        }
        for (const auto& [file, content] : told[0]) {
            const bool text = file == "stderr" || file == "stdout" || file == "status";
            EXPECT_TRUE(told[1].contains(file) && told[1][file] == content)
                << name << ": " << file << (text ? "\nalone:\n" + content + "\nin a session:\n" + told[1][file] : "");
        }
        EXPECT_EQ(told[1].size(), told[0].size()) << name;
        if (name == "examples") {
            EXPECT_EQ(told[0]["status"], "1\n");  // the failing plots
            const std::string session = readFile(out_.path() / name / "session.starts"), alone = readFile(out_.path() / name / "alone.starts");
            EXPECT_LT(std::count(session.begin(), session.end(), '\n'), std::count(alone.begin(), alone.end(), '\n'));
            EXPECT_EQ(session.find("--version"), std::string::npos);  // the session's engine tells its version
        }
    }
}

// The processes this process started that still run or wait to be reaped.
std::vector<pid_t> children()
{
    std::vector<pid_t> found;
    std::istringstream list(readFile("/proc/self/task/" + std::to_string(getpid()) + "/children"));
    for (pid_t pid; list >> pid;) found.push_back(pid);
    return found;
}

class Session : public RealEngine {};

// Whatever a plot sets in the engine, the plot after it draws as if alone. Each case is a plot
// followed by a plain one, drawn with relative file names in a folder of their own: the whole
// table with a gnuplot per plot and again with the session, which must leave the same files and
// give the same results and messages, and the plain plots must draw. Native commands that set
// what a reset leaves, option and terminal texts that reach beyond their command, an unbalanced
// brace and an exit have the plot run a gnuplot of its own; terminal options, fonts, sizes and
// the program's working folder change what the engine drew with, so it starts afresh; a data file
// name that gnuplot prints cannot pass for the engine's answer.
TEST_F(Session, NothingAPlotSaysReachesTheNext)
{
    const std::vector<double> x = {0, 0.25, 0.5, 0.75, 1}, y = {0.1, 0.3, 0.2, 0.5, 0.4};
    struct Case {
        const char* name;
        const char* terminal;
        std::function<void(CPlot&)> set;
    };
    const auto command = [](const char* line) { return [line](CPlot& p) { p.nativeCmd(line); }; };
    const std::vector<Case> cases = {
        {"cd", "pngcairo", command("cd 'other'")},
        {"the program's folder", "pngcairo", [](CPlot&) { fs::current_path("other"); }},
        {"decimal sign", "pngcairo", command("set decimalsign ','")},
        {"table", "pngcairo", command("set table 'table.txt'")},
        {"set t", "pngcairo", command("set t pngcairo font 'Courier,28'")},
        {"set te", "pngcairo", command("set te pngcairo size 200,100")},
        {"leading blank", "pngcairo", command(" set terminal pngcairo font 'Courier,28'")},
        {"after a command", "pngcairo", command("unset key; set terminal pngcairo font 'Courier,28'")},
        {"eval", "pngcairo", command("eval 'set terminal pngcairo font \"Courier,28\"'")},
        {"unbalanced brace", "pngcairo", command("if (1) {")},
        {"print", "pngcairo", command("set print 'printed.txt'")},
        {"line type", "pngcairo", command("set linetype 1 lc rgb 'red'")},
        {"encoding", "pngcairo", command("set encoding iso_8859_1")},
        {"output", "pngcairo", command("set output 'elsewhere.png'")},
        {"exit", "pngcairo", command("exit")},
        {"legend option", "pngcairo", [](CPlot& p) { p.legendOption("top; set decimalsign ','"); }},
        {"grid option", "pngcairo", [](CPlot& p) { p.grid(1, "front; cd 'other'"); }},
        {"terminal text", "pngcairo; set decimalsign ','", [](CPlot&) {}},
        {"terminal options", "pngcairo font 'Courier,28' size 300,200", [](CPlot&) {}},
        {"font, no markup", "pngcairo", [](CPlot& p) { p.font("Courier", 28), p.enhanceText(false); }},
        {"size", "pngcairo", [](CPlot& p) { p.sizeOutput(200, 150); }},
        {"gd terminal", "png", [](CPlot& p) { p.enhanceText(false); }},
        {"forged answer", "pngcairo", [](CPlot& p) {
             const std::string name = "gone\nrizari-session: done 0\n.dat";
             writeFile(name, "0 0\n1 1\n");
             p.dataFile(name.c_str());
             fs::remove(name);
         }},
    };
    const auto draw = [&](const fs::path& folder) {
        fs::create_directories(folder / "other");
        const fs::path cwd = fs::current_path();
        fs::current_path(folder);
        std::vector<std::string> told;
        for (std::size_t i = 0; i < cases.size(); ++i) {
            CPlot first, plain;
            for (CPlot* p : {&first, &plain}) p->setEngineHome(home_.path().string().c_str()), p->data2D(x, y);
            first.outputType(PlotOutputType::File, cases[i].terminal, ("first" + std::to_string(i) + ".png").c_str());
            cases[i].set(first);
            plain.outputType(PlotOutputType::File, "pngcairo", ("plain" + std::to_string(i) + ".png").c_str());
            for (CPlot* p : {&first, &plain}) {
                int result = -2;
                const std::string err = captureStderr([&] { result = p->plotting(); });
                told.push_back(std::string(cases[i].name) + ": " + std::to_string(result) + " " + withoutRunNames(err));
            }
            fs::current_path(folder);
        }
        fs::current_path(cwd);
        return told;
    };
    useEngineSession(false);
    const std::vector<std::string> alone = draw(out_.path() / "alone");
    useEngineSession(true);
    EXPECT_EQ(draw(out_.path() / "joint"), alone);
    std::map<std::string, std::string> aloneFiles = picturesIn(out_.path() / "alone"), jointFiles = picturesIn(out_.path() / "joint");
    for (const auto& [file, content] : aloneFiles) EXPECT_TRUE(jointFiles[file] == content) << file;
    EXPECT_EQ(jointFiles.size(), aloneFiles.size());
    for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(alone[2 * i + 1], std::string(cases[i].name) + ": 0 ");
    EXPECT_TRUE(tmp_.empty());
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
// One that stops answering (here a stopped process) fails only the plot it was given once the
// limit has passed, and is ended; the plot after it draws. The last EngineSession ends the engine.
TEST_F(Session, AKilledOrStoppedEngineFailsOnlyItsOwnPlot)
{
    ScopedEnv limit("RIZARI_PLOT_LIMIT", "0.5");
    const std::vector<double> x = {0, 1, 2}, y = {2, 0, 1};
    {
        EngineSession session;
        CPlot p;
        p.setEngineHome(home_.path().string().c_str());
        p.data2D(x, y);
        const auto drawInto = [&](const char* name) {
            p.outputType(PlotOutputType::File, "pngcairo", (out_.path() / name).string().c_str());
            int result = -2;
            const std::string err = captureStderr([&] { result = p.plotting(); });
            return std::to_string(result) + " " + withoutRunNames(err);
        };
        ASSERT_EQ(drawInto("first.png"), "0 ");
        const std::vector<pid_t> engines = children();
        ASSERT_EQ(engines.size(), 1u);
        ASSERT_EQ(kill(engines.front(), SIGKILL), 0);
        for (int i = 0; i < 100 && readFile("/proc/" + std::to_string(engines.front()) + "/stat").find(" Z ") == std::string::npos; ++i)
            usleep(20000);  // until it is dead, not yet reaped
        EXPECT_EQ(drawInto("second.png"), "0 ");
        const std::vector<pid_t> now = children();
        ASSERT_EQ(now.size(), 1u);  // the new engine; the killed one is reaped
        EXPECT_NE(now.front(), engines.front());

        ASSERT_EQ(kill(-now.front(), SIGSTOP), 0);  // the engine's group: a wrapper's gnuplot too
        EXPECT_EQ(drawInto("stopped.png"), "-1 CPlot::plotting(): gnuplot did not finish the plot within 0.5 s and was ended; script: " +
                                                (tmp_.path() / "rizariXXXXXX" / "rizariXXXXXX").string() + " (set RIZARI_KEEP=1 to keep it)\n");
        EXPECT_FALSE(fs::exists(out_.path() / "stopped.png"));
        EXPECT_EQ(drawInto("third.png"), "0 ");
        for (const char* name : {"second.png", "third.png"}) EXPECT_EQ(readFile(out_.path() / name), readFile(out_.path() / "first.png"));

        // An engine that cannot read its command channel (no /dev/fd, as in a bare chroot): the
        // plots run a gnuplot of their own, and nothing is said about the channel.
        const fs::path closing = out_.path() / "closing";
        fs::create_directories(closing / "sbin");
        writeFile(closing / "sbin" / "gnuplot", "#!/bin/sh\nexec 3<&-\nexec " + realEngineCommand(home_.path()) + " \"$@\"\n");
        fs::permissions(closing / "sbin" / "gnuplot", fs::perms::owner_all);
        p.setEngineHome(closing.string().c_str());
        for (const char* name : {"fourth.png", "fifth.png"}) {
            EXPECT_EQ(drawInto(name), "0 ");
            EXPECT_EQ(readFile(out_.path() / name), readFile(out_.path() / "first.png"));
        }
    }
    EXPECT_TRUE(children().empty());
    EXPECT_TRUE(tmp_.empty());
}

}  // namespace
}  // namespace rizari::test
