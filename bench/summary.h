// What the benchmark programs share: each case repeated, the median of its repetitions kept, and
// a Markdown summary of the medians written after the run (to the file of --markdown=FILE, else
// to standard output), so that every ratio in it comes from one run.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace rizari::bench {

inline constexpr int kRepetitions = 5;

// The median of one case: its time per iteration and its counters.
struct Median {
    double seconds = 0;
    std::map<std::string, double> counters;
};
using Medians = std::map<std::string, Median>;

// Registers a case by name; body(state) times one iteration itself (manual time).
template <class Body> benchmark::internal::Benchmark* addCase(const std::string& name, int iterations, Body body)
{
    return benchmark::RegisterBenchmark(name.c_str(), body)
        ->UseManualTime()
        ->Iterations(iterations)
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond);
}

class MedianReporter : public benchmark::ConsoleReporter {
public:
    MedianReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median" || run.error_occurred) continue;
            Median& m = medians[run.run_name.function_name];
            m.seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
            for (const auto& [name, counter] : run.counters) m.counters[name] = counter.value;
        }
    }
    Medians medians;
};

// "1e5" for 100000: the sizes as the tables name them.
inline std::string sizeName(long n)
{
    int exponent = 0;
    long rest = n;
    while (rest >= 10 && rest % 10 == 0) {
        rest /= 10;
        ++exponent;
    }
    return std::to_string(rest) + "e" + std::to_string(exponent);
}

// Runs the registered cases and then summarize(medians, out).
inline int runAndSummarize(int argc, char** argv, const std::function<void(const Medians&, std::FILE*)>& summarize)
{
    std::string markdown;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--markdown=", 11) == 0) markdown = argv[i] + 11;
        else args.push_back(argv[i]);
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::FILE* out = markdown.empty() ? stdout : std::fopen(markdown.c_str(), "w");
    if (!out) return 1;
    summarize(reporter.medians, out);
    if (out != stdout) std::fclose(out);
    return 0;
}

}  // namespace rizari::bench
