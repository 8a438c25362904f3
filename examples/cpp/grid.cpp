// A 2 x 2 grid of plots into a PNG, through the typed front <rizari/plot.h>: each cell is a Plot
// of its own, with its own data, styles and axes.
#include <rizari/plot.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<double> x(50), growth(50);
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = 0.2 * static_cast<double>(i + 1);
        growth[i] = std::exp(x[i]);
    }
    const std::array<int, 6> months{1, 2, 3, 4, 5, 6};
    const std::array<int, 6> rain{48, 37, 55, 61, 44, 29};  // ints pass as they are
    try {
        rizari::Plot plot;
        plot.grid(2, 2);
        plot.cell(0, 0).title("Lines").add(x, growth).lineWidth(2);
        plot.cell(0, 1).title("Log scale").logScale(rizari::Axis::Y).add(x, growth).color("red");
        plot.cell(1, 0).title("Boxes").range(rizari::Axis::X, 0, 7).add(months, rain).style(rizari::Style::Boxes).fill(rizari::Fill::Solid, 0.5);
        plot.cell(1, 1).title("Points").add(x, growth).style(rizari::Style::Points).pointType(6);
        plot.save(argc > 1 ? argv[1] : "grid.png", rizari::Size(900, 700));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
