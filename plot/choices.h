// The named choices of rizari/codes.h (palettes, style sheets) by their texts: members take a
// name and look it up here, and a refusal lists the names known.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "rizari/codes.h"

namespace rizari {

template <class Choice> struct NamedChoice {
    Choice value;
    std::string_view name;
};

#define RIZARI_PALETTE_ROW(value, name) NamedChoice<Palette>{Palette::value, name},
inline constexpr NamedChoice<Palette> kPaletteNames[] = {RIZARI_PALETTE_NAMES(RIZARI_PALETTE_ROW)};
#undef RIZARI_PALETTE_ROW
#define RIZARI_STYLE_SHEET_ROW(value, name) NamedChoice<StyleSheet>{StyleSheet::value, name},
inline constexpr NamedChoice<StyleSheet> kStyleSheetNames[] = {RIZARI_STYLE_SHEET_NAMES(RIZARI_STYLE_SHEET_ROW)};
#undef RIZARI_STYLE_SHEET_ROW

// The choice of exactly this name (null is none).
template <class Choice> std::optional<Choice> choiceNamed(std::span<const NamedChoice<Choice>> table, const char* name)
{
    if (!name) return std::nullopt;
    for (const NamedChoice<Choice>& row : table)
        if (row.name == name) return row.value;
    return std::nullopt;
}

// "classic, viridis, ...": the names a refusal lists, in the order of their rows.
constexpr std::string_view withoutLastSeparator(std::string_view list) { return list.substr(0, list.size() - 2); }
#define RIZARI_LISTED_NAME(value, name) name ", "
inline constexpr std::string_view kPaletteList = withoutLastSeparator(RIZARI_PALETTE_NAMES(RIZARI_LISTED_NAME));
inline constexpr std::string_view kStyleSheetList = withoutLastSeparator(RIZARI_STYLE_SHEET_NAMES(RIZARI_LISTED_NAME));
#undef RIZARI_LISTED_NAME

}  // namespace rizari
