// libFuzzer target: any text as a runner script, parsed whole and run through the module as the
// runner runs it, with an engine that returns at once (so every output, the window too,
// writes its whole command script). What must hold: no crash, no leak, no undefined behaviour,
// no exception out of the module. Sizes stay small (numbers up to 1000, no products or powers,
// one division a line, a few hundred statements an input, loops included), so that no run is
// about a genuinely huge request. Run it with the seeds of
// examples/ and tests/golden/:  runner_fuzz -close_fd_mask=3 SEEDS
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "runner/evaluator.h"
#include "runner/lexer.h"
#include "runner/module.h"
#include "runner/parser.h"
#include "runner/script_error.h"

namespace fs = std::filesystem;

namespace {

// A private working folder, temporary folder and interpreter home whose engine is /bin/true.
struct World {
    World()
    {
        char pattern[] = "/tmp/rizari-fuzz-XXXXXX";
        const fs::path root = mkdtemp(pattern);
        fs::create_directories(root / "home" / "sbin");
        fs::create_directories(root / "tmp");
        fs::create_directories(root / "work" / "data");
        fs::create_symlink("/bin/true", root / "home" / "sbin" / "gnuplot");
        std::ofstream(root / "work" / "data" / "points.dat") << "1 2\n2 4\n";
        setenv("ZUHOME", (root / "home").c_str(), 1);
        setenv("TMP", (root / "tmp").c_str(), 1);
        fs::current_path(root / "work");
        root_ = root;
    }
    ~World()
    {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    fs::path root_;
    rizari::runner::Module module{RIZARI_MODULE_PATH};
};

constexpr int kMostStatements = 1000;

// Whether the line asks for sizes the fuzzer should not try (see above); false for a malformed
// line, which the run then reports as such.
bool huge(const std::string& line)
{
    try {
        int divisions = 0;
        for (const rizari::runner::Token& t : rizari::runner::lexLine(line)) {
            if ((t.kind == rizari::runner::Tok::Int && (t.intValue > 1000 || t.intValue < -1000)) ||
                (t.kind == rizari::runner::Tok::Double && !(t.doubleValue >= -1000 && t.doubleValue <= 1000)) ||
                t.is('*') || t.is('^') || (t.is('/') && ++divisions > 1))
                return true;
        }
    } catch (const rizari::runner::ScriptError&) {
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static World world;
    const std::string text(reinterpret_cast<const char*>(data), size);
    // Device and system files never end (a data file of /dev/zero has endless lines).
    if (text.find("/dev") != std::string::npos || text.find("/proc") != std::string::npos ||
        text.find("/sys") != std::string::npos)
        return -1;
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(huge(line) ? std::string() : line);
    }
    std::vector<rizari::runner::Stmt> program;
    try {
        program = rizari::runner::parseScript(lines);
    } catch (const rizari::runner::ScriptError&) {
        return 0;
    }
    rizari::runner::Evaluator evaluator(world.module);
    // Loops could run for long, or grow sizes by repeated sums: every input runs a bounded number
    // of statements.
    int statements = 0;
    evaluator.beforeEachStatement([&statements] {
        if (++statements > kMostStatements) throw rizari::runner::ScriptError("statement budget spent");
    });
    try {
        for (const rizari::runner::Stmt& statement : program) evaluator.execute(statement);
    } catch (const rizari::runner::ScriptError&) {
    }
    evaluator.destroyAll();
    return 0;
}
