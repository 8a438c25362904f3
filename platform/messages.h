// Where the library's messages go. Every line the library writes for its caller passes through
// here: by default to standard error (the few meant for standard output, there). A MessageCapture
// collects the messages of its own thread instead, for a caller that turns them into exceptions.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#if defined(__GNUC__) || defined(__clang__)
#define RIZARI_PRINTF_FORMAT(formatAt, argumentsAt) __attribute__((format(printf, formatAt, argumentsAt)))
#else
#define RIZARI_PRINTF_FORMAT(formatAt, argumentsAt)
#endif

namespace rizari {

// Writes the text to standard error, or to this thread's capture.
void report(std::string_view text) noexcept;
// The same for a printf-formatted text (the messages hold no locale-dependent numbers).
void reportf(const char* format, ...) noexcept RIZARI_PRINTF_FORMAT(1, 2);
// Writes the text to standard output, or to this thread's capture.
void reportToOutput(std::string_view text) noexcept;

// While alive, the messages of the thread that made it are kept in text() instead of being
// written. Captures nest: the newest one collects.
class MessageCapture {
public:
    MessageCapture() noexcept;
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    const std::string& text() const { return text_; }
    // The text collected so far, which the capture then forgets.
    std::string take() { return std::exchange(text_, {}); }

    // Whether the calling thread's messages are being collected.
    static bool active() noexcept;

private:
    friend void appendToCapture(std::string_view text) noexcept;
    std::string text_;
    MessageCapture* outer_;
};

}  // namespace rizari
