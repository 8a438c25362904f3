// One whole-process case of bench_processes: makes the sine points (x = linspace(0, 100, n) and
// y = sin x, as the runner's benchmark script does) and hands them on in the case's way.
//   bench_peer fprintf N FILE           a bare fprintf("%g %g\n") loop into FILE
//   bench_peer to_chars N FILE          std::to_chars into 1 MiB blocks, written to FILE
//   bench_peer rizari-api N FILE        the C++ API: data2D and plotting() with the engine of ZUHOME,
//                                       a PNG output named FILE
//   bench_peer gnuplot-iostream N FILE  gnuplot-iostream: "plot '-'" and send1d to the gnuplot on
//                                       PATH, a PNG output named FILE
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef RIZARI_BENCH_GNUPLOT_IOSTREAM
#include <boost/range/iterator_range.hpp>
#include <boost/tuple/tuple.hpp>
#include <gnuplot-iostream.h>
#endif

#include "bench/points.h"
#include "rizari/cplot.h"

using namespace rizari::bench;

namespace {

int plain(const Points& p, const char* file, void (*write)(const Points&, std::FILE*))
{
    std::FILE* f = std::fopen(file, "w");
    if (!f) return 1;
    write(p, f);
    return std::fclose(f) == 0 ? 0 : 1;
}

int viaApi(const Points& p, const char* image)
{
    rizari::CPlot plot;
    plot.outputType(rizari::PlotOutputType::File, "png", image);
    return plot.data2DCurve(p.x.get(), p.y.get(), static_cast<int>(p.n)) == 0 && plot.plotting() == 0 ? 0 : 1;
}

int viaGnuplotIostream([[maybe_unused]] const Points& p, [[maybe_unused]] const char* image)
{
#ifdef RIZARI_BENCH_GNUPLOT_IOSTREAM
    Gnuplot gp;
    gp << "set terminal png size 800,600\nset output '" << image << "'\nplot '-' with lines\n";
    gp.send1d(boost::make_tuple(boost::make_iterator_range(p.x.get(), p.x.get() + p.n),
                                boost::make_iterator_range(p.y.get(), p.y.get() + p.n)));
    return 0;
#else
    std::fputs("bench_peer: built without gnuplot-iostream\n", stderr);
    return 1;
#endif
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: bench_peer fprintf|to_chars|rizari-api|gnuplot-iostream N FILE\n", stderr);
        return 2;
    }
    const std::string mode = argv[1];
    const Points p = makePoints(Shape::Sine, std::strtoul(argv[2], nullptr, 10));
    if (mode == "fprintf") return plain(p, argv[3], writeFprintf);
    if (mode == "to_chars") return plain(p, argv[3], writeToChars);
    if (mode == "rizari-api") return viaApi(p, argv[3]);
    if (mode == "gnuplot-iostream") return viaGnuplotIostream(p, argv[3]);
    std::fprintf(stderr, "bench_peer: unknown case %s\n", mode.c_str());
    return 2;
}
