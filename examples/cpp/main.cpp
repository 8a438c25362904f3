// A C++ program that draws a sine curve into a PNG with gnuplot found on PATH.
#include <rizari/cplot.h>

#include <cmath>
#include <vector>

int main(int argc, char** argv)
{
    const char* file = argc > 1 ? argv[1] : "sine.png";
    std::vector<double> x(200), y(200);
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = 0.05 * static_cast<double>(i);
        y[i] = std::sin(x[i]);
    }
    rizari::CPlot plot;
    plot.title("sin(x)");
    plot.data2D(x, y);
    plot.outputType(rizari::PlotOutputType::File, "pngcairo", file);
    return plot.plotting() == 0 ? 0 : 1;
}
