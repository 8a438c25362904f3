// Recipe: a heat map of a grid of values, with a labelled colour bar.
#include <rizari/plot.h>

#include <cmath>
#include <vector>

int main()
{
    auto spot = [](double dx, double dy, double width) { return std::exp(-(dx * dx + dy * dy) / width); };
    std::vector<double> x, y, temperature;
    for (int i = 0; i <= 80; ++i) x.push_back(i * 0.25);
    for (int j = 0; j <= 40; ++j) y.push_back(j * 0.25);
    for (double u : x)
        for (double v : y) temperature.push_back(20 + 60 * spot(u - 6, v - 4, 8) + 30 * spot(u - 15, v - 7, 12));

    rizari::Plot plot;
    plot.styleSheet(rizari::StyleSheet::Clean).title("Plate temperature").xlabel("x (cm)").ylabel("y (cm)");
    plot.surface(x, y, temperature);
    plot.heatMap(true).colorBoxLabel("temperature (°C)");
    plot.save("recipe_heat_map.png", {800, 450});
}
