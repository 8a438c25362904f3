#include "platform/messages.h"

#include <cstdarg>
#include <cstdio>
#include <utility>

namespace rizari {

namespace {

thread_local MessageCapture* current = nullptr;

void write(std::FILE* stream, std::string_view text) noexcept
{
    if (!text.empty()) std::fwrite(text.data(), 1, text.size(), stream);
}

}  // namespace

void appendToCapture(std::string_view text) noexcept
{
    try {
        current->text_.append(text);
    } catch (...) {
        write(stderr, text);  // no memory to keep it: it is written after all
    }
}

void report(std::string_view text) noexcept
{
    if (current) appendToCapture(text);
    else write(stderr, text);
}

void reportToOutput(std::string_view text) noexcept
{
    if (current) appendToCapture(text);
    else write(stdout, text);
}

void reportf(const char* format, ...) noexcept
{
    char small[512];
    std::va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (n < 0) return;
    if (static_cast<std::size_t>(n) < sizeof small) return report({small, static_cast<std::size_t>(n)});
    try {
        std::string text(static_cast<std::size_t>(n) + 1, '\0');
        va_start(args, format);
        std::vsnprintf(text.data(), text.size(), format, args);
        va_end(args);
        text.pop_back();
        report(text);
    } catch (...) {
        report({small, sizeof small - 1});  // the start of it, at least
    }
}

MessageCapture::MessageCapture() noexcept : outer_(current) { current = this; }

MessageCapture::~MessageCapture() { current = outer_; }

bool MessageCapture::active() noexcept { return current != nullptr; }

}  // namespace rizari
