// The points the benchmarks write: the runner's example curve (x = linspace(0, 100, n), y = sin x)
// and random doubles of every magnitude, and the plain ways of writing them. The arrays are
// written once into storage that is never zero-filled, as the runner's own arrays are.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdio>
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

// A bare fprintf loop: one "x y" line per point, as %g writes the numbers.
inline void writeFprintf(const Points& p, std::FILE* f)
{
    for (std::size_t i = 0; i < p.n; ++i) std::fprintf(f, "%g %g\n", p.x[i], p.y[i]);
}

// The same text through std::to_chars (general format, six digits: the text of %g), gathered in
// 1 MiB blocks.
inline void writeToChars(const Points& p, std::FILE* f)
{
    constexpr std::size_t kBlock = std::size_t{1} << 20;
    constexpr std::size_t kNumber = 32;
    constexpr std::size_t kLine = 2 * kNumber + 2;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBlock);
    char* at = buffer.get();
    for (std::size_t i = 0; i < p.n; ++i) {
        if (at > buffer.get() + kBlock - kLine) {
            std::fwrite(buffer.get(), 1, static_cast<std::size_t>(at - buffer.get()), f);
            at = buffer.get();
        }
        at = std::to_chars(at, at + kNumber, p.x[i], std::chars_format::general, 6).ptr;
        *at++ = ' ';
        at = std::to_chars(at, at + kNumber, p.y[i], std::chars_format::general, 6).ptr;
        *at++ = '\n';
    }
    std::fwrite(buffer.get(), 1, static_cast<std::size_t>(at - buffer.get()), f);
}

}  // namespace rizari::bench
