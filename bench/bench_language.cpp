// The runner's language in this process: a loop of simple arithmetic, one round a value, against
// the same arithmetic on a whole array at once, and the parsing of a long script. The ratio
// loop/array is the price of a round of the loop over one element of an array operation.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "runner/evaluator.h"
#include "runner/module.h"
#include "runner/parser.h"

using namespace rizari::runner;

namespace {

const Module& module()
{
    static const Module loaded(RIZARI_MODULE_PATH);
    return loaded;
}

void run(const std::vector<std::string>& lines)
{
    Evaluator evaluator(module());
    for (const Stmt& s : parseScript(lines)) evaluator.execute(s);
}

void Loop(benchmark::State& state)
{
    const std::string n = std::to_string(state.range(0));
    const std::vector<std::string> script = {"s = 0", "for i in range(0, " + n + ") {", "    s = s + i * 2 % 7", "}"};
    for (auto _ : state) run(script);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void ArrayOperation(benchmark::State& state)
{
    const std::string n = std::to_string(state.range(0));
    const std::vector<std::string> script = {"i = range(0, " + n + ")", "s = i * 2 % 7"};
    for (auto _ : state) run(script);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void Parse(benchmark::State& state)
{
    std::vector<std::string> script;
    for (int64_t k = 0; k < state.range(0); ++k) {
        script.push_back("if k % 3 == 0 and names[1:2] != \"x\" {");
        script.push_back("    p.title(\"t\" + str(k, \"%03d\"))");
        script.push_back("}");
    }
    for (auto _ : state) benchmark::DoNotOptimize(parseScript(script));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(script.size()));
}

}  // namespace

BENCHMARK(Loop)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(ArrayOperation)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Parse)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
