// A colour name kept in a fixed field of 64 bytes: at most 63 characters and the terminator.
// Longer texts are cut at 63 characters; nothing is ever written past the field.
#pragma once

#include <array>
#include <cstring>
#include <string_view>

namespace rizari {

class ColorText {
public:
    static constexpr std::size_t kCapacity = 63;

    ColorText() = default;
    explicit ColorText(std::string_view text) { assign(text); }
    // A null text stores the empty text.
    explicit ColorText(const char* text) { assign(text); }

    // A null text stores the empty text.
    void assign(const char* text) { assign(text ? std::string_view(text) : std::string_view()); }
    void assign(std::string_view text)
    {
        const std::size_t n = text.size() < kCapacity ? text.size() : kCapacity;
        if (n > 0) std::memcpy(chars_.data(), text.data(), n);
        chars_[n] = '\0';
    }

    const char* c_str() const { return chars_.data(); }
    std::string_view view() const { return chars_.data(); }
    bool empty() const { return chars_[0] == '\0'; }

    friend bool operator==(const ColorText& a, std::string_view b) { return a.view() == b; }

private:
    std::array<char, kCapacity + 1> chars_{};
};

}  // namespace rizari
