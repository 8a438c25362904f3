#include "engine/image_check.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "script/terminals.h"

namespace rizari {

namespace {

// Enough of the start for every header read here, and of the end for every trailer.
constexpr std::size_t kHeadBytes = 4096;
constexpr std::size_t kTailBytes = 4096;

std::string_view withoutTrailingBlanks(std::string_view text)
{
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

// Whether the line is the text's last, blanks and line ends after it aside.
bool endsWithLine(std::string_view text, std::string_view line)
{
    text = withoutTrailingBlanks(text);
    if (!text.ends_with(line)) return false;
    const std::size_t start = text.size() - line.size();
    return start == 0 || text[start - 1] == '\n' || text[start - 1] == '\r';
}

// The comments a PostScript header defers to the trailer ("%%Pages: (atend)" gives "%%Pages:").
std::vector<std::string_view> deferredComments(std::string_view head)
{
    std::vector<std::string_view> keys;
    for (std::size_t start = 0; start < head.size();) {
        const std::size_t end = std::min(head.find('\n', start), head.size());
        const std::string_view line = withoutTrailingBlanks(head.substr(start, end - start));
        if (line == "%%EndComments") break;
        if (line.starts_with("%%") && line.ends_with("(atend)") && line.find(':') != std::string_view::npos)
            keys.push_back(line.substr(0, line.find(':') + 1));
        start = end + 1;
    }
    return keys;
}

// A trailer after the last "%%Trailer" line, whole lines only, holding every deferred comment.
bool postScriptTrailerWhole(std::string_view head, std::string_view tail)
{
    const std::size_t trailer = tail.rfind("\n%%Trailer");
    if (trailer == std::string_view::npos || !tail.ends_with('\n')) return false;
    const std::string_view rest = tail.substr(trailer);
    return std::ranges::all_of(deferredComments(head), [&](std::string_view key) {
        for (std::size_t at = rest.find(key); at != std::string_view::npos; at = rest.find(key, at + 1))
            if (rest[at - 1] == '\n') return true;
        return false;
    });
}

// Past the markup construct that starts at `at` ("<!--", "<![CDATA[", "<?", "<!DOCTYPE" or a
// tag, whose quoted attribute values may hold ">"); npos when the text ends inside it.
std::size_t pastMarkup(std::string_view text, std::size_t at)
{
    const auto pastEnd = [&](std::string_view end) {
        const std::size_t found = text.find(end, at);
        return found == std::string_view::npos ? found : found + end.size();
    };
    if (text.substr(at).starts_with("<!--")) return pastEnd("-->");
    if (text.substr(at).starts_with("<![CDATA[")) return pastEnd("]]>");
    if (text.substr(at).starts_with("<?")) return pastEnd("?>");
    char quote = 0;
    int brackets = 0;  // a document type's internal subset
    for (std::size_t i = at + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'') quote = c;
        else if (c == '[' || c == ']') brackets += c == '[' ? 1 : -1;
        else if (c == '>' && brackets == 0) return i + 1;
    }
    return std::string_view::npos;
}

// Whether the XML text's root element is closed, with only blanks, comments and processing
// instructions after it. Comments, CDATA sections and quoted attribute values are passed over
// as such, so no text in them can close the root.
bool xmlRootClosed(std::string_view text)
{
    int depth = 0;
    bool rootClosed = false;
    for (std::size_t at = 0; at < text.size();) {
        if (text[at] != '<') {
            if (rootClosed && text[at] != ' ' && text[at] != '\t' && text[at] != '\r' && text[at] != '\n') return false;
            ++at;
            continue;
        }
        const std::size_t next = pastMarkup(text, at);
        if (next == std::string_view::npos) return false;
        const std::string_view tag = text.substr(at, next - at);
        const bool element = tag.size() > 2 && tag[1] != '!' && tag[1] != '?';
        if (element && rootClosed) return false;  // a second root
        if (element && tag[1] == '/' && --depth < 0) return false;
        if (element && tag[1] == '/') rootClosed = depth == 0;
        else if (element && !tag.ends_with("/>")) ++depth;
        else if (element) rootClosed = depth == 0;
        at = next;
    }
    return rootClosed;
}

// The digits at `at` after blanks (and "#" comments); none when there are none.
std::optional<std::uint64_t> headerNumber(std::string_view head, std::size_t& at)
{
    while (at < head.size() && (head[at] == ' ' || head[at] == '\t' || head[at] == '\r' || head[at] == '\n' || head[at] == '#'))
        at = head[at] == '#' ? head.find('\n', at) : at + 1;
    std::uint64_t value = 0;
    const std::size_t start = at;
    while (at < head.size() && head[at] >= '0' && head[at] <= '9' && at - start < 9)
        value = value * 10 + static_cast<unsigned>(head[at++] - '0');
    if (at == start) return std::nullopt;
    return value;
}

// The length of a binary portable bitmap, graymap or pixmap as its header gives it.
std::optional<std::uint64_t> pbmLength(std::string_view head)
{
    if (head.size() < 2 || (head[1] != '4' && head[1] != '5' && head[1] != '6')) return std::nullopt;
    std::size_t at = 2;
    const auto width = headerNumber(head, at), height = headerNumber(head, at);
    const auto largest = head[1] == '4' ? std::optional<std::uint64_t>(1) : headerNumber(head, at);
    if (!width || !height || !largest || at >= head.size()) return std::nullopt;
    const std::uint64_t sampleBytes = *largest > 255 ? 2 : 1;
    const std::uint64_t rows = head[1] == '4' ? (*width + 7) / 8 : *width * sampleBytes * (head[1] == '6' ? 3 : 1);
    return at + 1 + rows * *height;
}

std::uint32_t littleEndian32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// An enhanced metafile as long as its header says, ending with the end-of-file record.
bool emfWhole(std::string_view head, std::string_view tail, std::uint64_t length)
{
    constexpr std::size_t kSignatureAt = 40, kLengthAt = 48, kEndRecord = 20;
    constexpr std::uint32_t kEndOfFile = 14;
    if (head.size() < kLengthAt + 4 || head.substr(kSignatureAt, 4) != " EMF" || tail.size() < kEndRecord) return false;
    const std::size_t record = tail.size() - kEndRecord;
    return littleEndian32(head, kLengthAt) == length && littleEndian32(tail, record) == kEndOfFile &&
           littleEndian32(tail, record + 4) == kEndRecord;
}

// The rows of a text block: its size option, else sizeOutput's height, else its default. None
// when its text sizes it some other way (the old bare numbers) or unreadably.
std::optional<long long> textBlockRows(const TerminalText& text, const OutputState& out)
{
    const SizeOption given = sizeOption(text);
    if (given.state == SizeOption::State::Given) return std::llround(given.size.height);
    const bool numbers = std::ranges::any_of(text.words, [](std::string_view w) { return w.find_first_of("0123456789") != w.npos; });
    if (given.state == SizeOption::State::Unreadable || numbers) return std::nullopt;
    return std::llround(out.size ? out.size->pixelHeight() : text.terminal->defaultSize.height);
}

// The text without the escape sequence that may end it (colours reset after the last row).
std::string_view withoutFinalEscape(std::string_view text)
{
    const std::size_t escape = text.rfind("\x1b[");
    if (escape == std::string_view::npos) return text;
    const std::string_view sequence = text.substr(escape + 2);
    const std::size_t last = sequence.find_first_not_of("0123456789;");
    return last + 1 == sequence.size() && std::isalpha(static_cast<unsigned char>(sequence[last])) ? text.substr(0, escape) : text;
}

// Whole rows, as many as the block is high (or a multiple: one block a plot); the last row ends
// with a line end unless the text says nofeed.
bool textRowsWhole(std::string_view text, const TerminalText& terminal, const OutputState& out)
{
    text = withoutFinalEscape(text);
    const bool feed = !terminal.hasOption("nofeed");
    if (text.ends_with('\n') != feed) return false;
    const auto height = textBlockRows(terminal, out);
    const auto rows = std::ranges::count(text, '\n') + (feed ? 0 : 1);
    return !height || (*height > 0 && rows % *height == 0);
}

// After the picture's last end only whole lines; a whole document ends with \end{document}.
bool texPictureWhole(std::string_view head, std::string_view tail, std::string_view end)
{
    if (tail.rfind(end) == std::string_view::npos || !tail.ends_with('\n')) return false;
    return !head.starts_with("\\documentclass") || endsWithLine(tail, "\\end{document}");
}

bool wholeImage(const std::string& path, std::string_view head, const TerminalText& terminal, const OutputState& out)
{
    const ImageFormat& format = terminal.terminal->image;
    const auto tail = platform::fileTail(path, kTailBytes);
    const auto state = platform::fileState(path);
    if (!tail || !state) return false;
    switch (format.rule) {
    case ImageEnd::LastBytes: return tail->ends_with(format.end);
    case ImageEnd::LastLine: return endsWithLine(*tail, format.end);
    case ImageEnd::PostScriptTrailer: return postScriptTrailerWhole(head, *tail);
    case ImageEnd::HtmlPage: return !head.starts_with('<') || endsWithLine(*tail, format.end);
    case ImageEnd::PbmSize: {
        const auto length = pbmLength(head);
        return length && *length <= static_cast<std::uint64_t>(state->size);
    }
    case ImageEnd::EmfSize: return emfWhole(head, *tail, static_cast<std::uint64_t>(state->size));
    case ImageEnd::TexPicture: return texPictureWhole(head, *tail, format.end);
    case ImageEnd::XmlRoot:
    case ImageEnd::TextRows: break;
    case ImageEnd::Unchecked: return true;
    }
    const auto whole = platform::fileHead(path, SIZE_MAX);
    if (!whole) return false;
    return format.rule == ImageEnd::XmlRoot ? xmlRootClosed(*whole) : textRowsWhole(*whole, terminal, out);
}

}  // namespace

ImageState checkImage(const std::string& path, const OutputState& out)
{
    const auto head = platform::fileHead(path, kHeadBytes);
    if (!head || head->empty()) return ImageState::Empty;
    const TerminalText terminal(out.terminal ? std::string_view(*out.terminal) : std::string_view());
    if (!terminal.terminal || terminal.terminal->image.rule == ImageEnd::Unchecked) return ImageState::Complete;
    // A file that does not begin as the format does is another program's: not looked at, unless
    // it is that beginning cut short.
    const std::string_view signature = terminal.terminal->image.signature;
    if (!head->starts_with(signature)) return signature.starts_with(*head) ? ImageState::Incomplete : ImageState::Complete;
    return wholeImage(path, *head, terminal, out) ? ImageState::Complete : ImageState::Incomplete;
}

}  // namespace rizari
