// The points the benchmarks write: the runner's example curve (x = linspace(0, 100, n), y = sin x)
// and random doubles of every magnitude. The arrays are written once into storage that is never
// zero-filled, as the runner's own arrays are.
#pragma once

#include <cmath>
#include <cstddef>
#include <memory>
#include <random>

namespace rizari::bench {

enum class Shape { Sine, Random };

struct Points {
    std::size_t n = 0;
    std::unique_ptr<double[]> x;
    std::unique_ptr<double[]> y;
};

inline Points makePoints(Shape shape, std::size_t n)
{
    Points p{n, std::make_unique_for_overwrite<double[]>(n), std::make_unique_for_overwrite<double[]>(n)};
    if (shape == Shape::Sine) {
        for (std::size_t i = 0; i < n; ++i) {
            p.x[i] = n == 1 ? 0.0 : 100.0 * static_cast<double>(i) / static_cast<double>(n - 1);
            p.y[i] = std::sin(p.x[i]);
        }
        return p;
    }
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-307, 307);
    std::bernoulli_distribution negative(0.5);
    auto draw = [&] { return (negative(rng) ? -1 : 1) * mantissa(rng) * std::pow(10.0, exponent(rng)); };
    for (std::size_t i = 0; i < n; ++i) {
        p.x[i] = draw();
        p.y[i] = draw();
    }
    return p;
}

}  // namespace rizari::bench
