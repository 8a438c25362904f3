// The data file writer against the plain ways of writing the same lines, in this process: a
// fprintf("%g %g\n") loop and std::to_chars (general format, six digits: the text of %g) into
// 1 MiB blocks. Sine points and random doubles of every magnitude, 1e5 to 1e7 points.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "bench/points_data_set.h"
#include "bench/summary.h"
#include "data/data_file_writer.h"

using namespace rizari;
using namespace rizari::bench;

namespace {

constexpr long kSizes[] = {100000, 1000000, 10000000};
constexpr const char* kMethods[] = {"writer", "fprintf", "to_chars"};
constexpr double kSineTarget = 100;    // ns/point the writer keeps on sine points
constexpr double kRandomTarget = 160;  // and on random doubles

std::string outputPath()
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/bench_writer_" + std::to_string(getpid()) + ".dat";
}

// One file written the method's way, timed from opening to closing.
void writeOnce(benchmark::State& state, int method, Shape shape, long n)
{
    PointsDataSet& d = pointsDataSet(shape, n);
    const std::string path = outputPath();
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::FILE* f = std::fopen(path.c_str(), "w");
        if (!f) std::abort();
        if (method == 0) {
            d.set.fileName = path;
            if (WriteDataFile(d.set, 2, f) != WriteResult::Written) std::abort();
        } else {
            method == 1 ? writeFprintf(d.points, f) : writeToChars(d.points, f);
            std::fclose(f);
        }
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(took);
        seconds += took;
        std::remove(path.c_str());
    }
    state.counters["ns/point"] = seconds * 1e9 / static_cast<double>(n) / static_cast<double>(state.iterations());
}

std::string caseName(int method, Shape shape, long n)
{
    return std::string(kMethods[method]) + "/" + (shape == Shape::Sine ? "sine" : "random") + "/" + sizeName(n);
}

double nsPerPoint(const Medians& m, int method, Shape shape, long n)
{
    const auto it = m.find(caseName(method, shape, n));
    return it == m.end() ? 0 : it->second.seconds * 1e9 / static_cast<double>(n);
}

const char* verdict(double measured, double target) { return measured == 0 ? "not measured" : measured <= target ? "met" : "MISSED"; }

void summarize(const Medians& m, std::FILE* out)
{
    std::fprintf(out, "| points | data | writer ns/point | fprintf ns/point | to_chars ns/point | fprintf / writer | to_chars / writer |\n");
    std::fprintf(out, "|---|---|---:|---:|---:|---:|---:|\n");
    for (Shape shape : {Shape::Sine, Shape::Random})
        for (long n : kSizes) {
            const double w = nsPerPoint(m, 0, shape, n), f = nsPerPoint(m, 1, shape, n), t = nsPerPoint(m, 2, shape, n);
            if (w == 0) continue;
            std::fprintf(out, "| %s | %s | %.1f | %.1f | %.1f | %.2fx | %.2fx |\n", sizeName(n).c_str(),
                         shape == Shape::Sine ? "sine" : "random", w, f, t, f / w, t / w);
        }
    double sine = 0, random = 0;
    for (long n : kSizes) {
        sine = std::max(sine, nsPerPoint(m, 0, Shape::Sine, n));
        random = std::max(random, nsPerPoint(m, 0, Shape::Random, n));
    }
    std::fprintf(out, "\nWriter, slowest size: sine %.1f ns/point (target %.0f: %s), random %.1f ns/point (target %.0f: %s).\n",
                 sine, kSineTarget, verdict(sine, kSineTarget), random, kRandomTarget, verdict(random, kRandomTarget));
}

}  // namespace

int main(int argc, char** argv)
{
    for (Shape shape : {Shape::Sine, Shape::Random})
        for (long n : kSizes)
            for (int method = 0; method < 3; ++method)
                addCase(caseName(method, shape, n), n >= 1000000 ? 1 : 10,
                        [=](benchmark::State& state) { writeOnce(state, method, shape, n); });
    return runAndSummarize(argc, argv, summarize);
}
