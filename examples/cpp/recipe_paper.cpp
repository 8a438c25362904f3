// Recipe: one figure saved as SVG, PDF and PNG, 6 x 4 inches on paper with 10-point text.
#include <rizari/plot.h>

#include <cmath>
#include <vector>

int main()
{
    std::vector<double> t, first, second;
    for (int i = 0; i < 300; ++i) {
        t.push_back(i * 5.0 / 299);
        first.push_back(1 - std::exp(-t.back()));
        second.push_back(1 - std::exp(-t.back()) * (1 + t.back()));
    }

    rizari::Plot plot;
    plot.styleSheet(rizari::StyleSheet::Clean).title("Step response").xlabel("time (s)").legendAt("bottom right");
    plot.add(t, first).legend("first order");
    plot.add(t, second).legend("second order");
    plot.font("Sans", 10).save("recipe_paper.svg", rizari::Size::inches(6, 4));
    // pdfcairo draws text and lines at half size unless told otherwise
    plot.output(rizari::Output::File, "pdfcairo fontscale 1 linewidth 2", "recipe_paper.pdf").render();
    // the PNG with 300 pixels an inch: text and lines 300 / 72 times as many pixels
    plot.native().sizeOutput(1800, 1200);
    plot.output(rizari::Output::File, "pngcairo fontscale 4.17 linewidth 4.17", "recipe_paper.png").render();
}
