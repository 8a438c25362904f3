#include "front/refusals.h"

#include "platform/unicode.h"

#include <climits>
#include <stdexcept>

namespace rizari::front {

void throwRefusal(MessageCapture& capture)
{
    if (capture.text().empty()) return;
    std::string text = capture.take();
    if (text.back() == '\n') text.pop_back();
    throw std::invalid_argument(text);
}

void refuse(std::string_view where, std::string_view why)
{
    std::string text = "rizari::";
    text.append(where).append("(): ").append(why);
    throw std::invalid_argument(text);
}

int countOf(std::string_view where, std::size_t size)
{
    if (size > static_cast<std::size_t>(INT_MAX)) refuse(where, "more values than an int counts");
    return static_cast<int>(size);
}

std::string fileName(std::string_view where, const std::filesystem::path& path)
{
    std::string name = unicode::utf8String(path);
    if (name.find('\0') != std::string::npos) refuse(where, "the file name holds a NUL character");
    return name;
}

}  // namespace rizari::front
