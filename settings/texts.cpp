// Title, axis labels, the key (legend), the time stamp, terminal text options and commands
// passed to the engine unchanged.
#include <cstdio>
#include <new>

#include "plot/cplot.h"
#include "render/engine_compat.h"
#include "render/script_writer.h"

namespace rizari {

namespace {

OptText copyOf(const char* text) { return text ? OptText(text) : std::nullopt; }

}  // namespace

void CPlot::title(const char* text) { s_.text.titleText = copyOf(text); }

const char* CPlot::getTitle() const { return s_.text.titleText ? s_.text.titleText->c_str() : nullptr; }

void CPlot::label(int axis, const char* text)
{
    if (!isAxisCode(axis)) {
        std::fputs("CPlot::label(): invalid axis number\n", stderr);
        return;
    }
    for (int i = 0; i < AxisCount; ++i)
        if (axis & kAxisBit[i]) s_.text.axisLabelText[i] = copyOf(text);
}

const char* CPlot::getLabel(int axis) const
{
    int index;
    switch (axis) {
    case PlotAxis::X: index = AxisX; break;
    case PlotAxis::Y: index = AxisY; break;
    case PlotAxis::Z: index = AxisZ; break;
    case PlotAxis::X2: index = AxisX2; break;
    case PlotAxis::Y2: index = AxisY2; break;
    default: std::fputs("CPlot::getLabel(): invalid axis number\n", stderr); return nullptr;
    }
    const OptText& text = s_.text.axisLabelText[index];
    return text ? text->c_str() : nullptr;
}

void CPlot::legendLocation(double x, double y)
{
    s_.text.legendX = x;
    s_.text.legendY = y;
    s_.text.legendMode = 2;
}

void CPlot::legendLocation(double x, double y, double z)
{
    legendLocation(x, y);
    s_.text.legendZ = z;
}

void CPlot::legendOption(const char* option) { s_.text.legendOptionText = copyOf(option); }

void CPlot::displayTime(double xOffset, double yOffset)
{
    s_.text.timeStampX = xOffset;
    s_.text.timeStampY = yOffset;
    s_.text.timeStampOn = 1;
}

void CPlot::enhanceText() { s_.text.enhancedText = 1; }

void CPlot::font(const char* name, int size)
{
    s_.text.fontName = copyOf(name);
    s_.text.fontSize = size;
}

void CPlot::fontScale(double scale)
{
    if (scale > 0.0) s_.text.fontScaleValue = scale;
}

void CPlot::nativeCmd(const char* command)
{
    if (!command) return;
    auto& list = s_.text.nativeCommands;
    try {
        list.insert(list.begin(), std::string(command));
    } catch (const std::bad_alloc&) {
        std::fputs("CPlot::nativeCmd(): malloc error\n", stderr);
    }
}

void CPlot::writeKey(ScriptWriter& w) const
{
    const auto& t = s_.text;
    if (t.legendOptionText) w.print("set key %s\n", *t.legendOptionText);
    else if (t.legendMode == 2 && s_.plotDimension == 3) w.print("set key at %g, %g, %g\n", t.legendX, t.legendY, t.legendZ);
    else if (t.legendMode == 2) w.print("set key at %g, %g\n", t.legendX, t.legendY);
    else if (t.legendMode == 1) w.put("set key\n");
    else w.put("unset key\n");
}

void CPlot::writeTimeStamp(ScriptWriter& w) const
{
    const auto& t = s_.text;
    if (t.timeStampOn != 0) w.print("set timestamp offset %f, %f\n", t.timeStampX, t.timeStampY);
    else w.put(engine_compat::kUnsetTimeStamp);
}

void CPlot::writeTitlesAndLabels(ScriptWriter& w) const
{
    const auto& t = s_.text;
    const auto& labels = t.axisLabelText;
    if (t.titleText) w.print("set title \"%s\"\n", *t.titleText);
    if (labels[AxisX]) w.print("set xlabel \"%s\"\n", *labels[AxisX]);
    if (labels[AxisX2]) w.print("set x2label \"%s\"\n", *labels[AxisX2]);
    if (labels[AxisY]) w.print("set ylabel \"%s\"\n", *labels[AxisY]);
    if (labels[AxisY2]) w.print("set y2label \"%s\"\n", *labels[AxisY2]);
}

void CPlot::writeNativeCommands(ScriptWriter& w) const
{
    for (const std::string& command : s_.text.nativeCommands) w.print("%s\n", command);
}

void CPlot::writeTextOptions(ScriptWriter& w) const
{
    const auto& t = s_.text;
    if (t.enhancedText != 0) w.put("set termoption enhanced\n");
    if (t.fontName) w.print("set termoption font \"%s,%d\"\n", *t.fontName, t.fontSize);
    if (t.fontScaleValue > 0.0) w.print("set termoption fontscale %lf\n", t.fontScaleValue);
}

}  // namespace rizari
