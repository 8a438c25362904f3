// Recipe: four plots in a 2 x 2 grid, each with its own title.
#include <rizari/plot.h>

#include <cmath>
#include <vector>

int main()
{
    std::vector<double> x, sine, cosine, damped, growing;
    for (int i = 0; i < 200; ++i) {
        const double t = i * 10.0 / 199;
        x.push_back(t), sine.push_back(std::sin(t)), cosine.push_back(std::cos(t));
        damped.push_back(std::exp(-t / 3) * std::sin(3 * t)), growing.push_back(t * t);
    }

    rizari::Plot plot;
    plot.grid(2, 2);
    plot.cell(0, 0).styleSheet(rizari::StyleSheet::Clean).title("sin x").add(x, sine);
    plot.cell(0, 1).styleSheet(rizari::StyleSheet::Clean).title("cos x").add(x, cosine);
    plot.cell(1, 0).styleSheet(rizari::StyleSheet::Clean).title("damped: exp(-x/3) sin 3x").add(x, damped);
    plot.cell(1, 1).styleSheet(rizari::StyleSheet::Clean).title("growing: x^2").add(x, growing);
    plot.save("recipe_grid.png", {800, 600});
}
