// What a Plot draws besides its data sets: arrows, text labels, shapes, lines, points, arcs and
// number lines.

#include "front/refusals.h"
#include "plot/plot_state.h"
#include "rizari/plot.h"

namespace rizari {

namespace {

using front::CText;

using front::applied;

// The count of equally long columns, as the members of CPlot take it.
int pointCount(const char* where, std::span<const double> xs, std::span<const double> ys)
{
    if (xs.size() != ys.size()) front::refuse(where, "the columns differ in length");
    return front::countOf(where, xs.size());
}

}  // namespace

// ---- Arrows and text ----

Plot& Plot::arrow(double x1, double y1, double x2, double y2, std::string_view options)
{
    return arrow(x1, y1, 0, x2, y2, 0, options);
}

Plot& Plot::arrow(double x1, double y1, double z1, double x2, double y2, double z2, std::string_view options)
{
    if (options.empty()) return applied(*this, [&](CPlot& p) { return p.arrow(x1, y1, z1, x2, y2, z2); });
    return applied(*this, [&](CPlot& p) { return p.arrow(x1, y1, z1, x2, y2, z2, CText(options).get()); });
}

Plot& Plot::text(std::string_view text, double x, double y, Align align) { return this->text(text, x, y, 0, align); }

Plot& Plot::text(std::string_view text, double x, double y, double z, Align align)
{
    return applied(*this, [&](CPlot& p) { p.text(CText(text).get(), static_cast<int>(align), x, y, z); });
}

Plot& Plot::textColor(std::string_view color) { return applied(*this, [&](CPlot& p) { p.textColor(CText(color).get()); }); }

// ---- Shapes and their fill and stroke ----

Plot& Plot::rectangle(double x, double y, double width, double height)
{
    return applied(*this, [&](CPlot& p) { return p.rectangle(x, y, width, height); });
}

Plot& Plot::circle(double x, double y, double radius) { return applied(*this, [&](CPlot& p) { return p.circle(x, y, radius); }); }

Plot& Plot::ellipse(double x, double y, double width, double height, double angle)
{
    return applied(*this, [&](CPlot& p) { return p.ellipse(x, y, width, height, angle); });
}

Plot& Plot::arcSector(double x, double y, double radius, double angle1, double angle2)
{
    return applied(*this, [&](CPlot& p) { return p.arcSector(x, y, radius, angle1, angle2); });
}

Plot& Plot::arcSegment(double x, double y, double radius, double angle1, double angle2, std::string_view cutColor)
{
    return applied(*this, [&](CPlot& p) { return p.arcSegment(x, y, radius, angle1, angle2, CText(cutColor).orNull()); });
}

Plot& Plot::polygon(detail::Numbers xNumbers, detail::Numbers yNumbers)
{
    const std::span<const double> xs = xNumbers.view(), ys = yNumbers.view();
    const int n = pointCount("Plot::polygon", xs, ys);
    return applied(*this, [&](CPlot& p) { return p.polygon(xs.data(), ys.data(), nullptr, n, n); });
}

Plot& Plot::regularPolygon(double x, double y, int corners, double side, double angle)
{
    return applied(*this, [&](CPlot& p) { return p.regularPolygon(x, y, corners, side, angle); });
}

Plot& Plot::fillColor(std::string_view color) { return applied(*this, [&](CPlot& p) { p.fillColor(CText(color).get()); }); }
Plot& Plot::fillOpacity(double opacity) { return applied(*this, [&](CPlot& p) { p.fillOpacity(opacity); }); }
Plot& Plot::fillPattern(int pattern) { return applied(*this, [&](CPlot& p) { p.fillPattern(pattern); }); }
Plot& Plot::noFill() { return applied(*this, [&](CPlot& p) { p.noFill(); }); }
Plot& Plot::strokeColor(std::string_view color) { return applied(*this, [&](CPlot& p) { p.strokeColor(CText(color).get()); }); }
Plot& Plot::strokeWidth(int width) { return applied(*this, [&](CPlot& p) { p.strokeWidth(width); }); }
Plot& Plot::noStroke() { return applied(*this, [&](CPlot& p) { p.noStrokeColor(); }); }

// ---- Lines, points, arcs and number lines ----

Plot& Plot::line(double x1, double y1, double x2, double y2) { return line(x1, y1, 0, x2, y2, 0); }

Plot& Plot::line(double x1, double y1, double z1, double x2, double y2, double z2)
{
    return applied(*this, [&](CPlot& p) { return p.line(x1, y1, z1, x2, y2, z2); });
}

Plot& Plot::point(double x, double y, double z) { return applied(*this, [&](CPlot& p) { return p.point(x, y, z); }); }

Plot& Plot::scatter(detail::Numbers xNumbers, detail::Numbers yNumbers, std::string_view color)
{
    const std::span<const double> xs = xNumbers.view(), ys = yNumbers.view();
    const int n = pointCount("Plot::scatter", xs, ys);
    return applied(*this, [&](CPlot& p) { p.scattern(xs.data(), ys.data(), n, CText(color).orNull()); });
}

Plot& Plot::circleOpen(double x, double y, std::string_view color)
{
    return applied(*this, [&](CPlot& p) { p.circleOpen(x, y, CText(color).orNull()); });
}

Plot& Plot::circleClosed(double x, double y, std::string_view color)
{
    return applied(*this, [&](CPlot& p) { p.circleClosed(x, y, CText(color).orNull()); });
}

Plot& Plot::arc(double x, double y, double radius, double angle1, double angle2)
{
    return applied(*this, [&](CPlot& p) { return p.arc(x, y, radius, angle1, angle2); });
}

Plot& Plot::closedLine(detail::Numbers xs, detail::Numbers ys)
{
    if (PlotAccess::state(native()).dimension == 3) front::refuse("Plot::closedLine", "a 3D plot needs zs as well");
    // The plane reads no z: xs stands in for it.
    return closedLine(xs.view(), ys.view(), xs.view());
}

Plot& Plot::closedLine(detail::Numbers xNumbers, detail::Numbers yNumbers, detail::Numbers zNumbers)
{
    const std::span<const double> xs = xNumbers.view(), ys = yNumbers.view(), zs = zNumbers.view();
    const int n = pointCount("Plot::closedLine", xs, ys);
    if (zs.size() != xs.size()) front::refuse("Plot::closedLine", "the columns differ in length");
    return applied(*this, [&](CPlot& p) { return p.polygon(xs.data(), ys.data(), zs.data(), n, n); });
}

Plot& Plot::line1D(double x1, double x2, std::string_view color)
{
    return applied(*this, [&](CPlot& p) { p.line1D(x1, x2, CText(color).orNull()); });
}

Plot& Plot::inequality(std::string_view op, double value, std::string_view color)
{
    return applied(*this, [&](CPlot& p) { return p.inequal(CText(op).get(), value, CText(color).orNull()); });
}

Plot& Plot::inequality(std::string_view op1, double a, std::string_view op2, double b, std::string_view color)
{
    return applied(*this, [&](CPlot& p) { return p.inequalAnd(CText(op1).get(), a, CText(op2).get(), b, CText(color).orNull()); });
}

Plot& Plot::stackNumberLine() { return applied(*this, [&](CPlot& p) { p.line1DOffset(); }); }

}  // namespace rizari
