// Recipe: a histogram of 10,000 measurements in 40 bins.
#include <rizari/plot.h>

#include <random>
#include <vector>

int main()
{
    std::mt19937_64 generator(1);
    std::normal_distribution<double> noise(0, 0.7);
    std::vector<double> errors(10000);
    for (double& error : errors) error = noise(generator);

    rizari::Plot plot;
    plot.styleSheet(rizari::StyleSheet::Clean).title("Measurement error").xlabel("error (mm)").ylabel("count");
    plot.histogram(errors, 40, -2.4, 2.4).fill(rizari::Fill::Solid, 0.6);
    plot.save("recipe_histogram.png", {800, 450});
}
