// The script runner as a user meets it: scripts in, standard output, standard error and exit
// status out.
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "support/test_support.h"

using namespace rizari::test;

namespace {

const std::string kRunner = std::string(RIZARI_BUILD_DIR) + "/rizari";

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// Runs the script from a file named script.rz in a fresh directory.
Outcome run(const std::string& script, const std::string& options = "")
{
    TempDir dir;
    writeFile(dir.path() / "script.rz", script);
    std::string command = "cd '" + dir.path().string() + "' && '" + kRunner + "' " + options +
                          " script.rz >out.txt 2>err.txt";
    int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(dir.path() / "out.txt"), readFile(dir.path() / "err.txt")};
}

TEST(Language, ArithmeticArraysAndBuiltIns)
{
    Outcome r = run(
        "print(1 + 2, 7 - 10, 3 * 4, 7 / 2, 2 ^ 3 ^ 2, -2 ^ 2, (1 + 2) * 3, 1.5e1, .5)\n"
        "print(2 * 3.5, 10 / 4, 2 ^ -1, 1e3)\n"
        "print(\"a\\\"b\\\\c\\td\", null)\n"
        "x = [1, 2, 3]\n"
        "print(x * 2 + 1, -x, 1 / x)   # element-wise, scalars broadcast\n"
        "print([[1, 2], [3, 4]] - [[1, 1], [1, 1]], [x, x * 10])\n"
        "print(len(x), len([[1, 2], [3, 4], [5, 6]]), len(\"abc\"))\n"
        "print(linspace(0, 1, 5), linspace(2, 3, 1))\n"
        "print(meshx([1, 2], [7, 8, 9]), meshy([1, 2], [7, 8, 9]))\n"
        "print(sqrt(16), abs(-2), exp(0), cos([0, 0]), log(1))\n"
        "\n"
        "y = 5;  # a trailing semicolon\n"
        "print(y)\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "3 -3 12 3.5 512 -4 9 15 0.5\n"
              "7 2.5 0.5 1000\n"
              "a\"b\\c\td null\n"
              "[3, 5, 7] [-1, -2, -3] [1, 0.5, 0.333333]\n"
              "[[0, 1], [2, 3]] [[1, 2, 3], [10, 20, 30]]\n"
              "3 3 3\n"
              "[0, 0.25, 0.5, 0.75, 1] [2]\n"
              "[1, 1, 1, 2, 2, 2] [7, 8, 9, 7, 8, 9]\n"
              "4 2 1 [1, 1] 0\n"
              "5\n");
}

TEST(Language, ScriptErrorsNameFileAndLineAndExitWith2)
{
    struct Case {
        const char* script;
        const char* out;
        const char* err;
    };
    const Case cases[] = {
        // The whole script is parsed first: a syntax error runs nothing.
        {"print(1)\ny = (2\n", "", "rizari: script.rz:2: expected ')' but found end of line\n"},
        {"x = 1 $ 2\n", "", "rizari: script.rz:1: unexpected character '$'\n"},
        {"s = \"open\n", "", "rizari: script.rz:1: unterminated string\n"},
        {"print(PlotAxis.W)\n", "", "rizari: script.rz:1: unknown constant PlotAxis.W\n"},
        {"print(1)\nprint(z)\nprint(2)\n", "1\n", "rizari: script.rz:2: unknown variable 'z'\n"},
        {"print([1, [2]])\n", "", "rizari: script.rz:1: array elements must be all numbers or all arrays of the same shape\n"},
        {"print([1, 2] + [1, 2, 3])\n", "", "rizari: script.rz:1: arrays of different shapes in '+'\n"},
        {"print(\"a\" + 1)\n", "", "rizari: script.rz:1: cannot apply '+' to a text and an int\n"},
        {"print(spline(1))\n", "", "rizari: script.rz:1: unknown function 'spline'\n"},
        {"p = CPlot()\np.titel(\"x\")\n", "", "rizari: script.rz:2: unknown member 'titel'\n"},
        {"p = CPlot()\np.title()\n", "", "rizari: script.rz:2: title() expects 1 argument, got 0\n"},
        {"p = CPlot()\np.title(\"a\", \"b\")\n", "", "rizari: script.rz:2: title() expects 1 argument, got 2\n"},
        {"p = CPlot()\np.dimension(2.5)\n", "", "rizari: script.rz:2: dimension(): argument 1 must be an int, got a double 2.5\n"},
        {"p = CPlot()\np.title(3)\n", "", "rizari: script.rz:2: title(): argument 1 must be a text, got an int\n"},
        {"p = CPlot()\np.plotType(PlotType.Lines, 0, 1.5, 2)\n", "",
         "rizari: script.rz:2: plotType(): argument 3 must be an int, got a double 1.5\n"},
        {"p = CPlot()\np.data2D(1, [1])\n", "", "rizari: script.rz:2: data2D(): argument 1 must be an array, got an int\n"},
        {"p = CPlot()\np.data2DCurve([1, 2], [3, 4], 3)\n", "",
         "rizari: script.rz:2: data2DCurve(): argument 1 has 2 elements, the count asks for 3\n"},
        {"x = 3\nx.title(\"t\")\n", "", "rizari: script.rz:2: 'x' is an int, not a CPlot instance\n"},
        {"p = CPlot()\np.subplot(1, 2)\nc = p.getSubplot(0, 1)\ndelete c\n", "",
         "rizari: script.rz:4: cannot delete 'c': a subplot cell belongs to its top plot\n"},
        {"p = CPlot()\nq = p\ndelete p\nprint(p)\nq.title(\"x\")\n", "null\n", "rizari: script.rz:5: 'q' was deleted\n"},
        {"p = CPlot()\np.subplot(1, 2)\nc = p.getSubplot(0, 1)\np.deletePlots()\nc.title(\"x\")\n", "",
         "rizari: script.rz:5: 'c' is a subplot cell that its top plot has released\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        Outcome r = run(c.script);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(Members, ResultsKindsAndLibraryMessages)
{
    Outcome r = run(
        "p = CPlot()\n"
        "print(p.getTitle(), p.isUsed(), p.dataSetNum())\n"
        "p.title(\"Rates\")\n"
        "print(p.data2D([1, 2, 3], [[1, 2, 3], [4, 5, 6]]))\n"
        "print(p.getTitle(), p.isUsed(), p.dataSetNum(), p.getOutputType(), p.getStrokeWidth())\n"
        "p.dimension(4)    # the library's message does not stop the script\n"
        "print(p.getLabel(PlotAxis.X), p.getStrokeColor(), p.deleteData())\n"
        "p.lineType(0, 1, 4.0)   # an integral double is fine for an int\n"
        "p.subplot(2, 1)\n"
        "c = p.getSubplot(1, 0)\n"
        "c.title(\"lower\")\n"
        "print(c.getTitle(), p.getSubplot(3, 3), p.getSubplot(0, 0).getTitle())\n"
        "print(p.arrow(0, 0, 0, 1, 1, 0, \"nohead\", 5))   # a count no form takes\n"
        "print(p.arrow(0, 0, 0, 1, 1, 0, \"nohead\"))\n"
        "p.getGrid()\n"
        "delete p\n"
        "print(p)\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "null 0 -1\n"
              "0\n"
              "Rates 1 1 26 2\n"
              "x null null\n"
              "lower null Rates\n"
              "-1\n"
              "0\n"
              "null\n");
    EXPECT_EQ(r.err,
              "CPlot::dimension(): invalid dimension\n"
              "CPlot::lineType(): no plotting data has been added yet\n"
              "CPlot::getSubplot(): invalid subplot element\n");
}

// Instances made by CPlot() are destroyed at the end, also when an error stops the script: the
// destructor removes the command script and the data files from the temporary directory.
TEST(Members, InstancesAreDestroyedAtTheEnd)
{
    for (const char* ending : {"", "p.plotting(1)\n", "delete p\nprint(1)\n"}) {
        SCOPED_TRACE(ending);
        FakeEngine fake;
        ScopedEnv home("ZUHOME", fake.home());
        Outcome r = run(std::string("p = CPlot()\n"
                                    "q = CPlot()\n"
                                    "p.data2D([1, 2, 3], [3, 1, 2])\n"
                                    "q.data2D([1, 2], [2, 1])\n"
                                    "p.plotting()\n"
                                    "q.plotting()\n") +
                        ending);
        EXPECT_EQ(fake.runs(), 2);
        EXPECT_EQ(r.status, *ending == 'p' ? 2 : 0) << r.err;
        std::size_t left = 0;
        for ([[maybe_unused]] auto& entry : fs::directory_iterator(fake.tmpDir())) ++left;
        EXPECT_EQ(left, 0u);
    }
}

TEST(Runner, ModuleChoiceStandardInputAndUsage)
{
    Outcome missing = run("print(1)\n", "--module /nonexistent/librizari.dl");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err.rfind("rizari: cannot load module: /nonexistent/librizari.dl", 0), 0u) << missing.err;

    {
        ScopedEnv module("RIZARI_MODULE", "/nonexistent/other.dl");
        Outcome r = run("print(1)\n");
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("/nonexistent/other.dl"), std::string::npos);
        // An explicit --module wins over the variable.
        Outcome explicitModule = run("print(1)\n", "--module " + std::string(RIZARI_BUILD_DIR) + "/librizari.dl");
        EXPECT_EQ(explicitModule.out, "1\n");
    }

    TempDir dir;
    std::string command = "cd '" + dir.path().string() + "' && printf 'x = 2\\nprint(x ^ 10)\\nprint(q)\\n' | '" +
                          kRunner + "' - >out.txt 2>err.txt";
    int raw = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(raw), 2);
    EXPECT_EQ(readFile(dir.path() / "out.txt"), "1024\n");
    EXPECT_EQ(readFile(dir.path() / "err.txt"), "rizari: <stdin>:3: unknown variable 'q'\n");

    raw = std::system(("'" + kRunner + "' >/dev/null 2>&1").c_str());
    EXPECT_EQ(WEXITSTATUS(raw), 2);
}

}  // namespace
