// Shape objects (rectangles, circles, ellipses, arc sectors and segments, polygons), the current
// fill and stroke state every new shape copies, the object extents, and the shape objects
// section of a plot block.
#include "draw/shapes.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <new>
#include <span>
#include <variant>

#include "draw/angles.h"
#include "draw/color_cycle.h"
#include "draw/extents.h"
#include "platform/messages.h"

namespace rizari {

namespace {

// Shapes without a stroke colour of their own take the next name of the cycle. The position is
// shared by every plot of the process (and by every thread) and never goes back, so successive
// shapes differ in colour even across plots and resets.
const char* nextCycleColor()
{
    static std::atomic<std::uint64_t> counter{0};
    return draw::kColorCycle[counter.fetch_add(1, std::memory_order_relaxed) % draw::kColorCycleSize];
}


// The geometry AddObject makes of its kind and count parameters: a parameter beyond the count is
// 0, an infinity the large finite value of its sign. A polygon takes count / 2 vertices, x values
// then y values (a lone value is the vertex (v, v)).
ShapeGeometry geometryOf(int kind, std::span<const double> parameters)
{
    const auto at = [&](std::size_t i) { return i < parameters.size() ? finiteValue(parameters[i]) : 0.0; };
    const shape::Arc arc{at(0), at(1), at(2), at(3), at(4)};
    switch (kind) {
    case ObjectKind::Rectangle: return shape::Rectangle{at(0), at(1), at(2), at(3)};
    case ObjectKind::Circle: return shape::Circle{at(0), at(1), at(2)};
    case ObjectKind::ArcSector: return shape::ArcSector{arc};
    case ObjectKind::ArcSegment: return shape::ArcSegment{arc, ColorText(), false};
    case ObjectKind::Ellipse: return shape::Ellipse{at(0), at(1), at(2), at(3), at(4)};
    case ObjectKind::Polygon: {
        const std::size_t half = parameters.size() / 2;
        const std::size_t vertices = half > 0 ? half : std::min<std::size_t>(parameters.size(), 1);
        shape::Polygon polygon;
        for (std::size_t i = 0; i < vertices; ++i) {
            polygon.xs.push_back(at(i));
            polygon.ys.push_back(at(half + i));
        }
        return polygon;
    }
    default: return shape::Unknown{};
    }
}

// Shape objects are drawn in the plane only; false after the message.
bool shapesAllowed(const PlotState& s)
{
    if (s.dimension == 2) return true;
    report("CPlot::AddObject(): invalid dimension\n");
    return false;
}

void writeGeometry(ScriptWriter& w, const shape::Rectangle& r)
{
    w.print("rectangle center %g, %g size %g, %g behind ", r.x + 0.5 * r.width, r.y + 0.5 * r.height, std::fabs(r.width),
            std::fabs(r.height));
}

void writeGeometry(ScriptWriter& w, const shape::Circle& c) { w.print("circle center %g, %g size %g behind ", c.x, c.y, c.radius); }

void writeGeometry(ScriptWriter& w, const shape::Arc& a)
{
    w.print("circle center %g, %g size %g arc [%g:%g] behind ", a.x, a.y, a.radius, a.from, a.to);
}

void writeGeometry(ScriptWriter& w, const shape::ArcSector& a) { writeGeometry(w, a.arc); }
void writeGeometry(ScriptWriter& w, const shape::ArcSegment& a) { writeGeometry(w, a.arc); }

void writeGeometry(ScriptWriter& w, const shape::Ellipse& e)
{
    w.print("ellipse center %g, %g size %g, %g angle %g behind ", e.x, e.y, e.width, e.height, e.angle);
}

// The outline returns to the first vertex; a polygon of no vertex is written at the origin.
void writeGeometry(ScriptWriter& w, const shape::Polygon& p)
{
    const double x0 = p.xs.empty() ? 0.0 : p.xs[0], y0 = p.ys.empty() ? 0.0 : p.ys[0];
    w.print("polygon from %g, %g ", x0, y0);
    for (std::size_t i = 1; i < p.xs.size(); ++i) w.print("to %g, %g ", p.xs[i], p.ys[i]);
    w.print("to %g, %g ", x0, y0);
    w.put("behind ");
}

void writeGeometry(ScriptWriter&, const shape::Unknown&) {}

void writeFill(ScriptWriter& w, const PlotObject& o)
{
    if (const auto* solid = std::get_if<SolidFill>(&o.fill)) {
        w.print("fillcolor rgbcolor \"%q\" ", solid->color.c_str());
        w.print("fillstyle transparent solid %g ", o.fillOpacity);
    } else if (const auto* pattern = std::get_if<PatternFill>(&o.fill)) {
        w.print("fs transparent pattern %d ", pattern->pattern);
    } else {
        w.put("fillstyle empty ");
    }
}

struct Point {
    double x, y;
};

// "set object polygon from P0 to P1 ... behind " through the points in order.
void writePolygonPath(ScriptWriter& w, std::initializer_list<Point> points)
{
    w.put("set object polygon ");
    const char* word = "from";
    for (const Point& p : points) {
        w.print("%s %g, %g ", word, p.x, p.y);
        word = "to";
    }
    w.put("behind ");
}

// The triangle between the chord and the centre, the two radii and the chord of an arc segment.
void writeSegmentCompletion(ScriptWriter& w, const PlotObject& o, const shape::ArcSegment& segment)
{
    const shape::Arc& arc = segment.arc;
    const Point c{arc.x, arc.y};
    const double from = arc.from * draw::kPi / 180, to = arc.to * draw::kPi / 180;
    const Point a{arc.x + arc.radius * draw::cosine(from), arc.y + arc.radius * draw::sine(from)};
    const Point b{arc.x + arc.radius * draw::cosine(to), arc.y + arc.radius * draw::sine(to)};
    if (segment.cutColorGiven || !std::holds_alternative<std::monostate>(o.fill)) {
        writePolygonPath(w, {c, a, b, c});
        w.print("fillcolor rgbcolor \"%q\" ", segment.cutColor.c_str());
        w.put("fillstyle transparent solid 1 \n");
    }
    if (o.stroke) {
        writePolygonPath(w, {a, c, b, c, a});  // the radii, in the cut colour
        w.print("fillstyle empty border fillcolor rgbcolor \"%q\" linewidth %d \n", segment.cutColor.c_str(), o.lineWidth);
        writePolygonPath(w, {a, b, a});  // the chord, in the stroke colour
        w.print("fillstyle empty border lc rgbcolor \"%q\" linewidth %d \n", o.strokeColor.c_str(), o.lineWidth);
    }
}

}  // namespace

int addShape(PlotState& s, ShapeGeometry&& geometry)
{
    if (!shapesAllowed(s)) return -1;
    DrawState& d = s.draw;
    try {
        PlotObject o;
        o.geometry = std::move(geometry);
        o.lineWidth = s.style.lineWidth;
        o.fill = d.fill;
        o.fillOpacity = d.fillOpacity;
        o.stroke = d.stroke;
        d.shapes.reserve(d.shapes.size() + 1);
        // The cycle moves only once the object is sure to be added.
        o.strokeColor = d.strokeColor ? *d.strokeColor : ColorText(nextCycleColor());
        d.shapes.push_back(std::move(o));
    } catch (const std::bad_alloc&) {
        report("Error: can't allocate memory for new object\n");
        return -1;
    }
    return 0;
}

int CPlot::AddObject(int kind, int count, const double* parameters)
{
    PlotState& s = impl_->state;
    if (!shapesAllowed(s)) return -1;
    if (count < 0 || (count > 0 && !parameters)) return -1;  // only reachable from C++ callers
    try {
        return addShape(s, geometryOf(kind, {parameters, static_cast<std::size_t>(count)}));
    } catch (const std::bad_alloc&) {
        report("Error: can't allocate memory for new object\n");
        return -1;
    }
}

int CPlot::rectangle(double x, double y, double width, double height)
{
    if (!draw::shapeArguments("rectangle", {&x, &y, &width, &height})) return -1;
    draw::mergeBox(impl_->state.draw.extents, x, x + width, y, y + height);
    return addShape(impl_->state, shape::Rectangle{x, y, width, height});
}

int CPlot::circle(double x, double y, double radius)
{
    if (!draw::shapeArguments("circle", {&x, &y, &radius})) return -1;
    draw::mergeCircleBox(impl_->state.draw.extents, x, y, radius);
    return addShape(impl_->state, shape::Circle{x, y, radius});
}

int CPlot::ellipse(double x, double y, double width, double height, double angle)
{
    if (!draw::shapeArguments("ellipse", {&x, &y, &width, &height, &angle})) return -1;
    // The full width or height is the margin, so a turned ellipse always fits.
    const double m = width > height ? width : height;
    draw::mergeBox(impl_->state.draw.extents, x - m, x + m, y - m, y + m);
    return addShape(impl_->state, shape::Ellipse{x, y, width, height, angle});
}

int CPlot::arcSector(double x, double y, double radius, double angle1, double angle2)
{
    if (!draw::shapeArguments("arcSector", {&x, &y, &radius, &angle1, &angle2})) return -1;
    draw::mergeCircleBox(impl_->state.draw.extents, x, y, radius);
    return addShape(impl_->state, shape::ArcSector{{x, y, radius, angle1, angle2}});
}

void CPlot::fillColor(const char* color) { impl_->state.draw.fill = SolidFill{ColorText(color)}; }

// An opacity outside 0 .. 1 is clamped into it, and NaN becomes 0 (see-through): every stored
// value is one gnuplot takes.
void CPlot::fillOpacity(double opacity)
{
    impl_->state.draw.fillOpacity = std::isnan(opacity) ? 0.0 : std::clamp(opacity, 0.0, 1.0);
}

void CPlot::fillPattern(int pattern) { impl_->state.draw.fill = PatternFill{pattern}; }

void CPlot::noFill() { impl_->state.draw.fill = std::monostate{}; }

void CPlot::strokeColor(const char* color)
{
    DrawState& d = impl_->state.draw;
    d.strokeColor = ColorText(color);
    d.stroke = true;
}

void CPlot::strokeWidth(int width)
{
    if (width < 1) {
        report("CPlot::strokeWidth(): the width less than or equal to 0\n");
        return;
    }
    impl_->state.style.lineWidth = width;
}

void CPlot::noStrokeColor() { impl_->state.draw.stroke = false; }

const char* CPlot::getStrokeColor() const
{
    const auto& color = impl_->state.draw.strokeColor;
    return color && !color->empty() ? color->c_str() : nullptr;
}

int CPlot::getStrokeWidth() const { return impl_->state.style.lineWidth; }

void writeShapeObjects(ScriptWriter& w, const PlotState& s)
{
    for (const PlotObject& o : s.draw.shapes) {
        w.put("set object ");
        std::visit([&](const auto& geometry) { writeGeometry(w, geometry); }, o.geometry);
        writeFill(w, o);
        if (o.stroke) {
            w.put("border ");
            w.print("lc rgbcolor \"%q\" ", o.strokeColor.c_str());
            w.print("linewidth %d ", o.lineWidth);
        } else if (std::holds_alternative<shape::Rectangle>(o.geometry)) {
            w.put("border ");
            w.put("linewidth 0 ");
        }
        w.put("\n");
        if (const auto* segment = std::get_if<shape::ArcSegment>(&o.geometry)) writeSegmentCompletion(w, o, *segment);
    }
}

}  // namespace rizari
