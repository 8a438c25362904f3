// The settings of a Plot: titles, axes, tics, the 3D view, the frame and the defaults of what is
// added afterwards. Each passes its arguments to the CPlot member of the same concern.
#include <cmath>

#include "front/refusals.h"
#include "rizari/plot.h"
#include "settings/texts.h"

namespace rizari {

namespace {

using front::CText;

using front::applied;

int code(Axis axes) { return static_cast<int>(axes); }

}  // namespace

// ---- Titles, labels and legend ----

Plot& Plot::title(std::string_view text) { return applied(*this, [&](CPlot& p) { p.title(CText(text).get()); }); }
Plot& Plot::xlabel(std::string_view text) { return label(Axis::X, text); }
Plot& Plot::ylabel(std::string_view text) { return label(Axis::Y, text); }
Plot& Plot::zlabel(std::string_view text) { return label(Axis::Z, text); }
Plot& Plot::label(Axis axes, std::string_view text) { return applied(*this, [&](CPlot& p) { p.label(code(axes), CText(text).get()); }); }
Plot& Plot::legendAt(double x, double y) { return applied(*this, [&](CPlot& p) { p.legendLocation(x, y); }); }
Plot& Plot::legendAt(double x, double y, double z) { return applied(*this, [&](CPlot& p) { p.legendLocation(x, y, z); }); }

Plot& Plot::legendAt(std::string_view placement) { return legendOptions(placement); }

Plot& Plot::legendOptions(std::string_view options)
{
    return applied(*this, [&](CPlot& p) { p.legendOption(CText(options).orNull()); });
}

Plot& Plot::timeStamp(double xOffset, double yOffset) { return applied(*this, [&](CPlot& p) { p.displayTime(xOffset, yOffset); }); }
Plot& Plot::enhancedText(bool on) { return applied(*this, [&](CPlot& p) { p.enhanceText(on); }); }
Plot& Plot::font(std::string_view name, int size) { return applied(*this, [&](CPlot& p) { p.font(CText(name).orNull(), size); }); }

Plot& Plot::fontScale(double scale)
{
    if (!isFontScale(scale)) front::refuse("Plot::fontScale", "not a finite number above 0");
    return applied(*this, [&](CPlot& p) { p.fontScale(scale); });
}

Plot& Plot::command(std::string_view line) { return applied(*this, [&](CPlot& p) { p.nativeCmd(CText(line).get()); }); }

// ---- Axes, ranges and scales ----

Plot& Plot::range(Axis axes, double min, double max) { return applied(*this, [&](CPlot& p) { p.axisRange(code(axes), min, max); }); }

Plot& Plot::range(Axis axes, double min, double max, double ticStep)
{
    return applied(*this, [&](CPlot& p) { p.axisRange(code(axes), min, max, ticStep); });
}

Plot& Plot::autoScale(Axis axes, bool on) { return applied(*this, [&](CPlot& p) { p.autoScale(code(axes), on); }); }
Plot& Plot::scale(Axis axes, Scale scale) { return applied(*this, [&](CPlot& p) { p.scaleType(code(axes), static_cast<int>(scale)); }); }

Plot& Plot::logScale(Axis axes, double base)
{
    if (!std::isfinite(base) || base <= 1) front::refuse("Plot::logScale", "the base must be a finite number above 1");
    return applied(*this, [&](CPlot& p) { p.scaleType(code(axes), ScaleType::Log, base); });
}

Plot& Plot::zeroAxis(Axis axes, bool shown) { return applied(*this, [&](CPlot& p) { p.axis(code(axes), shown); }); }

Plot& Plot::zeroAxisStyle(Axis axes, int lineType, int lineWidth, std::string_view color)
{
    return applied(*this, [&](CPlot& p) { p.axis(code(axes), lineType, lineWidth, CText(color).get()); });
}

// ---- Tics ----

Plot& Plot::tics(Axis axes, bool shown) { return applied(*this, [&](CPlot& p) { p.tics(code(axes), shown); }); }
Plot& Plot::ticStep(Axis axes, double step) { return applied(*this, [&](CPlot& p) { p.ticsRange(code(axes), step); }); }

Plot& Plot::ticStep(Axis axes, double step, double start)
{
    return applied(*this, [&](CPlot& p) { p.ticsRange(code(axes), step, start); });
}

Plot& Plot::ticStep(Axis axes, double step, double start, double end)
{
    return applied(*this, [&](CPlot& p) { p.ticsRange(code(axes), step, start, end); });
}

Plot& Plot::ticLabel(Axis axes, std::string_view label, double position)
{
    return applied(*this, [&](CPlot& p) { p.ticsLabel(code(axes), CText(label).get(), position); });
}

Plot& Plot::ticAt(Axis axes, double position) { return applied(*this, [&](CPlot& p) { p.ticsPosition(code(axes), position); }); }

Plot& Plot::ticFractions(Axis axis, int denominator)
{
    return applied(*this, [&](CPlot& p) { p.ticsFraction(code(axis), denominator); });
}

Plot& Plot::ticFormat(Axis axes, std::string_view format)
{
    return applied(*this, [&](CPlot& p) { p.ticsFormat(code(axes), CText(format).get()); });
}

Plot& Plot::ticsOnAxis(Axis axes, bool onAxis)
{
    return applied(*this, [&](CPlot& p) { p.ticsLocation(code(axes), onAxis ? "axis" : "border"); });
}

Plot& Plot::ticMirror(Axis axes, bool mirrored) { return applied(*this, [&](CPlot& p) { p.ticsMirror(code(axes), mirrored); }); }

Plot& Plot::ticDirection(TicDirection direction)
{
    return applied(*this, [&](CPlot& p) { p.ticsDirection(static_cast<int>(direction)); });
}

Plot& Plot::dayTics(Axis axes) { return applied(*this, [&](CPlot& p) { p.ticsDay(code(axes)); }); }
Plot& Plot::monthTics(Axis axes) { return applied(*this, [&](CPlot& p) { p.ticsMonth(code(axes)); }); }
Plot& Plot::ticLevel(double level) { return applied(*this, [&](CPlot& p) { p.ticsLevel(level); }); }

// ---- 3D view, contours and coordinates ----

Plot& Plot::view(double rotX, double rotZ) { return applied(*this, [&](CPlot& p) { p.changeViewAngle(rotX, rotZ); }); }
Plot& Plot::scale3D(double scale, double scaleZ) { return applied(*this, [&](CPlot& p) { p.size3D(scale, scaleZ); }); }
Plot& Plot::mesh(bool shown) { return applied(*this, [&](CPlot& p) { p.showMesh(shown); }); }
Plot& Plot::hiddenLines(bool removed) { return applied(*this, [&](CPlot& p) { p.removeHiddenLine(removed); }); }
Plot& Plot::colorBox(bool shown) { return applied(*this, [&](CPlot& p) { p.colorBox(shown); }); }
Plot& Plot::contour(Contour mode) { return applied(*this, [&](CPlot& p) { p.contourMode(static_cast<int>(mode)); }); }
Plot& Plot::contourLabels(bool shown) { return applied(*this, [&](CPlot& p) { p.contourLabel(shown); }); }

Plot& Plot::contourLevels(detail::Numbers numbers)
{
    const std::span<const double> levels = numbers.view();
    const int count = front::countOf("Plot::contourLevels", levels.size());
    return applied(*this, [&](CPlot& p) { p.contourLevels(levels.data(), count); });
}

Plot& Plot::coordinates(Coordinates system) { return applied(*this, [&](CPlot& p) { p.coordSystem(static_cast<int>(system)); }); }

Plot& Plot::coordinates(Coordinates system, Angle unit)
{
    return applied(*this, [&](CPlot& p) { p.coordSystem(static_cast<int>(system), static_cast<int>(unit)); });
}

Plot& Plot::polar(Angle unit) { return applied(*this, [&](CPlot& p) { p.polarPlot(static_cast<int>(unit)); }); }
Plot& Plot::mathLook() { return applied(*this, [&](CPlot& p) { p.mathCoord(); }); }

// ---- Frame, grid lines and layout ----

Plot& Plot::border(int sides, bool drawn) { return applied(*this, [&](CPlot& p) { p.border(sides, drawn); }); }
Plot& Plot::grid(bool shown) { return applied(*this, [&](CPlot& p) { p.grid(shown); }); }

Plot& Plot::grid(bool shown, std::string_view options)
{
    return applied(*this, [&](CPlot& p) { p.grid(shown, CText(options).get()); });
}

Plot& Plot::margins(double left, double right, double top, double bottom)
{
    return applied(*this, [&](CPlot& p) { p.margins(left, right, top, bottom); });
}

Plot& Plot::offsets(double left, double right, double top, double bottom)
{
    return applied(*this, [&](CPlot& p) { p.borderOffsets(left, right, top, bottom); });
}

Plot& Plot::origin(double x, double y) { return applied(*this, [&](CPlot& p) { p.origin(x, y); }); }
Plot& Plot::plotSize(double width, double height) { return applied(*this, [&](CPlot& p) { p.size(width, height); }); }
Plot& Plot::aspectRatio(double ratio) { return applied(*this, [&](CPlot& p) { p.sizeRatio(ratio); }); }
Plot& Plot::background(std::string_view color) { return applied(*this, [&](CPlot& p) { p.backgroundColor(CText(color).get()); }); }
Plot& Plot::barSize(double size) { return applied(*this, [&](CPlot& p) { p.barSize(size); }); }
Plot& Plot::boxWidth(double width) { return applied(*this, [&](CPlot& p) { p.boxWidth(width); }); }

// ---- Defaults of what is added afterwards ----

Plot& Plot::lineStyle(std::string_view style) { return applied(*this, [&](CPlot& p) { p.lineStyle(CText(style).get()); }); }
Plot& Plot::pointStyle(std::string_view style) { return applied(*this, [&](CPlot& p) { p.pointStyle(CText(style).get()); }); }
Plot& Plot::lineWidth(int width) { return applied(*this, [&](CPlot& p) { p.lineWidth(width); }); }

}  // namespace rizari
