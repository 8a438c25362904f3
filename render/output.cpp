// Where the picture goes: the engine window, an image file or an image streamed to standard
// output; the terminal lines that select it, and the copy of a streamed image to standard output.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <vector>

#include "platform/platform.h"
#include "plot/cplot.h"
#include "render/script_writer.h"

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
    if (out.streamTempFile) platform::removeFile(*out.streamTempFile);
    out.streamTempFile.reset();
}

// count is how many of terminal and file the caller gave (0, 1 or 2).
void setOutput(OutputState& out, int type, int count, const char* terminal, const char* file)
{
    out.outputType = type;
    if (count == 1 && type == PlotOutputType::Stream) {
        out.terminalName = terminalText(terminal);
        out.outputFileName.reset();
        dropStreamFile(out);
        if (!platform::temporaryDirectory()) {
            std::fputs("Error: environment variable TMP should be set infile _zurc in user's home directory.\n", stderr);
            return;
        }
        const auto name = platform::uniqueTempName();
        if (!name) {
            std::fputs("Error: cannot create unique filename in CPlot\n", stderr);
            return;
        }
        out.outputFileName = forwardSlashes(*name);
        out.streamTempFile = *name;
    } else if (count == 2 && type == PlotOutputType::File) {
        dropStreamFile(out);
        out.terminalName = terminalText(terminal);
        out.outputFileName = file ? OptText(forwardSlashes(file)) : std::nullopt;
    }
}

bool startsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

}  // namespace

void CPlot::outputType(int type) { setOutput(s_.output, type, 0, nullptr, nullptr); }

void CPlot::outputType(int type, const char* terminal) { setOutput(s_.output, type, 1, terminal, nullptr); }

void CPlot::outputType(int type, const char* terminal, const char* file)
{
    setOutput(s_.output, type, 2, terminal, file);
}

int CPlot::getOutputType() const { return s_.output.outputType; }

void CPlot::sizeOutput(int width, int height)
{
    if (width < 1 || height < 1) {
        std::fputs("CPlot::sizeOutput(): invalid parameter\n", stderr);
        return;
    }
    s_.output.outputWidth = width;
    s_.output.outputHeight = height;
}

void CPlot::setEngineHome(const char* home)
{
    if (home) engineHome_ = home;
    else engineHome_.reset();
}

void CPlot::writeTerminalLines(ScriptWriter& w) const
{
    const OutputState& out = s_.output;
    if (out.outputType == PlotOutputType::Window) {
        // Closing the window ends the engine, which otherwise keeps reading its standard input.
        w.put("bind \"Close\" \"if (GPVAL_TERM eq \\'wxt\\') exit gnuplot; else exit\"\n");
        const int cells = s_.subplotRows * s_.subplotCols;
        if (cells == 0) {
            w.put("set terminal wxt title \"Zu\"\n");
        } else if (s_.text.fontSize == -1) {
            // The more cells share the window, the smaller the default font.
            const char* size = cells <= 2 ? "8" : cells <= 4 ? "7" : cells <= 6 ? "6" : "5";
            w.print("set terminal wxt font \",%s\" title \"Zu\"\n", size);
        }
    } else if (out.outputType == PlotOutputType::File || out.outputType == PlotOutputType::Stream) {
        const std::string terminal = out.terminalName.value_or("");
        const bool sized = out.outputWidth != -1 && out.outputHeight != -1;
        w.print("set terminal %s", terminal);
        if (s_.text.enhancedText != 0 && (startsWith(terminal, "png") || startsWith(terminal, "gif") ||
                                          startsWith(terminal, "jpeg") || startsWith(terminal, "postscript"))) {
            if (sized) w.print(" size %d, %d enhanced\n", out.outputWidth, out.outputHeight);
            else w.put(" enhanced\n");
        } else {
            if (sized) w.print(" size %d, %d", out.outputWidth, out.outputHeight);
            w.put("\n");
        }
        w.print("set output \"%s\"\n", out.outputFileName.value_or(""));
    }
}

int CPlot::CopyFileToStdout(const char* name)
{
    const char* shown = name ? name : "";
    std::FILE* in = name ? std::fopen(name, "rb") : nullptr;
    if (!in) {
        std::fprintf(stderr, "Error: opening binary file %s\n", shown);
        return -1;
    }
    // The size of the file itself: a directory opens for reading on some systems but has none.
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(platform::nativePath(name), error);
    if (error) {
        std::fclose(in);
        std::fprintf(stderr, "Error: open binary file %s\n", shown);
        errno = error.value();
        platform::reportError(shown);
        return -1;
    }
    std::vector<char> buffer;
    try {
        buffer.resize(static_cast<std::size_t>(size));
    } catch (...) {
        std::fclose(in);
        std::fprintf(stderr, "Error: no memory for handling bianry file %s\n", shown);
        return -1;
    }
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in);
    std::fclose(in);
    if (!platform::setStdoutBinary(true)) {
        std::fputs("Error: cannot change stdout to binary mode\n", stderr);
        return -1;
    }
    platform::writeStdout(buffer.data(), got);
    if (!platform::setStdoutBinary(false)) {
        std::fputs("Error: cannot reset stdout to text mode\n", stderr);
        return -1;
    }
    return 0;
}

}  // namespace rizari
