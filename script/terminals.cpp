#include "script/terminals.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "plot/plot_state.h"

namespace rizari {

namespace {

using enum SizeUnit;
using enum ImageEnd;

// How each kind of file ends, as gnuplot 5.4 writes it.
constexpr ImageFormat kPng{"\x89PNG\r\n\x1a\n", std::string_view("IEND\xae\x42\x60\x82", 8), LastBytes};
constexpr ImageFormat kGif{"GIF8", ";", LastBytes};
constexpr ImageFormat kJpeg{"\xff\xd8\xff", "\xff\xd9", LastBytes};
constexpr ImageFormat kPdf{"%PDF", "%%EOF", LastLine};
constexpr ImageFormat kCairoEps{"%!PS-Adobe", "%%EOF", LastLine};
constexpr ImageFormat kPostScript{"%!PS-Adobe", "%%Trailer", PostScriptTrailer};
constexpr ImageFormat kSvg{"", "", XmlRoot};
constexpr ImageFormat kCanvas{"", "</html>", HtmlPage};
constexpr ImageFormat kSixel{"\x1bP", "\x1b\\", LastBytes};
constexpr ImageFormat kPbm{"P", "", PbmSize};
constexpr ImageFormat kEmf{std::string_view("\x01\0\0\0", 4), "", EmfSize};
constexpr ImageFormat kTextBlock{"", "", TextRows};
constexpr ImageFormat kTikz{"", "\\end{tikzpicture}", TexPicture};

// Sizes and size words as gnuplot 5.4 shows and takes them ("show terminal"; "set terminal T s",
// "si", "siz" and "size" tried on each). Formats unchecked here: cairolatex, epslatex, pslatex
// and pstex write their picture into a second file; fig and the printers' formats have no end.
constexpr Terminal kTerminals[] = {
    {.name = "cairolatex", .unit = Lengths, .options = "si$ze", .defaultSize = {5, 3}},
    {.name = "canvas", .unit = Pixels, .options = "size", .defaultSize = {600, 400}, .antialiased = true, .image = kCanvas,
     .markup = TextMarkup::Html},
    {.name = "cgm"},
    {.name = "context", .unit = Lengths, .options = "size", .defaultSize = {5, 3}},
    {.name = "domterm", .unit = Pixels, .options = "s$ize", .defaultSize = {600, 480}, .markup = TextMarkup::Svg},
    {.name = "dpu414"},
    {.name = "dumb", .unit = Characters, .options = "size f$eed nof$eed", .defaultSize = {79, 24}, .image = kTextBlock},
    {.name = "dxf"},
    {.name = "emf", .unit = Pixels, .options = "si$ze", .defaultSize = {1024, 768}, .image = kEmf},
    {.name = "epscairo", .alias = "eps", .unit = Lengths, .options = "si$ze", .defaultSize = {5, 3}, .antialiased = true,
     .extensions = ".eps", .image = kCairoEps},
    {.name = "epslatex", .unit = Lengths, .options = "size", .defaultSize = {5, 3.5}},
    {.name = "epson_180dpi"},
    {.name = "epson_60dpi"},
    {.name = "epson_lx800"},
    {.name = "fig", .unit = Lengths, .options = "size", .defaultSize = {5, 3}},
    {.name = "gif", .unit = Pixels, .options = "si$ze", .defaultSize = {640, 480}, .raster = true, .extensions = ".gif", .image = kGif,
     .enhancedWord = true},
    {.name = "hp500c"},
    {.name = "hpdj"},
    {.name = "hpgl"},
    {.name = "hpljii"},
    {.name = "hppj"},
    {.name = "jpeg", .unit = Pixels, .options = "si$ze", .defaultSize = {640, 480}, .raster = true, .extensions = ".jpg .jpeg",
     .image = kJpeg, .enhancedWord = true},
    {.name = "lua"},
    {.name = "mf"},
    {.name = "mp"},
    {.name = "nec_cp6"},
    {.name = "okidata"},
    {.name = "pbm", .unit = Pixels, .options = "size", .defaultSize = {640, 480}, .raster = true, .image = kPbm},
    {.name = "pcl5", .unit = Lengths, .options = "size"},
    {.name = "pdfcairo", .unit = Lengths, .options = "si$ze", .defaultSize = {5, 3}, .antialiased = true, .extensions = ".pdf",
     .image = kPdf},
    {.name = "pict2e", .unit = Lengths, .options = "si$ze", .defaultSize = {5, 3}},
    {.name = "png", .unit = Pixels, .options = "si$ze", .defaultSize = {640, 480}, .raster = true, .image = kPng, .enhancedWord = true},
    {.name = "pngcairo", .unit = Pixels, .options = "si$ze", .defaultSize = {640, 480}, .raster = true, .antialiased = true,
     .extensions = ".png", .image = kPng},
    {.name = "postscript", .unit = Lengths, .options = "size", .image = kPostScript, .enhancedWord = true},
    {.name = "pslatex", .unit = Lengths, .options = "size"},
    {.name = "pstex", .unit = Lengths, .options = "size"},
    {.name = "pstricks", .unit = Lengths, .options = "size", .defaultSize = {5, 3}},
    {.name = "qt", .unit = Pixels, .options = "s$ize", .defaultSize = {640, 480}, .antialiased = true, .window = true},
    {.name = "sixelgd", .alias = "sixel", .unit = Pixels, .options = "si$ze", .defaultSize = {640, 480}, .raster = true,
     .image = kSixel},
    {.name = "sixeltek", .unit = Pixels, .options = "size", .defaultSize = {640, 480}},
    {.name = "starc"},
    {.name = "svg", .unit = Pixels, .options = "s$ize", .defaultSize = {600, 480}, .antialiased = true, .extensions = ".svg",
     .image = kSvg, .markup = TextMarkup::Svg},
    {.name = "tandy_60dpi"},
    {.name = "tek40xx"},
    {.name = "tek410x"},
    {.name = "texdraw", .unit = Lengths, .options = "size"},
    {.name = "tikz", .abbreviable = false, .unit = Lengths, .options = "si$ze", .defaultSize = {5, 3}, .image = kTikz},
    {.name = "tkcanvas", .unit = Pixels, .options = "size", .defaultSize = {800, 600}},
    {.name = "unknown"},
    {.name = "vttek"},
    {.name = "wxt", .unit = Pixels, .options = "s$ize", .defaultSize = {640, 384}, .antialiased = true, .window = true},
    {.name = "x11", .unit = Pixels, .options = "size", .defaultSize = {640, 450}, .window = true},
    {.name = "xlib"},
    {.name = "xterm"},
};

constexpr std::string_view kWindowTerminal = "wxt";
constexpr double kCentimetresPerInch = 2.54;

// Whether the word is the option (given whole, as "size") as the row's list shortens it: "si$ze"
// takes at least the letters before "$", a listed word without "$" only whole.
bool isOptionOf(const Terminal& terminal, std::string_view word, std::string_view option)
{
    for (const std::string_view listed : optionWords(terminal.options)) {
        const std::size_t mark = listed.find('$');
        if (mark == std::string_view::npos) {
            if (listed == option && word == option) return true;
            continue;
        }
        const bool named = option.size() + 1 == listed.size() && listed.substr(0, mark) == option.substr(0, mark) &&
                           listed.substr(mark + 1) == option.substr(mark);
        if (named && word.size() >= mark && option.starts_with(word)) return true;
    }
    return false;
}

// One length of a size option: a number with "cm" or "in" (or "inch") attached or as the next
// word; `at` moves past what was read. None when it is not a length.
std::optional<double> lengthAt(const std::vector<std::string_view>& words, std::size_t& at)
{
    if (at >= words.size()) return std::nullopt;
    const std::string_view word = words[at++];
    double value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
    std::string_view unit(end, static_cast<std::size_t>(word.data() + word.size() - end));
    if (unit.empty() && at < words.size() && (words[at] == "cm" || words[at] == "in" || words[at] == "inch")) unit = words[at++];
    if (unit.empty()) return value;
    if (unit == "in" || unit == "inch") return value * kPixelsPerInch;
    if (unit == "cm") return value * kPixelsPerInch / kCentimetresPerInch;
    return std::nullopt;
}

}  // namespace

bool staysText(std::string_view text, TextMarkup markup)
{
    if (markup == TextMarkup::Html) return text.find("</") == std::string_view::npos && text.find("<!") == std::string_view::npos;
    if (markup != TextMarkup::Svg) return true;
    for (std::size_t at = text.find("{/"); at != std::string_view::npos; at = text.find("{/", at + 2)) {
        const std::string_view font = text.substr(at + 2, text.find_first_of(" =*}", at + 2) - (at + 2));
        if (font.find_first_of(kMarkupCharacters) != std::string_view::npos) return false;
    }
    return true;
}

std::span<const Terminal> allTerminals() { return kTerminals; }

const Terminal& windowTerminal() { return *terminalNamed(kWindowTerminal); }

const Terminal* terminalNamed(std::string_view name)
{
    if (name.empty()) return nullptr;
    for (const Terminal& t : kTerminals)
        if (t.name == name) return &t;
    for (const Terminal& t : kTerminals)
        if (t.alias.starts_with(name)) return &t;
    const Terminal* found = nullptr;
    for (const Terminal& t : kTerminals) {
        if (!t.name.starts_with(name)) continue;
        if (found) return nullptr;  // ambiguous
        found = &t;
    }
    return found && found->abbreviable ? found : nullptr;
}

std::vector<std::string_view> optionWords(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == ',') {
            ++i;
        } else if (c == '"' || c == '\'') {
            const std::size_t end = text.find(c, i + 1);
            const std::size_t stop = end == std::string_view::npos ? text.size() : end + 1;
            words.push_back(text.substr(i, stop - i));
            i = stop;
        } else {
            const std::size_t stop = std::min(text.find_first_of(" \t,", i), text.size());
            words.push_back(text.substr(i, stop - i));
            i = stop;
        }
    }
    return words;
}

TerminalText::TerminalText(std::string_view text) : words(optionWords(text))
{
    if (!words.empty()) terminal = terminalNamed(words.front());
}

bool TerminalText::isOption(std::size_t at, std::string_view option) const
{
    return terminal && at > 0 && at < words.size() && isOptionOf(*terminal, words[at], option);
}

bool TerminalText::hasOption(std::string_view option) const
{
    for (std::size_t i = 1; i < words.size(); ++i)
        if (isOption(i, option)) return true;
    return false;
}

SizeOption sizeOption(const TerminalText& text)
{
    SizeOption found;
    for (std::size_t i = 1; i < text.words.size(); ++i) {
        if (!text.isOption(i, "size")) continue;
        std::size_t at = i + 1;
        const auto width = lengthAt(text.words, at);
        const auto height = lengthAt(text.words, at);
        if (!width || !height) return {SizeOption::State::Unreadable, {}};
        found = {SizeOption::State::Given, {*width, *height}};
    }
    return found;
}

}  // namespace rizari
