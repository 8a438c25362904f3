// Whole scripts through the runner's evaluator, the module and the fake engine. Each script of
// tests/golden runs statement by statement; the comment lines under a statement say what it must
// write:
//   #= text   a line on standard output      #> text   a line on standard error
//   #! text   the script error it stops with
// (a last line without its line end carries " (no line end)"). NAME.gp beside NAME.rz holds every
// engine run of the script: its arguments, its command script and the temporary files it read.
// The scripts are plain runner scripts: `rizari tests/golden/NAME.rz` runs them too.
//
// RIZARI_UPDATE_GOLDEN=1 rewrites the expectations from what happens; review the diff.
#include <fstream>
#include <sstream>

#include "evaluator.h"
#include "module.h"
#include "parser.h"
#include "script_error.h"
#include "support.h"

namespace rizari::test {
namespace {

// RIZARI_GOLDEN_DIR runs the scripts of another folder instead.
const fs::path kGolden = std::getenv("RIZARI_GOLDEN_DIR") ? fs::path(std::getenv("RIZARI_GOLDEN_DIR"))
                                                           : fs::path(RIZARI_SOURCE_DIR) / "tests" / "golden";

bool isExpectation(const std::string& line)
{
    return line.size() >= 2 && line[0] == '#' && (line[1] == '=' || line[1] == '>' || line[1] == '!');
}

// The expectation lines for one stream of output.
std::string expectationLines(const char* tag, const std::string& text)
{
    std::string out;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) out += std::string(tag) + " " + line + "\n";
    if (!text.empty() && text.back() != '\n') out.insert(out.size() - 1, " (no line end)");
    return out;
}

struct Statement {
    std::string text;
    std::size_t line = 0;
    std::string expected;  // its expectation lines
};

std::vector<Statement> readStatements(const fs::path& file)
{
    std::vector<Statement> out;
    std::istringstream in(readFile(file));
    std::size_t number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (isExpectation(line) && !out.empty()) out.back().expected += line + "\n";
        else if (!isExpectation(line)) out.push_back({line, number, ""});
    }
    return out;
}

class Golden : public testing::TestWithParam<std::string> {};

TEST_P(Golden, ScriptWritesWhatItsExpectationsSay)
{
    const fs::path script = kGolden / (GetParam() + ".rz");
    const fs::path engineRuns = kGolden / (GetParam() + ".gp");
    const bool update = std::getenv("RIZARI_UPDATE_GOLDEN") != nullptr;
    // A module of its own, as a new interpreter process has: the shapes' colour cycle starts anew.
    const runner::Module module(RIZARI_MODULE_PATH);

    FakeEngine fake;
    ScopedEnv home("ZUHOME", fake.home());
    const fs::path cwd = fs::current_path();
    fs::current_path(kGolden);  // scripts name their data files relative to their own folder

    std::vector<Statement> statements = readStatements(script);
    std::string rewritten;
    {
        runner::Evaluator evaluator(module);
        for (Statement& s : statements) {
            std::string error;
            std::string err;
            const std::string out = captureStdout([&] {
                err = captureStderr([&] {
                    try {
                        evaluator.execute(runner::parseLine(s.text));
                    } catch (const runner::ScriptError& e) {
                        error = e.what();
                    }
                });
            });
            const std::string actual = expectationLines("#=", out) + expectationLines("#>", err) +
                                       (error.empty() ? "" : "#! " + error + "\n");
            if (!update) {
                EXPECT_EQ(s.expected, actual) << script.filename().string() << ":" << s.line << ": " << s.text;
            }
            rewritten += s.text + "\n" + actual;
        }
        EXPECT_EQ(captureStderr([&] { evaluator.destroyAll(); }), "") << "messages while destroying the plots";
    }
    fs::current_path(cwd);
    for (const auto& left : fs::directory_iterator(fake.tmpDir())) ADD_FAILURE() << "left after the script: " << left.path();

    const std::string transcript = fake.transcript();
    if (update) {
        writeFile(script, rewritten);
        if (!transcript.empty()) writeFile(engineRuns, transcript);
        else fs::remove(engineRuns);
    } else {
        EXPECT_EQ(fs::exists(engineRuns) ? readFile(engineRuns) : "", transcript) << engineRuns.filename().string();
    }
}

std::vector<std::string> goldenNames()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kGolden))
        if (entry.path().extension() == ".rz") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Scripts, Golden, testing::ValuesIn(goldenNames()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace rizari::test
