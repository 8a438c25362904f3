// Recipe: a million points as dots, two normal clouds whose density shows as shades.
#include <rizari/plot.h>

#include <random>
#include <vector>

int main()
{
    std::mt19937_64 generator(1);
    std::normal_distribution<double> normal(0, 1);
    std::vector<double> x, y;
    for (int i = 0; i < 500000; ++i) x.push_back(normal(generator)), y.push_back(normal(generator));
    for (int i = 0; i < 500000; ++i) x.push_back(3 + 0.6 * normal(generator)), y.push_back(1.5 + 0.6 * normal(generator));

    rizari::Plot plot;
    plot.styleSheet(rizari::StyleSheet::Clean).title("A million points");
    plot.addView(x, y).style(rizari::Style::Dots).lineWidth(1).color("royalblue");
    plot.save("recipe_million_dots.png", {800, 600});
}
