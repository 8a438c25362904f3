// A surface over a grid into a PNG, through the typed front <rizari/plot.h>: float values pass
// as they are, copied once into the plot.
#include <rizari/plot.h>

#include <cmath>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    constexpr std::size_t kSide = 40;
    std::vector<float> x(kSide), y(kSide), z(kSide * kSide);
    for (std::size_t i = 0; i < kSide; ++i) x[i] = y[i] = -3.0f + 6.0f * static_cast<float>(i) / (kSide - 1);
    for (std::size_t i = 0; i < kSide; ++i)
        for (std::size_t j = 0; j < kSide; ++j) z[i * kSide + j] = std::exp(-(x[i] * x[i] + y[j] * y[j]) / 4) * std::cos(x[i] * y[j] / 2);
    try {
        rizari::Plot plot;
        plot.title("exp(-r^2/4) cos(xy/2)").view(55, 35);
        plot.surface(x, y, z);
        plot.save(argc > 1 ? argv[1] : "surface.png", {800, 600});
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
