// Where a Plot draws and the engine run: the image format from the file name, the window, the
// script text, and PlotError with the engine's own words when a run fails.
#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "engine/script_text.h"
#include "front/refusals.h"
#include "platform/platform.h"
#include "platform/unicode.h"
#include "plot/plot_state.h"
#include "rizari/plot.h"

namespace rizari {

namespace {

struct ImageFormat {
    std::string_view extension;  // lower case, with its dot
    const char* terminal;
};

constexpr std::array<ImageFormat, 7> kImageFormats{{
    {".png", "pngcairo"},
    {".svg", "svg"},
    {".pdf", "pdfcairo"},
    {".eps", "epscairo"},
    {".gif", "gif"},
    {".jpg", "jpeg"},
    {".jpeg", "jpeg"},
}};

const ImageFormat& formatOf(const std::filesystem::path& file)
{
    std::string extension = unicode::utf8String(file.extension());
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (const ImageFormat& format : kImageFormats)
        if (format.extension == extension) return format;
    front::refuse("Plot::save", "unknown image format \"" + extension + "\": use .png, .svg, .pdf, .eps, .gif, .jpg or .jpeg");
}

// The image size as the engine keeps it (which writes it in each terminal's own unit); none for
// the terminal's default.
std::optional<ImageSize> imageSize(Size size)
{
    if (size.unit == Size::Unit::TerminalDefault) return std::nullopt;
    const bool valid = std::isfinite(size.width) && std::isfinite(size.height) && size.width > 0 && size.height > 0;
    if (!valid) front::refuse("Plot::save", "the size must be finite and above 0");
    return ImageSize{size.width, size.height, size.unit == Size::Unit::Inches};
}

// The messages of a run without the line end of the last.
std::string withoutLineEnd(std::string text)
{
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

// Runs plotting() on the top plot: a failure (no engine found included) throws PlotError; the
// messages of a run that went well (gnuplot's warnings, RIZARI_KEEP's file names) are written as
// plotting() writes them.
void runEngine(CPlot& top)
{
    std::string messages;
    int result;
    {
        MessageCapture capture;
        result = top.plotting();
        messages = capture.take();
    }
    const OutputState& out = PlotAccess::state(top).output;
    if (result == 0 && out.engineRun) {
        report(messages);
        return;
    }
    std::string engineErrors;
    std::optional<int> exitStatus;
    std::filesystem::path script;  // only the script of this call: an earlier call's may still be there
    std::string scriptText;
    if (out.engineRun) {
        engineErrors = out.engineRun->errors;
        if (out.engineRun->end == platform::RunResult::End::Exited) exitStatus = out.engineRun->code;
        if (out.script) script = unicode::utf8Path(*out.script);
        if (out.script) scriptText = platform::fileHead(*out.script, SIZE_MAX).value_or("");
    }
    throw PlotError(withoutLineEnd(std::move(messages)), std::move(engineErrors), exitStatus, std::move(script),
                    std::move(scriptText));
}

}  // namespace

// ---- PlotError ----

PlotError::PlotError(const std::string& what, std::string engineErrors, std::optional<int> exitStatus,
                     std::filesystem::path script, std::string scriptText)
    : std::runtime_error(what),
      details_(std::make_shared<const Details>(Details{std::move(engineErrors), exitStatus, std::move(script), std::move(scriptText)}))
{
}

PlotError::~PlotError() = default;

const std::string& PlotError::engineErrors() const noexcept { return details_->engineErrors; }
std::optional<int> PlotError::exitStatus() const noexcept { return details_->exitStatus; }
const std::filesystem::path& PlotError::script() const noexcept { return details_->script; }
const std::string& PlotError::scriptText() const noexcept { return details_->scriptText; }

// ---- Output ----

Plot& Plot::output(const std::filesystem::path& file, Size size)
{
    const char* terminal = formatOf(file).terminal;
    const std::optional<ImageSize> pixelsOrInches = imageSize(size);
    const std::string name = unicode::utf8String(file);
    CPlot& plot = top();
    front::refusing([&] { plot.outputType(PlotOutputType::File, terminal, name.c_str()); });
    PlotAccess::state(plot).output.size = pixelsOrInches;
    return *this;
}

Plot& Plot::output(Output kind, std::string_view terminal, const std::filesystem::path& file)
{
    CPlot& plot = top();
    const front::CText terminalText(terminal);
    const std::string name = unicode::utf8String(file);
    switch (kind) {
    case Output::Window: front::refusing([&] { plot.outputType(PlotOutputType::Window); }); break;
    case Output::File:
        if (terminal.empty() || name.empty()) front::refuse("Plot::output", "a file output needs a terminal and a file");
        front::refusing([&] { plot.outputType(PlotOutputType::File, terminalText.get(), name.c_str()); });
        break;
    case Output::Stream:
        if (terminal.empty()) front::refuse("Plot::output", "a stream output needs a terminal");
        front::refusing([&] { plot.outputType(PlotOutputType::Stream, terminalText.get()); });
        break;
    default: front::refuse("Plot::output", "unknown output");
    }
    return *this;
}

void Plot::save(const std::filesystem::path& file, Size size) { output(file, size).render(); }

void Plot::show() { output(Output::Window).render(); }

void Plot::render() { runEngine(top()); }

Plot& Plot::liveWindow(bool on)
{
    top().liveWindow(on ? 1 : 0);
    return *this;
}

Plot& Plot::thinLargeData(std::optional<bool> on)
{
    top().reduceLargeData(on);
    return *this;
}

std::string Plot::script()
{
    CPlot& plot = top();
    std::optional<std::string> text;
    std::string messages;
    {
        MessageCapture capture;
        text = plotScriptText(PlotAccess::impl(plot));
        messages = capture.take();
    }
    if (!text) throw PlotError(withoutLineEnd(std::move(messages)), {}, std::nullopt, {});
    report(messages);
    return std::move(*text);
}

Plot& Plot::engineHome(const std::filesystem::path& home)
{
    const std::string folder = unicode::utf8String(home);
    top().setEngineHome(folder.c_str());
    return *this;
}

}  // namespace rizari
