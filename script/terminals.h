// gnuplot's terminals as the library knows them: one row per terminal holding every fact a rule
// of the library depends on (its size unit and default size, whether it makes pixels, draws
// antialiased or opens a window, the file extensions the typed front picks it for, how a complete
// image of it ends, how texts land in its file, the option words the library reads), and the one
// reader of terminal texts, which resolves the terminal's name and those option words the way
// gnuplot does. A new terminal is one row of terminals.cpp.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace rizari {

// How a terminal measures its size.
enum class SizeUnit {
    None,        // it takes no size (or the library does not know how)
    Pixels,
    Characters,  // columns and rows of a text block
    Lengths,     // inches or centimetres: the library writes pixels at 72 per inch as inches
};

// How the image check tells a complete file of the terminal from one cut short.
enum class ImageEnd {
    Unchecked,          // the format has no end of its own, or the file is not the whole picture
    LastBytes,          // the file ends with `end`
    LastLine,           // `end` is the file's last line (blanks and line ends may follow)
    PostScriptTrailer,  // a "%%Trailer" that holds every comment the header deferred with "(atend)"
    XmlRoot,            // the root element is closed (found from the structure, not by searching)
    HtmlPage,           // a page ends with `end` as its last line; a bare script is not looked at
    PbmSize,            // as long as the header's kind, width and height say
    EmfSize,            // as long as the header says, ending with the end-of-file record
    TextRows,           // whole rows of text, as many as the block is high
    TexPicture,         // whole lines after the last `end`; a whole document ends with \end{document}
};

struct ImageFormat {
    std::string_view signature{};  // the file's first bytes; empty when the rule reads the start itself
    std::string_view end{};
    ImageEnd rule = ImageEnd::Unchecked;
};

// Where the terminal writes the picture's texts as they stand into markup of its file, a text can
// hold markup of its own: SVG takes font names raw into attributes, the canvas terminal's HTML
// page takes every text raw into its script.
enum class TextMarkup { None, Svg, Html };

struct Extent {
    double width = 0;
    double height = 0;
};

struct Terminal {
    std::string_view name{};
    std::string_view alias{};   // gnuplot selects the terminal by any beginning of it too ("e" is epscairo)
    bool abbreviable = true;    // gnuplot takes a beginning of the name (tikz wants it whole)
    SizeUnit unit = SizeUnit::None;
    // The option words the library reads, as gnuplot shortens them: "si$ze" takes "si", "siz"
    // and "size", a word without "$" only whole.
    std::string_view options{};
    Extent defaultSize{};       // in its unit (inches for lengths); 0 x 0 when not known
    bool raster = false;        // it makes pixels
    bool antialiased = false;   // it draws antialiased edges
    bool window = false;        // an interactive window
    std::string_view extensions{};  // the file extensions the typed front's save() picks it for
    ImageFormat image{};
    TextMarkup markup = TextMarkup::None;
    // The terminal line ends with "enhanced" (or "noenhanced") when the caller's text begins with
    // this name: a test of the text's beginning, so "pngcairo" gets it through "png".
    bool enhancedWord = false;
};

// The characters markup reads; no font name holds them.
inline constexpr std::string_view kMarkupCharacters = "<>&\"'";

// Whether a text shown in the picture stays text in a file of this markup. In SVG, a font switch
// of enhanced text ("{/NAME ...}") must not name a font with markup characters; in the canvas
// terminal's page, "</" or "<!" could end or confuse its script, so no text may hold them.
bool staysText(std::string_view text, TextMarkup markup);

// Every terminal of gnuplot 5.4 (Debian's gnuplot-qt), in gnuplot's order.
std::span<const Terminal> allTerminals();

// The terminal the library's window output draws with.
const Terminal& windowTerminal();

// The terminal a name selects, as gnuplot selects it: the whole name, else any beginning of an
// alias, else a beginning that only one name has. None for an unknown or ambiguous name.
const Terminal* terminalNamed(std::string_view name);

// The words of a gnuplot option text, split at blanks and commas; a quoted text is one word.
std::vector<std::string_view> optionWords(std::string_view text);

// A terminal text as gnuplot reads it: its terminal (none when unknown) and its words, the name
// first. The text itself stays the caller's: this only reads it.
struct TerminalText {
    const Terminal* terminal = nullptr;
    std::vector<std::string_view> words;

    explicit TerminalText(std::string_view text);
    // Whether the word at `at` is the option (given whole, as "size") as the terminal shortens it.
    bool isOption(std::size_t at, std::string_view option) const;
    // Whether any word after the name is the option.
    bool hasOption(std::string_view option) const;
};

// The size option of a terminal text (the last one given). Numbers count in the terminal's unit;
// lengths with "in" or "cm" are pixels at 72 per inch.
struct SizeOption {
    enum class State { Absent, Unreadable, Given } state = State::Absent;
    Extent size;
};
SizeOption sizeOption(const TerminalText& text);

}  // namespace rizari
