// rizari [--module PATH] SCRIPT: runs a plotting script against the module, calling its entry
// points the way the interpreter does. SCRIPT "-" reads standard input.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "evaluator.h"
#include "module.h"
#include "parser.h"
#include "script_error.h"

using namespace rizari::runner;

namespace {

constexpr int kScriptFailure = 2;

int usage()
{
    std::fputs("usage: rizari [--module PATH] SCRIPT\n", stderr);
    return kScriptFailure;
}

bool readLines(const std::string& file, std::vector<std::string>& lines)
{
    std::ifstream in;
    std::istream* src = &std::cin;
    if (file != "-") {
        in.open(file);
        if (!in) return false;
        src = &in;
    }
    for (std::string line; std::getline(*src, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();  // scripts saved with CRLF line ends
        lines.push_back(line);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string modulePath;
    std::string script;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--module" && i + 1 < argc) modulePath = argv[++i];
        else if (script.empty() && (arg == "-" || arg.rfind("-", 0) != 0)) script = arg;
        else return usage();
    }
    if (script.empty()) return usage();
    if (modulePath.empty()) modulePath = defaultModulePath();

    std::vector<std::string> lines;
    if (!readLines(script, lines)) {
        std::fprintf(stderr, "rizari: cannot read %s\n", script.c_str());
        return kScriptFailure;
    }
    std::string shownName = script == "-" ? "<stdin>" : script;

    // The whole script is parsed before anything runs, so a syntax error runs nothing.
    std::vector<Stmt> program;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        try {
            program.push_back(parseLine(lines[n]));
        } catch (const ScriptError& e) {
            std::fprintf(stderr, "rizari: %s:%zu: %s\n", shownName.c_str(), n + 1, e.what());
            return kScriptFailure;
        }
    }

    std::unique_ptr<Module> module;
    try {
        module = std::make_unique<Module>(modulePath);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rizari: %s\n", e.what());
        return kScriptFailure;
    }

    int status = 0;
    {
        Evaluator evaluator(*module);
        for (std::size_t n = 0; n < program.size(); ++n) {
            try {
                evaluator.execute(program[n]);
            } catch (const ScriptError& e) {
                std::fflush(stdout);
                std::fprintf(stderr, "rizari: %s:%zu: %s\n", shownName.c_str(), n + 1, e.what());
                status = kScriptFailure;
                break;
            } catch (const std::bad_alloc&) {
                std::fflush(stdout);
                std::fprintf(stderr, "rizari: %s:%zu: out of memory\n", shownName.c_str(), n + 1);
                status = kScriptFailure;
                break;
            }
        }
        evaluator.destroyAll();
    }
    std::fflush(stdout);
    return status;
}
