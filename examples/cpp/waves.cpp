// Three curves with legends into an SVG, through the typed front <rizari/plot.h>.
#include <rizari/plot.h>

#include <cmath>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<double> x(200), sine(200), cosine(200), product(200);
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = 0.0315 * static_cast<double>(i);
        sine[i] = std::sin(x[i]);
        cosine[i] = std::cos(x[i]);
        product[i] = sine[i] * cosine[i];
    }
    try {
        rizari::Plot plot;
        plot.title("Three waves").xlabel("t").ylabel("amplitude").legendAt("left bottom");
        plot.add(x, sine).legend("sin t");
        plot.add(x, cosine).legend("cos t").lineWidth(1.5).color("dark-green");
        plot.add(x, product).legend("sin t cos t").style(rizari::Style::Points).pointSize(0.5);
        plot.save(argc > 1 ? argv[1] : "waves.svg");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
