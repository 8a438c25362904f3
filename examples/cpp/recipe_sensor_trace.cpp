// Recipe: a large sensor trace, a day of readings ten times a second (864,000 points), against the time of day.
#include <rizari/plot.h>

#include <chrono>
#include <cmath>
#include <random>
#include <vector>

int main()
{
    using namespace std::chrono;
    std::mt19937_64 generator(5);
    std::uniform_real_distribution<double> noise(-0.5, 0.5);
    std::vector<sys_time<milliseconds>> time;
    std::vector<double> amplitude;
    for (int i = 0; i < 864000; ++i) {
        const double h = i / 36000.0;  // hours
        time.push_back(sys_days{2024y / June / 1} + milliseconds{100 * i});
        amplitude.push_back(0.5 + 0.3 * std::sin(h / 24 * 6.283185) + 0.15 * noise(generator) * (1 + 5 * std::exp(-std::pow(4 * (h - 14), 2))));
    }

    rizari::Plot plot;
    plot.styleSheet(rizari::StyleSheet::Clean).title("Vibration sensor, 1 June 2024 (UTC)").ylabel("amplitude (mm/s)");
    plot.timeAxis(rizari::Axis::X, "%Y-%m-%d %H:%M", "%H:%M");
    plot.add(time, amplitude);
    plot.save("recipe_sensor_trace.png", {900, 400});
}
