#include "script/engine_colors.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace rizari {

namespace {

struct NamedColor {
    std::string_view name;
    Rgb color;
};

// gnuplot's colour names ("show colornames"); gnuplot 6 calls slateblue1 slateblue.
constexpr NamedColor kColorNames[] = {
    {"white", 0xFFFFFF}, {"black", 0x000000}, {"dark-grey", 0xA0A0A0}, {"red", 0xFF0000}, {"web-green", 0x00C000},
    {"web-blue", 0x0080FF}, {"dark-magenta", 0xC000FF}, {"dark-cyan", 0x00EEEE}, {"dark-orange", 0xC04000},
    {"dark-yellow", 0xC8C800}, {"royalblue", 0x4169E1}, {"goldenrod", 0xFFC020}, {"dark-spring-green", 0x008040},
    {"purple", 0xC080FF}, {"steelblue", 0x306080}, {"dark-red", 0x8B0000}, {"dark-chartreuse", 0x408000},
    {"orchid", 0xFF80FF}, {"aquamarine", 0x7FFFD4}, {"brown", 0xA52A2A}, {"yellow", 0xFFFF00},
    {"turquoise", 0x40E0D0}, {"grey0", 0x000000}, {"grey10", 0x1A1A1A}, {"grey20", 0x333333}, {"grey30", 0x4D4D4D},
    {"grey40", 0x666666}, {"grey50", 0x7F7F7F}, {"grey60", 0x999999}, {"grey70", 0xB3B3B3}, {"grey", 0xC0C0C0},
    {"grey80", 0xCCCCCC}, {"grey90", 0xE5E5E5}, {"grey100", 0xFFFFFF}, {"light-red", 0xF03232},
    {"light-green", 0x90EE90}, {"light-blue", 0xADD8E6}, {"light-magenta", 0xF055F0}, {"light-cyan", 0xE0FFFF},
    {"light-goldenrod", 0xEEDD82}, {"light-pink", 0xFFB6C1}, {"light-turquoise", 0xAFEEEE}, {"gold", 0xFFD700},
    {"green", 0x00FF00}, {"dark-green", 0x006400}, {"spring-green", 0x00FF7F}, {"forest-green", 0x228B22},
    {"sea-green", 0x2E8B57}, {"blue", 0x0000FF}, {"dark-blue", 0x00008B}, {"midnight-blue", 0x191970},
    {"navy", 0x000080}, {"medium-blue", 0x0000CD}, {"skyblue", 0x87CEEB}, {"cyan", 0x00FFFF}, {"magenta", 0xFF00FF},
    {"dark-turquoise", 0x00CED1}, {"dark-pink", 0xFF1493}, {"coral", 0xFF7F50}, {"light-coral", 0xF08080},
    {"orange-red", 0xFF4500}, {"salmon", 0xFA8072}, {"dark-salmon", 0xE9967A}, {"khaki", 0xF0E68C},
    {"dark-khaki", 0xBDB76B}, {"dark-goldenrod", 0xB8860B}, {"beige", 0xF5F5DC}, {"olive", 0xA08020},
    {"orange", 0xFFA500}, {"violet", 0xEE82EE}, {"dark-violet", 0x9400D3}, {"plum", 0xDDA0DD},
    {"dark-plum", 0x905040}, {"dark-olivegreen", 0x556B2F}, {"orangered4", 0x801400}, {"brown4", 0x801414},
    {"sienna4", 0x804014}, {"orchid4", 0x804080}, {"mediumpurple3", 0x8060C0}, {"slateblue1", 0x8060FF},
    {"yellow4", 0x808000}, {"sienna1", 0xFF8040}, {"tan1", 0xFFA040}, {"sandybrown", 0xFFA060},
    {"light-salmon", 0xFFA070}, {"pink", 0xFFC0C0}, {"khaki1", 0xFFFF80}, {"lemonchiffon", 0xFFFFC0},
    {"bisque", 0xCDB79E}, {"honeydew", 0xF0FFF0}, {"slategrey", 0xA0B6CD}, {"seagreen", 0xC1FFC1},
    {"antiquewhite", 0xCDC0B0}, {"chartreuse", 0x7CFF40}, {"greenyellow", 0xA0FF20}, {"gray", 0xBEBEBE},
    {"light-gray", 0xD3D3D3}, {"light-grey", 0xD3D3D3}, {"dark-gray", 0xA0A0A0}, {"slategray", 0xA0B6CD},
    {"gray0", 0x000000}, {"gray10", 0x1A1A1A}, {"gray20", 0x333333}, {"gray30", 0x4D4D4D}, {"gray40", 0x666666},
    {"gray50", 0x7F7F7F}, {"gray60", 0x999999}, {"gray70", 0xB3B3B3}, {"gray80", 0xCCCCCC}, {"gray90", 0xE5E5E5},
    {"gray100", 0xFFFFFF}, {"slateblue", 0x8060FF}
};

// gnuplot's default colour sequence of the line types.
constexpr std::array<Rgb, 8> kDefaultLineTypeColors{0x9400D3, 0x009E73, 0x56B4E9, 0xE69F00, 0xF0E442, 0x0072B2, 0xE51E10, 0x000000};

// The digits of a colour written in hexadecimal ("#" or "0x" before them); none for anything else.
std::optional<std::string_view> hexDigits(std::string_view text)
{
    if (text.starts_with("#")) text.remove_prefix(1);
    else if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
    else return std::nullopt;
    if (text.empty() || text.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) return std::nullopt;
    return text;
}

std::optional<Rgb> opaqueHexColor(std::string_view text)
{
    auto digits = hexDigits(text);
    if (!digits) return std::nullopt;
    if (digits->size() == 8 && digits->starts_with("00")) digits->remove_prefix(2);
    if (digits->size() != 6) return std::nullopt;
    Rgb color = 0;
    std::from_chars(digits->data(), digits->data() + digits->size(), color, 16);
    return color;
}

}  // namespace

std::optional<Rgb> opaqueColor(std::string_view text)
{
    if (const auto hex = opaqueHexColor(text)) return hex;
    const auto* named = std::find_if(std::begin(kColorNames), std::end(kColorNames), [&](const NamedColor& c) { return c.name == text; });
    if (named == std::end(kColorNames)) return std::nullopt;
    return named->color;
}

bool translucentColor(std::string_view text)
{
    const auto digits = hexDigits(text);
    return digits && digits->size() == 8 && !digits->starts_with("00");
}

std::optional<Rgb> defaultLineTypeColor(int lineType)
{
    if (lineType < 1) return std::nullopt;
    return kDefaultLineTypeColors[static_cast<std::size_t>(lineType - 1) % kDefaultLineTypeColors.size()];
}

}  // namespace rizari
