// Recipe: a batch of plots, one PNG file per sensor, made in a loop.
#include <rizari/plot.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

int main()
{
    std::vector<double> hour;
    for (int i = 0; i <= 288; ++i) hour.push_back(i / 12.0);
    for (int k = 1; k <= 6; ++k) {
        std::mt19937_64 generator(k);
        std::uniform_real_distribution<double> noise(0, 1);
        std::vector<double> temperature;
        for (double h : hour) temperature.push_back(18 + k - 3 * std::cos(h / 24 * 6.283185) + noise(generator));

        rizari::Plot plot;
        plot.styleSheet(rizari::StyleSheet::Clean).title("Sensor " + std::to_string(k)).xlabel("hour").ylabel("°C");
        plot.range(rizari::Axis::X, 0, 24, 6).add(hour, temperature);
        plot.save("recipe_batch_" + std::to_string(k) + ".png", {640, 360});
    }
}
