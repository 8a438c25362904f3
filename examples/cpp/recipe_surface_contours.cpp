// Recipe: a coloured surface with contour lines on it and on the base below it.
#include <rizari/plot.h>

#include <cmath>
#include <vector>

int main()
{
    std::vector<double> x, y, z;
    for (int i = 0; i <= 40; ++i) x.push_back(-3 + i * 0.15), y.push_back(-3 + i * 0.15);
    for (double u : x)
        for (double v : y) z.push_back(std::sin(u) * std::cos(v) * std::exp(-(u * u + v * v) / 8));

    rizari::Plot plot;
    plot.styleSheet(rizari::StyleSheet::Clean).title("z = sin(x) cos(y) exp(-(x^2 + y^2) / 8)");
    plot.surface(x, y, z).color("black");  // the contour lines
    plot.contour(rizari::Contour::Both).contourLevels({-0.6, -0.4, -0.2, 0.2, 0.4, 0.6});
    plot.save("recipe_surface_contours.png", {800, 600});
}
