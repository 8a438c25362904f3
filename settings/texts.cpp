// Title, axis labels, the key (legend), the time stamp, terminal text options and commands
// passed to the engine unchanged.
#include "settings/texts.h"

#include <cmath>
#include <cstdio>
#include <new>
#include <string_view>

#include "platform/messages.h"
#include "plot/checks.h"
#include "script/terminals.h"

namespace rizari {

namespace {

// The size font() takes for none, and the size after a font's name that leaves it to the engine.
constexpr int kUnsetFontSize = -1;

}  // namespace

void CPlot::title(const char* text) { impl_->state.text.title = optionalText(text); }

const char* CPlot::getTitle() const
{
    const OptText& title = impl_->state.text.title;
    return title ? title->c_str() : nullptr;
}

void CPlot::label(int axis, const char* text)
{
    if (!isAxisCode(axis)) {
        report("CPlot::label(): invalid axis number\n");
        return;
    }
    for (AxisIndex i : AxisSet(axis)) impl_->state.text.axisLabels[i] = optionalText(text);
}

const char* CPlot::getLabel(int axis) const
{
    const std::optional<AxisIndex> single = singleAxis(axis);
    if (!single) {
        report("CPlot::getLabel(): invalid axis number\n");
        return nullptr;
    }
    const OptText& text = impl_->state.text.axisLabels[*single];
    return text ? text->c_str() : nullptr;
}

void CPlot::legendLocation(double x, double y)
{
    if (!finiteArguments("legendLocation", {x, y})) return;
    TextState& t = impl_->state.text;
    t.legendAt.x = x;
    t.legendAt.y = y;
    t.legend = LegendMode::At;
}

void CPlot::legendLocation(double x, double y, double z)
{
    if (!finiteArguments("legendLocation", {x, y, z})) return;
    legendLocation(x, y);
    impl_->state.text.legendAt.z = z;
}

void CPlot::legendOption(const char* option)
{
    if (oneLine("legendOption", option)) impl_->state.text.legendOption = optionalText(option);
}

void CPlot::displayTime(double xOffset, double yOffset)
{
    if (finiteArguments("displayTime", {xOffset, yOffset})) impl_->state.text.timeStamp = {{xOffset, yOffset}};
}

void CPlot::enhanceText() { enhanceText(true); }

void CPlot::enhanceText(bool on) { impl_->state.text.enhanced = on; }

// A font name with markup characters is refused: SVG takes font names raw into its markup.
void CPlot::font(const char* name, int size)
{
    if (name && std::string_view(name).find_first_of(kMarkupCharacters) != std::string_view::npos) {
        reportInvalidParameter("font");
        return;
    }
    impl_->state.text.fontName = optionalText(name);
    impl_->state.text.fontSize = size == kUnsetFontSize ? std::nullopt : std::optional(size);
}

bool isFontScale(double scale) { return std::isfinite(scale) && scale > 0.0; }

// A scale that is not above 0 is ignored.
void CPlot::fontScale(double scale)
{
    if (finiteArguments("fontScale", {scale}) && isFontScale(scale)) impl_->state.text.fontScale = scale;
}

void CPlot::nativeCmd(const char* command)
{
    if (!command || !oneLine("nativeCmd", command)) return;
    auto& list = impl_->state.text.nativeCommands;
    try {
        list.insert(list.begin(), std::string(command));
    } catch (const std::bad_alloc&) {
        report("CPlot::nativeCmd(): malloc error\n");
    }
}

void writeKey(ScriptWriter& w, const PlotState& s)
{
    const TextState& t = s.text;
    if (t.legendOption) w.print("set key %s\n", CallerCode{*t.legendOption});
    else if (t.legend == LegendMode::At && s.dimension == 3) w.print("set key at %g, %g, %g\n", t.legendAt.x, t.legendAt.y, t.legendAt.z);
    else if (t.legend == LegendMode::At) w.print("set key at %g, %g\n", t.legendAt.x, t.legendAt.y);
    else if (t.legend == LegendMode::On) w.put("set key\n");
    else w.put("unset key\n");
}

void writeTimeStamp(ScriptWriter& w, const PlotState& s)
{
    const auto& stamp = s.text.timeStamp;
    if (stamp) w.print("set timestamp offset %f, %f\n", (*stamp)[0], (*stamp)[1]);
    else w.put(kUnsetTimeStamp);
}

void writeTitlesAndLabels(ScriptWriter& w, const PlotState& s)
{
    const TextState& t = s.text;
    if (t.title) w.print("set title \"%t\"\n", *t.title);
    static constexpr AxisIndex kOrder[] = {AxisX, AxisX2, AxisY, AxisY2, AxisZ};
    for (AxisIndex i : kOrder)
        if (t.axisLabels[i] && (i != AxisZ || s.dimension == 3)) w.print("set %slabel \"%t\"\n", kAxisName[i], *t.axisLabels[i]);
}

void writeNativeCommands(ScriptWriter& w, const PlotState& s)
{
    for (const std::string& command : s.text.nativeCommands) w.print("%s\n", CallerCode{command, CallerCode::Kind::Command});
}

void writeTextOptions(ScriptWriter& w, const PlotState& s)
{
    const TextState& t = s.text;
    w.put(t.enhanced ? "set termoption enhanced\n" : "set termoption noenhanced\n");
    if (t.fontName) w.print("set termoption font \"%q,%d\"\n", *t.fontName, t.fontSize.value_or(kUnsetFontSize));
    if (t.fontScale) w.print("set termoption fontscale %lf\n", *t.fontScale);
}

}  // namespace rizari
