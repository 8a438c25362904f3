#include "data/dot_shades.h"

#include <array>
#include <charconv>

namespace rizari {

namespace {

constexpr unsigned kOpaque = 255;

// gnuplot's default colour sequence of the line types.
constexpr std::array<Rgb, 8> kDefaultLineTypeColors{0x9400D3, 0x009E73, 0x56B4E9, 0xE69F00, 0xF0E442, 0x0072B2, 0xE51E10, 0x000000};

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

std::optional<Rgb> opaqueHexColor(std::string_view text)
{
    if (text.starts_with("#")) text.remove_prefix(1);
    else if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
    else return std::nullopt;
    if (text.size() == 8 && text.starts_with("00")) text.remove_prefix(2);
    Rgb color = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), color, 16);
    if (text.size() != 6 || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return color;
}

std::optional<Rgb> defaultLineTypeColor(int lineType)
{
    if (lineType < 1) return std::nullopt;
    return kDefaultLineTypeColors[static_cast<std::size_t>(lineType - 1) % kDefaultLineTypeColors.size()];
}

}  // namespace rizari
