// Where the picture goes: the engine window, an image file or an image streamed to standard
// output; the terminal lines that select it, and the copy of a streamed image to standard output.
#include "engine/output.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <vector>

#include "platform/messages.h"
#include "platform/platform.h"
#include "platform/unicode.h"
#include "plot/checks.h"
#include "script/terminals.h"

namespace rizari {

namespace {

// The terminal as stored: "png color" is the engine's plain "png".
OptText terminalText(const char* terminal)
{
    if (!terminal) return std::nullopt;
    if (std::strcmp(terminal, "png color") == 0) return std::string("png");
    return std::string(terminal);
}

std::string forwardSlashes(std::string path)
{
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

// The stream image made for an earlier selection is of no further use once a new output file
// is chosen.
void dropStreamFile(OutputState& out)
{
    if (out.streamImage) platform::removeTemporaryFile(*out.streamImage);
    out.streamImage.reset();
}

// count is how many of terminal and file the caller gave (0, 1 or 2).
void setOutput(OutputState& out, int type, int count, const char* terminal, const char* file)
{
    if (!oneLine("outputType", terminal)) return;
    out.type = KeptCode<Output>(type);
    if (count == 1 && type == PlotOutputType::Stream) {
        out.terminal = terminalText(terminal);
        out.file.reset();
        dropStreamFile(out);
        if (!platform::temporaryDirectory()) {
            report("Error: environment variable TMP should be set infile _zurc in user's home directory.\n");
            return;
        }
        const auto image = platform::createTemporaryFile();
        if (!image) {
            report("Error: cannot create unique filename in CPlot\n");
            return;
        }
        std::fclose(image->file);  // the engine writes it
        // A backslash in the temporary folder's name is a folder separator only on Windows.
        out.file = platform::kBackslashSeparates ? forwardSlashes(image->name) : image->name;
        out.streamImage = image->name;
    } else if (count == 2 && type == PlotOutputType::File) {
        dropStreamFile(out);
        out.terminal = terminalText(terminal);
        out.file = file ? OptText(forwardSlashes(file)) : std::nullopt;
    }
}

// The more cells share the window, the smaller the default font.
const char* gridFontSize(int cells) { return cells <= 2 ? "8" : cells <= 4 ? "7" : cells <= 6 ? "6" : "5"; }

// Whole pixels, one at least.
long long wholePixels(double pixels) { return std::max(1LL, std::llround(pixels)); }

// " size W, H": inches for the terminals that measure lengths, else whole numbers of the
// terminal's own unit (pixels); a size in the other unit is converted.
void writeSize(ScriptWriter& w, const TerminalText& terminal, const ImageSize& size)
{
    if (terminal.terminal && terminal.terminal->unit == SizeUnit::Lengths)
        w.print(" size %gin, %gin", size.inchWidth(), size.inchHeight());
    else
        w.print(" size %d, %d", wholePixels(size.pixelWidth()), wholePixels(size.pixelHeight()));
}

// The terminals told on their own line whether texts are markup: those whose text begins with
// the name of a terminal that takes the word.
bool takesEnhancedWord(std::string_view terminal)
{
    return std::ranges::any_of(allTerminals(), [&](const Terminal& t) { return t.enhancedWord && terminal.starts_with(t.name); });
}

}  // namespace

void CPlot::outputType(int type) { setOutput(impl_->state.output, type, 0, nullptr, nullptr); }

void CPlot::outputType(int type, const char* terminal) { setOutput(impl_->state.output, type, 1, terminal, nullptr); }

void CPlot::outputType(int type, const char* terminal, const char* file)
{
    setOutput(impl_->state.output, type, 2, terminal, file);
}

int CPlot::getOutputType() const { return impl_->state.output.type.code(); }

void CPlot::sizeOutput(int width, int height)
{
    if (width < 1 || height < 1) {
        report("CPlot::sizeOutput(): invalid parameter\n");
        return;
    }
    impl_->state.output.size = ImageSize{static_cast<double>(width), static_cast<double>(height)};
}

void sizeImage(OutputState& out, std::optional<ImageSize> size) { out.size = size; }

void CPlot::setEngineHome(const char* home)
{
    if (home) impl_->engineHome = home;
    else impl_->engineHome.reset();
}

namespace {

// The terminal and its options.
void writeTerminal(ScriptWriter& w, const PlotState& top)
{
    const OutputState& out = top.output;
    if (out.type == Output::Window && out.sessionWindow) {
        // A session's engine draws each plot's window anew and keeps running when one is closed.
        // The font and its scale are set every time: a terminal keeps its options otherwise.
        const int cells = top.subplots.rows * top.subplots.cols;
        const bool gridFont = cells != 0 && !top.text.fontSize;
        w.print("set terminal wxt %d font \",%s\" fontscale 1 title \"Zu\"\n", *out.sessionWindow, gridFont ? gridFontSize(cells) : "");
    } else if (out.type == Output::Window) {
        // Closing the window ends the engine, which otherwise keeps reading its standard input.
        w.put("bind \"Close\" \"if (GPVAL_TERM eq \\'wxt\\') exit gnuplot; else exit\"\n");
        const int cells = top.subplots.rows * top.subplots.cols;
        if (cells == 0) {
            w.put("set terminal wxt title \"Zu\"\n");
        } else if (!top.text.fontSize) {
            w.print("set terminal wxt font \",%s\" title \"Zu\"\n", gridFontSize(cells));
        }
    } else if (out.type == Output::File || out.type == Output::Stream) {
        const std::string terminal = out.terminal.value_or("");
        w.print("set terminal %s", CallerCode{terminal});
        if (out.size) writeSize(w, TerminalText(terminal), *out.size);
        if (takesEnhancedWord(terminal)) w.print(" %s", top.text.enhanced ? "enhanced" : "noenhanced");
        w.put("\n");
    }
}

}  // namespace

void writeTerminalLines(ScriptWriter& w, const PlotState& top)
{
    {
        const ScriptWriter::TerminalLines noted(w);
        writeTerminal(w, top);
    }
    const OutputState& out = top.output;
    if (out.type == Output::File || out.type == Output::Stream)
        w.print("set output \"%q\"\n", engineFileName(out.file.value_or("")));
}

int CPlot::CopyFileToStdout(const char* name)
{
    const char* shown = name ? name : "";
    std::FILE* in = name ? platform::openFile(name, "rb") : nullptr;
    if (!in) {
        reportf("Error: opening binary file %s\n", shown);
        return -1;
    }
    // The size of the file itself: a directory opens for reading on some systems but has none.
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(unicode::utf8Path(name), error);
    if (error) {
        std::fclose(in);
        reportf("Error: open binary file %s\n", shown);
        errno = error.value();
        platform::reportError(shown);
        return -1;
    }
    std::vector<char> buffer;
    try {
        buffer.resize(static_cast<std::size_t>(size));
    } catch (...) {
        std::fclose(in);
        reportf("Error: no memory for handling bianry file %s\n", shown);
        return -1;
    }
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in);
    std::fclose(in);
    if (!platform::setStdoutBinary(true)) {
        report("Error: cannot change stdout to binary mode\n");
        return -1;
    }
    if (!platform::writeStdout(buffer.data(), got)) {
        // The reader went away or the disk is full: the image did not arrive whole.
        reportf("Error: cannot write the image to standard output: %s\n", std::strerror(errno));
        platform::setStdoutBinary(false);
        return -1;
    }
    if (!platform::setStdoutBinary(false)) {
        report("Error: cannot reset stdout to text mode\n");
        return -1;
    }
    return 0;
}

}  // namespace rizari
