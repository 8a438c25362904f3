// The codes of rizari/codes.h as the plot's state keeps them. The members of CPlot take plain ints
// and convert them here, once: a code a member checks becomes its group's enum class; a code a
// member stores whatever its value (a getter gives it back, or the writers draw any other value
// in a fallback way) becomes a KeptCode, which compares only with its own group's values.
#pragma once

#include <optional>

#include "rizari/codes.h"

namespace rizari {

#define RIZARI_TYPED_CODE(group, name, value) name = value,
// The element types of data set values (the ElementType codes of AddCurve and AddSurface).
enum class Element : int { RIZARI_ELEMENT_TYPE_CODES(RIZARI_TYPED_CODE) };
#undef RIZARI_TYPED_CODE

// The codes of each group, from its rows in rizari/codes.h.
template <class Enum> struct CodeRows;
#define RIZARI_CODE_VALUE(group, name, value) value,
#define RIZARI_CODE_ROWS(Enum, LIST)                                                               \
    template <> struct CodeRows<Enum> {                                                            \
        static constexpr int values[] = {LIST(RIZARI_CODE_VALUE)};                                 \
    };
RIZARI_CODE_ROWS(Style, RIZARI_PLOT_TYPE_CODES)
RIZARI_CODE_ROWS(Output, RIZARI_OUTPUT_TYPE_CODES)
RIZARI_CODE_ROWS(Coordinates, RIZARI_COORD_SYSTEM_CODES)
RIZARI_CODE_ROWS(TicDirection, RIZARI_TICS_DIRECTION_CODES)
RIZARI_CODE_ROWS(Angle, RIZARI_ANGLE_UNIT_CODES)
RIZARI_CODE_ROWS(Align, RIZARI_TEXT_ALIGN_CODES)
RIZARI_CODE_ROWS(Fill, RIZARI_BOX_FILL_CODES)
RIZARI_CODE_ROWS(Contour, RIZARI_CONTOUR_MODE_CODES)
RIZARI_CODE_ROWS(Element, RIZARI_ELEMENT_TYPE_CODES)
#undef RIZARI_CODE_ROWS
#undef RIZARI_CODE_VALUE

// The value of a code of the group; none for a code outside it.
template <class Enum> constexpr std::optional<Enum> knownCode(int code)
{
    for (const int value : CodeRows<Enum>::values)
        if (value == code) return static_cast<Enum>(code);
    return std::nullopt;
}

// A code kept as a member was given it: one of the group's values, or another code, which
// equals none of them.
template <class Enum> class KeptCode {
public:
    constexpr KeptCode(Enum value) : code_(static_cast<int>(value)) {}
    constexpr explicit KeptCode(int code) : code_(code) {}

    // The code as given, for the getters and the tables keyed by code.
    constexpr int code() const { return code_; }
    // The group's value; none for a code outside the group.
    constexpr std::optional<Enum> known() const { return knownCode<Enum>(code_); }

    constexpr bool operator==(Enum value) const { return code_ == static_cast<int>(value); }
    constexpr bool operator==(const KeptCode&) const = default;

private:
    int code_;
};

}  // namespace rizari
