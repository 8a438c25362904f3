// The C++ API against the data file writer alone, in this process, on the same sine points:
// data2D and plotting() (an engine per plot that returns at once, a PNG file output), against WriteDataFile
// of a data set that already holds the values; and the typed front (Plot::add of the same arrays
// and render()) against data2D and plotting(). The plot is destroyed outside the timed part, which
// removes its files and gives its copy back to the system.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#include "bench/points_data_set.h"
#include "bench/summary.h"
#include "bench/world.h"
#include "data/data_file_writer.h"
#include "rizari/cplot.h"
#include "rizari/plot.h"

using namespace rizari;
using namespace rizari::bench;

namespace {

constexpr long kSizes[] = {100000, 1000000, 10000000};
constexpr double kTargetRatio = 1.7;  // the API's time at most this many times the writer's

World& world()
{
    static World w;
    return w;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void api(benchmark::State& state, long n)
{
    const Points& p = pointsDataSet(Shape::Sine, n).points;
    const std::string image = (world().root() / "plot.png").string();
    const std::string home = world().fakeHome().string();
    double seconds = 0;
    for (auto _ : state) {
        auto plot = std::make_unique<CPlot>();
        plot->setEngineHome(home.c_str());
        plot->outputType(PlotOutputType::File, "png", image.c_str());
        const auto start = std::chrono::steady_clock::now();
        if (plot->data2DCurve(p.x.get(), p.y.get(), static_cast<int>(n)) != 0 || plot->plotting() != 0) std::abort();
        const double took = secondsSince(start);
        state.SetIterationTime(took);
        seconds += took;
        plot.reset();
    }
    state.counters["ns/point"] = seconds * 1e9 / static_cast<double>(n) / static_cast<double>(state.iterations());
}

void front(benchmark::State& state, long n)
{
    const Points& p = pointsDataSet(Shape::Sine, n).points;
    const std::span<const double> x(p.x.get(), static_cast<std::size_t>(n)), y(p.y.get(), static_cast<std::size_t>(n));
    double seconds = 0;
    for (auto _ : state) {
        auto plot = std::make_unique<Plot>();
        plot->engineHome(world().fakeHome()).output(world().root() / "plot.png");
        const auto start = std::chrono::steady_clock::now();
        plot->add(x, y);
        plot->render();
        const double took = secondsSince(start);
        state.SetIterationTime(took);
        seconds += took;
        plot.reset();
    }
    state.counters["ns/point"] = seconds * 1e9 / static_cast<double>(n) / static_cast<double>(state.iterations());
}

void writer(benchmark::State& state, long n)
{
    DataSet& set = pointsDataSet(Shape::Sine, n).set;
    set.fileName = (world().tmp() / "writer.dat").string();
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::FILE* f = std::fopen(set.fileName->c_str(), "w");
        if (!f || WriteDataFile(set, 2, f) != WriteResult::Written) std::abort();
        const double took = secondsSince(start);
        state.SetIterationTime(took);
        seconds += took;
        std::remove(set.fileName->c_str());
    }
    state.counters["ns/point"] = seconds * 1e9 / static_cast<double>(n) / static_cast<double>(state.iterations());
}

void summarize(const Medians& m, std::FILE* out)
{
    std::fprintf(out, "| points | data2D + plotting() ms | writer alone ms | ratio |\n|---|---:|---:|---:|\n");
    double ratio = 0;
    for (long n : kSizes) {
        const auto a = m.find("api/" + sizeName(n)), w = m.find("writer/" + sizeName(n));
        if (a == m.end() || w == m.end()) continue;
        ratio = a->second.seconds / w->second.seconds;
        std::fprintf(out, "| %s | %.1f | %.1f | %.2fx |\n", sizeName(n).c_str(), a->second.seconds * 1e3, w->second.seconds * 1e3, ratio);
    }
    std::fprintf(out, "\nAt the largest size the API takes %.2fx the writer's time (target at most %.1fx: %s).\n", ratio,
                 kTargetRatio, ratio == 0 ? "not measured" : ratio <= kTargetRatio ? "met" : "MISSED");

    std::fprintf(out, "\n| points | data2D + plotting() ms | Plot::add + render() ms | ratio |\n|---|---:|---:|---:|\n");
    for (long n : kSizes) {
        const auto a = m.find("api/" + sizeName(n)), f = m.find("front/" + sizeName(n));
        if (a == m.end() || f == m.end()) continue;
        std::fprintf(out, "| %s | %.1f | %.1f | %.2fx |\n", sizeName(n).c_str(), a->second.seconds * 1e3, f->second.seconds * 1e3,
                     f->second.seconds / a->second.seconds);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    useEngineSession(false);  // the engine that returns at once is no engine to keep
    for (long n : kSizes) {
        const int iterations = n >= 1000000 ? 1 : 10;
        addCase("api/" + sizeName(n), iterations, [=](benchmark::State& state) { api(state, n); });
        addCase("writer/" + sizeName(n), iterations, [=](benchmark::State& state) { writer(state, n); });
        addCase("front/" + sizeName(n), iterations, [=](benchmark::State& state) { front(state, n); });
    }
    return runAndSummarize(argc, argv, summarize);
}
