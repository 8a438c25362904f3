// One whole-process case of bench/large_data.sh: a noisy sine of N points (x = linspace(0, 200, N),
// y = sin x plus normal noise of 0.3) drawn by the C++ API into an 800 x 600 pngcairo image.
//   bench_large thinned N PNG   large data thinned for the picture (the default for PNG)
//   bench_large whole N PNG     every point written and drawn
// Both print this process's own peak resident set in KiB (gnuplot's is not in it).
//   bench_large raw N FILE      the same points as raw doubles, the n x then the n y, for other tools
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include <sys/resource.h>

#include "bench/points.h"
#include "rizari/cplot.h"

using namespace rizari::bench;

namespace {

Points noisySine(std::size_t n)
{
    Points p{n, std::make_unique_for_overwrite<double[]>(n), std::make_unique_for_overwrite<double[]>(n)};
    std::mt19937_64 rng(12345);
    std::normal_distribution<double> noise(0, 0.3);
    for (std::size_t i = 0; i < n; ++i) {
        p.x[i] = n == 1 ? 0.0 : 200.0 * static_cast<double>(i) / static_cast<double>(n - 1);
        p.y[i] = std::sin(p.x[i]) + noise(rng);
    }
    return p;
}

int draw(const Points& p, const char* image, bool thinned)
{
    rizari::CPlot plot;
    plot.outputType(rizari::PlotOutputType::File, "pngcairo", image);
    plot.sizeOutput(800, 600);
    plot.reduceLargeData(thinned);
    return plot.data2DCurve(p.x.get(), p.y.get(), static_cast<int>(p.n)) == 0 && plot.plotting() == 0 ? 0 : 1;
}

int writeRaw(const Points& p, const char* file)
{
    std::FILE* f = std::fopen(file, "wb");
    if (!f) return 1;
    const bool written = std::fwrite(p.x.get(), sizeof(double), p.n, f) == p.n && std::fwrite(p.y.get(), sizeof(double), p.n, f) == p.n;
    return std::fclose(f) == 0 && written ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: bench_large thinned|whole|raw N FILE\n", stderr);
        return 2;
    }
    const std::string mode = argv[1];
    const Points p = noisySine(std::strtoul(argv[2], nullptr, 10));
    if (mode == "thinned" || mode == "whole") {
        const int status = draw(p, argv[3], mode == "thinned");
        rusage self{};
        getrusage(RUSAGE_SELF, &self);
        std::printf("%ld\n", self.ru_maxrss);
        return status;
    }
    if (mode == "raw") return writeRaw(p, argv[3]);
    std::fprintf(stderr, "bench_large: unknown case %s\n", mode.c_str());
    return 2;
}
