#include "front/refusals.h"

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

}  // namespace rizari::front
