// Where a Plot draws and the engine run: the image format from the file name, the window, the
// script text, and PlotError with the engine's own words when a run fails.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/output.h"
#include "engine/script_text.h"
#include "front/refusals.h"
#include "platform/platform.h"
#include "platform/unicode.h"
#include "plot/plot_state.h"
#include "rizari/plot.h"
#include "script/terminals.h"

namespace rizari {

namespace {

// The extensions save() knows, in the table's order, as its message lists them: ".png, .svg or .pdf".
std::string knownExtensions()
{
    std::vector<std::string_view> all;
    for (const Terminal& terminal : allTerminals())
        for (const std::string_view extension : optionWords(terminal.extensions)) all.push_back(extension);
    std::string list;
    for (std::size_t i = 0; i < all.size(); ++i) list.append(i == 0 ? "" : i + 1 == all.size() ? " or " : ", ").append(all[i]);
    return list;
}

// The file's extension in lower case (".PNG" is ".png").
std::string extensionOf(const std::filesystem::path& file)
{
    std::string extension = unicode::utf8String(file.extension());
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

// The terminal the file's extension (in any case) picks.
const Terminal& terminalFor(const std::filesystem::path& file)
{
    const std::string extension = extensionOf(file);
    for (const Terminal& terminal : allTerminals()) {
        const std::vector<std::string_view> picked = optionWords(terminal.extensions);
        if (!extension.empty() && std::ranges::find(picked, extension) != picked.end()) return terminal;
    }
    front::refuse("Plot::save", "unknown image format \"" + extension + "\": use " + knownExtensions());
}

// A page (PDF, EPS) measures 1 to 200 inches (the largest page PDF readers show), an image 16 to
// 32767 pixels (the largest cairo draws); beyond them gnuplot fails, rounds to nothing or draws
// what nobody asked for.
struct SizeRange {
    bool inches;
    double least;
    double most;
};
constexpr SizeRange kPageRange{true, 1, 200};
constexpr SizeRange kImageRange{false, 16, 32767};

const SizeRange& sizeRangeOf(const Terminal& terminal)
{
    return terminal.unit == SizeUnit::Lengths ? kPageRange : kImageRange;
}

// A number as the program gave it: inches with their fraction ("8.0"), pixels whole.
std::string givenNumber(double value, bool inches)
{
    char text[64];
    std::snprintf(text, sizeof text, inches && value == std::floor(value) && std::fabs(value) < 1e15 ? "%.1f" : "%g", value);
    return text;
}

// The image size as the engine keeps it (which writes it in each terminal's own unit); none for
// the terminal's default. A size outside the format's range is refused in the units given and
// those of the format.
std::optional<ImageSize> imageSize(Size size, const Terminal& terminal, std::string_view extension)
{
    if (size.unit == Size::Unit::TerminalDefault) return std::nullopt;
    const bool valid = std::isfinite(size.width) && std::isfinite(size.height) && size.width > 0 && size.height > 0;
    if (!valid) front::refuse("Plot::save", "the size must be finite and above 0");
    const bool inches = size.unit == Size::Unit::Inches;
    const ImageSize image{size.width, size.height, inches};
    const SizeRange& range = sizeRangeOf(terminal);
    const double width = range.inches ? image.inchWidth() : image.pixelWidth();
    const double height = range.inches ? image.inchHeight() : image.pixelHeight();
    if (width >= range.least && height >= range.least && width <= range.most && height <= range.most) return image;
    const char* unit = range.inches ? "inches" : "pixels";
    std::string why = "a " + std::string(extension) + (range.inches ? " page" : " image") + " measures " +
                      givenNumber(range.least, false) + " to " + givenNumber(range.most, false) + " " + unit + "; {" +
                      givenNumber(size.width, inches) + ", " + givenNumber(size.height, inches) + "} is " +
                      givenNumber(width, false) + " x " + givenNumber(height, false) + " " + unit;
    if (range.inches && !inches)
        why += " (whole numbers are pixels: give inches as {" + givenNumber(size.width, true) + ", " + givenNumber(size.height, true) + "})";
    front::refuse("Plot::save", why);
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
    const Terminal& format = terminalFor(file);
    const std::string terminal(format.name);
    const std::optional<ImageSize> pixelsOrInches = imageSize(size, format, extensionOf(file));
    const std::string name = front::fileName("Plot::save", file);
    CPlot& plot = top();
    front::refusing([&] { plot.outputType(PlotOutputType::File, terminal.c_str(), name.c_str()); });
    sizeImage(PlotAccess::state(plot).output, pixelsOrInches);
    return *this;
}

Plot& Plot::output(Output kind, std::string_view terminal, const std::filesystem::path& file)
{
    CPlot& plot = top();
    const front::CText terminalText(terminal);
    const std::string name = front::fileName("Plot::output", file);
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
    const std::string folder = front::fileName("Plot::engineHome", home);
    top().setEngineHome(folder.c_str());
    return *this;
}

}  // namespace rizari
