// Data file writer against a plain fprintf("%g %g\n") loop, on 1e6 and 1e7 points of two data
// sets: random doubles of every magnitude, and a smooth curve (x = linspace, y = sin x).
// Prints a summary of ns/point and the speed-up after the benchmark table.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <unistd.h>

#include "data/data_file_writer.h"

using namespace rizari;

namespace {

enum Shape { Random = 0, Sine = 1 };
const char* const kShapeName[] = {"random", "sine"};

struct Points {
    std::vector<double> x, y;
    DataSet set;
};

Points makePoints(Shape shape, std::size_t n)
{
    Points p;
    p.x.resize(n);
    p.y.resize(n);
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-307, 307);
    std::bernoulli_distribution negative(0.5);
    for (std::size_t i = 0; i < n; ++i) {
        if (shape == Random) {
            p.x[i] = (negative(rng) ? -1 : 1) * mantissa(rng) * std::pow(10.0, exponent(rng));
            p.y[i] = (negative(rng) ? -1 : 1) * mantissa(rng) * std::pow(10.0, exponent(rng));
        } else {
            p.x[i] = 100.0 * static_cast<double>(i) / static_cast<double>(n - 1);
            p.y[i] = std::sin(p.x[i]);
        }
    }
    p.set.pointCount = static_cast<int>(n);
    p.set.values.emplace(2 * n * sizeof(double));
    std::memcpy(p.set.values->data(), p.x.data(), n * sizeof(double));
    std::memcpy(p.set.values->data() + n * sizeof(double), p.y.data(), n * sizeof(double));
    return p;
}

// Cached so each data set is built once per size.
Points& points(Shape shape, std::size_t n)
{
    static std::map<std::pair<int, std::size_t>, Points> cache;
    auto key = std::make_pair(static_cast<int>(shape), n);
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.emplace(key, makePoints(shape, n)).first;
    return it->second;
}

std::string outputPath()
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/bench_writer_" + std::to_string(getpid()) + ".dat";
}

// Best ns/point per (method, shape, n), for the summary.
std::map<std::tuple<int, int, std::size_t>, double> g_best;

template <class Write> void run(benchmark::State& state, int method, Write write)
{
    const Shape shape = static_cast<Shape>(state.range(0));
    const std::size_t n = static_cast<std::size_t>(state.range(1));
    Points& p = points(shape, n);
    const std::string path = outputPath();
    double best = 1e300;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        write(p, path);
        const std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count() / static_cast<double>(n));
    }
    std::remove(path.c_str());
    auto& slot = g_best[{method, static_cast<int>(shape), n}];
    slot = slot == 0 ? best : std::min(slot, best);
    state.counters["ns/point"] = best;
    state.SetLabel(kShapeName[shape]);
}

void BM_WriteDataFile(benchmark::State& state)
{
    run(state, 0, [](Points& p, const std::string& path) {
        p.set.fileName = path;
        if (WriteDataFile(p.set, 2) != 0) std::abort();
    });
}

void BM_Fprintf(benchmark::State& state)
{
    run(state, 1, [](const Points& p, const std::string& path) {
        std::FILE* f = std::fopen(path.c_str(), "w");
        if (!f) std::abort();
        for (std::size_t i = 0; i < p.x.size(); ++i) std::fprintf(f, "%g %g\n", p.x[i], p.y[i]);
        std::fclose(f);
    });
}

void sizes(benchmark::internal::Benchmark* b)
{
    for (int shape : {Random, Sine})
        for (long n : {1000000L, 10000000L}) b->Args({shape, n});
    b->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
}

BENCHMARK(BM_WriteDataFile)->Apply(sizes);
BENCHMARK(BM_Fprintf)->Apply(sizes);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\n%-8s %10s %16s %16s %8s\n", "data", "points", "writer ns/point", "fprintf ns/point", "speed-up");
    for (int shape : {Random, Sine})
        for (std::size_t n : {std::size_t{1000000}, std::size_t{10000000}}) {
            const auto writer = g_best.find({0, shape, n});
            const auto plain = g_best.find({1, shape, n});
            if (writer == g_best.end() || plain == g_best.end()) continue;
            std::printf("%-8s %10zu %16.1f %16.1f %7.2fx\n", kShapeName[shape], n, writer->second, plain->second,
                        plain->second / writer->second);
        }
    return 0;
}
