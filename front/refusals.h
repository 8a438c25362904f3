// How the front calls CPlot: a member that refuses an argument writes a message, which the front
// collects and throws as std::invalid_argument instead of printing it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/messages.h"
#include "rizari/cplot.h"

namespace rizari::front {

// Throws std::invalid_argument with the collected messages (without the last line end), if any.
void throwRefusal(MessageCapture& capture);

// Runs a call of a CPlot member; a message it wrote refuses the call.
template <class Call> decltype(auto) refusing(Call&& call)
{
    MessageCapture capture;
    if constexpr (std::is_void_v<std::invoke_result_t<Call&>>) {
        call();
        throwRefusal(capture);
    } else {
        auto result = call();
        throwRefusal(capture);
        return result;
    }
}

// Throws std::invalid_argument "rizari::<where>(): <why>" for what the front itself refuses.
[[noreturn]] void refuse(std::string_view where, std::string_view why);

// Runs a call of a member on the plot's CPlot, refusing as above, and gives the plot back for
// the next call.
template <class Plot, class Call> Plot& applied(Plot& plot, Call&& call)
{
    refusing([&] { return call(plot.native()); });
    return plot;
}

// How many data sets the plot has: the number the next one added gets.
inline std::size_t dataSetCount(const CPlot& plot) { return static_cast<std::size_t>(plot.dataSetNum() + 1); }

// The count of a column as the members of CPlot take it: an int; more values are refused.
int countOf(std::string_view where, std::size_t size);

// A path as the members of CPlot take it: UTF-8; one that holds a NUL character, which would end
// the name early, is refused.
std::string fileName(std::string_view where, const std::filesystem::path& path);

// A text as the members of CPlot take it: the empty text as none (a null pointer).
class CText {
public:
    explicit CText(std::string_view text) : text_(text) {}
    const char* orNull() const { return text_.empty() ? nullptr : text_.c_str(); }
    const char* get() const { return text_.c_str(); }

private:
    std::string text_;
};

}  // namespace rizari::front
