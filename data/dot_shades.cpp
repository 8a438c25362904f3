#include "data/dot_shades.h"

#include <array>

namespace rizari {

namespace {

constexpr unsigned kOpaque = 255;

// What a pixel keeps uncovered after each dot: cairo rounds to 255ths at every dot.
constexpr std::array<std::uint8_t, kMostShadedDots + 1> kUncoveredAfter = [] {
    std::array<std::uint8_t, kMostShadedDots + 1> left{};
    unsigned uncovered = kOpaque;
    for (std::size_t k = 0; k < left.size(); ++k) {
        left[k] = static_cast<std::uint8_t>(uncovered);
        uncovered = (uncovered * kDotUncovered + kOpaque / 2) / kOpaque;
    }
    return left;
}();

}  // namespace

std::uint8_t shadeOpacity(unsigned dots)
{
    return static_cast<std::uint8_t>(kOpaque - kUncoveredAfter[dots < kMostShadedDots ? dots : kMostShadedDots]);
}

bool writeShadeImage(const DotShades& shades, Rgb color, std::FILE* file)
{
    const auto channel = [color](int shift) { return static_cast<unsigned char>((color >> shift) & 0xFF); };
    const unsigned char red = channel(16), green = channel(8), blue = channel(0);
    std::vector<unsigned char> row(4 * static_cast<std::size_t>(shades.columns));
    const std::size_t columns = static_cast<std::size_t>(shades.columns);
    for (std::size_t start = 0; start + columns <= shades.dots.size(); start += columns) {
        for (std::size_t c = 0; c < columns; ++c) {
            unsigned char* pixel = &row[4 * c];
            pixel[0] = red, pixel[1] = green, pixel[2] = blue, pixel[3] = shadeOpacity(shades.dots[start + c]);
        }
        if (std::fwrite(row.data(), 1, row.size(), file) != row.size()) return false;
    }
    return true;
}

}  // namespace rizari
