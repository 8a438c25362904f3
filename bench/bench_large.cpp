// The whole-process cases of bench/large_data.sh: large data drawn by the typed C++ front from the
// caller's arrays (Plot::addView) into an 800 x 600 pngcairo image.
//   bench_large draw CASE N PNG    thinned for the picture (the default for PNG)
//   bench_large whole CASE N PNG   every point written and drawn
// Both print this process's own peak resident set in KiB (gnuplot's is not in it).
//   bench_large raw CASE N FILE    the same points as raw doubles, the n x then the n y, for other tools
//   bench_large own N              in this process, with an engine that returns at once: one read
//                                  pass over x and y, against data2D + plotting() and addView +
//                                  render() of a noisy line; processor and wall milliseconds of
//                                  this process, medians of 7 runs
// The cases:
//   line     y = sin x plus normal noise of 0.3, x = linspace(0, 200, N)
//   float    the same as floats
//   zoomed   the same, drawn with the x range [50:100]
//   logx     y = sin(2 pi 8 log10 x) plus the noise, x from 1 to 1000 evenly in log space, log x axis
//   chirp    y = sin(x + x^2 / 100) plus the noise: a sine whose frequency rises fivefold
//   points   N uniform random points in the unit square, drawn as points
//   dots     the same, drawn as dots
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "bench/world.h"
#include "rizari/plot.h"

namespace {

struct Data {
    std::vector<double> x, y;
};

Data noisy(std::size_t n, bool logSpaced, bool chirp = false)
{
    Data d{std::vector<double>(n), std::vector<double>(n)};
    std::mt19937_64 rng(12345);
    std::normal_distribution<double> noise(0, 0.3);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = n == 1 ? 0.0 : static_cast<double>(i) / static_cast<double>(n - 1);
        d.x[i] = logSpaced ? std::pow(10.0, 3 * t) : 200 * t;
        const double phase = logSpaced ? 2 * M_PI * 8 * 3 * t : chirp ? d.x[i] + d.x[i] * d.x[i] / 100 : d.x[i];
        d.y[i] = std::sin(phase) + noise(rng);
    }
    return d;
}

Data uniform(std::size_t n)
{
    Data d{std::vector<double>(n), std::vector<double>(n)};
    std::mt19937_64 rng(777);
    std::uniform_real_distribution<double> u(0, 1);
    for (std::size_t i = 0; i < n; ++i) d.x[i] = u(rng), d.y[i] = u(rng);
    return d;
}

Data dataOf(const std::string& name, std::size_t n)
{
    if (name == "points" || name == "dots") return uniform(n);
    return noisy(n, name == "logx", name == "chirp");
}

int draw(const std::string& name, const Data& d, const char* image, bool thinned)
{
    rizari::Plot plot;
    if (!thinned) plot.thinLargeData(false);
    std::vector<float> fx, fy;
    if (name == "float") fx.assign(d.x.begin(), d.x.end()), fy.assign(d.y.begin(), d.y.end());
    rizari::Series& series = name == "float" ? plot.addView(fx, fy) : plot.addView(d.x, d.y);
    if (name == "points") series.style(rizari::Style::Points);
    if (name == "dots") series.style(rizari::Style::Dots);
    if (name == "zoomed") plot.range(rizari::Axis::X, 50, 100);
    if (name == "logx") plot.logScale(rizari::Axis::X);
    try {
        plot.save(image, {800, 600});
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

int writeRaw(const Data& d, const char* file)
{
    std::FILE* f = std::fopen(file, "wb");
    if (!f) return 1;
    const bool written = std::fwrite(d.x.data(), sizeof(double), d.x.size(), f) == d.x.size() &&
                         std::fwrite(d.y.data(), sizeof(double), d.y.size(), f) == d.y.size();
    return std::fclose(f) == 0 && written ? 0 : 1;
}

// This process's processor time in milliseconds: the engine's, and waits for it, are not in it,
// and other programs on a busy machine disturb it little.
double processorMilliseconds()
{
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; };
    return ms(self.ru_utime) + ms(self.ru_stime);
}

// Medians of 7 runs: processor and wall milliseconds.
template <class F> std::pair<double, double> medianMilliseconds(F&& f)
{
    std::vector<double> cpu, wall;
    for (int run = 0; run < 7; ++run) {
        const double cpuStart = processorMilliseconds();
        const auto start = std::chrono::steady_clock::now();
        f();
        wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        cpu.push_back(processorMilliseconds() - cpuStart);
    }
    std::sort(cpu.begin(), cpu.end());
    std::sort(wall.begin(), wall.end());
    return {cpu[cpu.size() / 2], wall[wall.size() / 2]};
}

// rizari's own part: the caller's arrays exist; the engine returns at once.
int own(std::size_t n)
{
    rizari::bench::World world;
    const Data d = noisy(n, false);
    const std::string image = (world.root() / "plot.png").string();
    volatile double sink = 0;
    const auto read = medianMilliseconds([&] {
        double low = INFINITY, high = -INFINITY;
        for (std::size_t i = 0; i < n; ++i) {
            low = std::min({low, d.x[i], d.y[i]});
            high = std::max({high, d.x[i], d.y[i]});
        }
        sink = low + high;
    });
    const auto api = medianMilliseconds([&] {
        rizari::CPlot plot;
        plot.setEngineHome(world.fakeHome().c_str());
        plot.outputType(rizari::PlotOutputType::File, "pngcairo", image.c_str());
        plot.sizeOutput(800, 600);
        if (plot.data2DCurve(d.x.data(), d.y.data(), static_cast<int>(n)) != 0 || plot.plotting() != 0) std::abort();
    });
    const auto view = medianMilliseconds([&] {
        rizari::Plot plot;
        plot.engineHome(world.fakeHome()).output(image, {800, 600});
        plot.addView(d.x, d.y);
        plot.render();
    });
    std::printf("%.1f %.1f %.1f %.1f %.1f %.1f\n", read.first, read.second, api.first, api.second, view.first, view.second);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "own" && argc == 3) return own(std::strtoul(argv[2], nullptr, 10));
    if (argc != 5 || (mode != "draw" && mode != "whole" && mode != "raw")) {
        std::fputs("usage: bench_large draw|whole|raw CASE N FILE, or bench_large own N\n", stderr);
        return 2;
    }
    const std::string name = argv[2];
    const Data d = dataOf(name, std::strtoul(argv[3], nullptr, 10));
    if (mode == "raw") return writeRaw(d, argv[4]);
    const int status = draw(name, d, argv[4], mode == "draw");
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    std::printf("%ld\n", self.ru_maxrss);
    return status;
}
