#include "engine/image_check.h"

#include <string_view>

#include "platform/platform.h"

namespace rizari {

namespace {

// How far from the end a format's end marker may stand (PDF and SVG may end in blanks or a
// comment after it).
constexpr std::size_t kTailBytes = 1024;

struct ImageFormat {
    std::string_view signature;  // the first bytes of the file
    std::string_view endMarker;
    bool markerLast;  // the marker is the file's last bytes, else somewhere in its tail
};

constexpr ImageFormat kFormats[] = {
    {"\x89PNG\r\n\x1a\n", std::string_view("IEND\xae\x42\x60\x82", 8), true},
    {"GIF8", ";", true},
    {"\xff\xd8\xff", "\xff\xd9", true},
    {"%PDF", "%%EOF", false},
    {"<?xml", "</svg>", false},
    {"<svg", "</svg>", false},
};

}  // namespace

ImageState checkImage(const std::string& path)
{
    const auto head = platform::fileHead(path, 16);
    if (!head || head->empty()) return ImageState::Empty;
    for (const ImageFormat& format : kFormats) {
        if (head->compare(0, format.signature.size(), format.signature) != 0) continue;
        const auto tail = platform::fileTail(path, kTailBytes);
        if (!tail) return ImageState::Incomplete;
        const std::string_view end(*tail);
        const bool found = format.markerLast ? end.ends_with(format.endMarker) : end.find(format.endMarker) != std::string_view::npos;
        return found ? ImageState::Complete : ImageState::Incomplete;
    }
    return ImageState::Complete;  // a format without an end marker of its own
}

}  // namespace rizari
