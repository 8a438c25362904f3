// Recipe: a log-log plot of measurements with error bars, from a table of x, y and the error of y.
#include <rizari/plot.h>

#include <cmath>
#include <vector>

int main()
{
    const std::vector<double> f{10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000};
    const std::vector<double> gain{1.02, 0.97, 0.99, 0.86, 0.73, 0.35, 0.205, 0.094, 0.043, 0.019};
    std::vector<double> table, mf, mgain;
    for (std::size_t i = 0; i < f.size(); ++i) table.insert(table.end(), {f[i], gain[i], 0.1 * gain[i]});
    for (int i = 0; i <= 60; ++i) {
        mf.push_back(std::pow(10, 1 + i * 0.05));
        mgain.push_back(1 / std::sqrt(1 + std::pow(mf.back() / 200, 2)));
    }

    rizari::Plot plot;
    plot.styleSheet(rizari::StyleSheet::Clean).title("Low-pass filter").xlabel("frequency (Hz)").ylabel("gain");
    plot.logScale(rizari::Axis::XY).range(rizari::Axis::Y, 0.01, 1.5);
    plot.add(mf, mgain).legend("model");
    plot.matrix(table, static_cast<int>(f.size()), 3).style(rizari::Style::YErrorBars).pointType(7).color("dark-red").legend("measured");
    plot.save("recipe_loglog_errors.png", {800, 500});
}
