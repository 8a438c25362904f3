// Recipe: two groups of points in one scatter plot, told apart by colour, marker and legend.
#include <rizari/plot.h>

#include <random>
#include <vector>

int main()
{
    std::mt19937_64 generator(1);
    std::uniform_real_distribution<double> uniform(0, 1);
    std::vector<double> ax, ay, bx, by;
    for (int i = 0; i < 120; ++i) {
        ax.push_back(1 + 4 * uniform(generator));
        ay.push_back(0.8 * ax.back() + 2 * uniform(generator));
        bx.push_back(3 + 4 * uniform(generator));
        by.push_back(0.5 * bx.back() - 1 + 2 * uniform(generator));
    }

    rizari::Plot plot;
    plot.styleSheet(rizari::StyleSheet::Clean).title("Two groups").xlabel("dose").ylabel("response").legendAt("top left");
    plot.add(ax, ay).style(rizari::Style::Points).pointType(7).color("royalblue").legend("group A");
    plot.add(bx, by).style(rizari::Style::Points).pointType(5).color("dark-orange").legend("group B");
    plot.save("recipe_scatter_groups.png", {800, 500});
}
