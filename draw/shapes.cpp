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


// Parameter i of an object, 0 when the object has fewer (only AddObject with a short count can
// make such an object).
double param(const PlotObject& o, std::size_t i) { return i < o.parameters.size() ? o.parameters[i] : 0.0; }

void writeGeometry(ScriptWriter& w, const PlotObject& o)
{
    switch (o.kind) {
    case ObjectKind::Rectangle:
        w.print("rectangle center %g, %g size %g, %g behind ", param(o, 0) + 0.5 * param(o, 2),
                param(o, 1) + 0.5 * param(o, 3), std::fabs(param(o, 2)), std::fabs(param(o, 3)));
        break;
    case ObjectKind::Circle:
        w.print("circle center %g, %g size %g behind ", param(o, 0), param(o, 1), param(o, 2));
        break;
    case ObjectKind::ArcSector:
    case ObjectKind::ArcSegment:
        w.print("circle center %g, %g size %g arc [%g:%g] behind ", param(o, 0), param(o, 1), param(o, 2),
                param(o, 3), param(o, 4));
        break;
    case ObjectKind::Ellipse:
        w.print("ellipse center %g, %g size %g, %g angle %g behind ", param(o, 0), param(o, 1), param(o, 2),
                param(o, 3), param(o, 4));
        break;
    case ObjectKind::Polygon: {
        const std::size_t n = o.parameters.size() / 2;
        w.print("polygon from %g, %g ", param(o, 0), param(o, n));
        for (std::size_t i = 1; i < n; ++i) w.print("to %g, %g ", param(o, i), param(o, n + i));
        w.print("to %g, %g ", param(o, 0), param(o, n));
        w.put("behind ");
        break;
    }
    default: break;
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
void writeSegmentCompletion(ScriptWriter& w, const PlotObject& o)
{
    const double cx = param(o, 0), cy = param(o, 1), r = param(o, 2);
    const Point c{cx, cy};
    const double from = param(o, 3) * draw::kPi / 180, to = param(o, 4) * draw::kPi / 180;
    const Point a{cx + r * draw::cosine(from), cy + r * draw::sine(from)};
    const Point b{cx + r * draw::cosine(to), cy + r * draw::sine(to)};
    if (o.cutColorGiven || o.fillMode != FillMode::None) {
        writePolygonPath(w, {c, a, b, c});
        w.print("fillcolor rgbcolor \"%q\" ", o.cutColor.c_str());
        w.put("fillstyle transparent solid 1 \n");
    }
    if (o.stroke) {
        writePolygonPath(w, {a, c, b, c, a});  // the radii, in the cut colour
        w.print("fillstyle empty border fillcolor rgbcolor \"%q\" linewidth %d \n", o.cutColor.c_str(), o.lineWidth);
        writePolygonPath(w, {a, b, a});  // the chord, in the stroke colour
        w.print("fillstyle empty border lc rgbcolor \"%q\" linewidth %d \n", o.strokeColor.c_str(), o.lineWidth);
    }
}

}  // namespace

int CPlot::AddObject(int kind, int count, const double* parameters)
{
    PlotState& s = impl_->state;
    if (s.dimension != 2) {
        report("CPlot::AddObject(): invalid dimension\n");
        return -1;
    }
    if (count < 0 || (count > 0 && !parameters)) return -1;  // only reachable from C++ callers
    DrawState& d = s.draw;
    try {
        PlotObject o;
        o.kind = kind;
        o.parameters.assign(parameters, parameters + count);
        for (double& p : o.parameters) p = finiteValue(p);
        o.lineWidth = s.style.lineWidth;
        o.fillMode = d.fillMode;
        if (o.fillMode == FillMode::Solid) o.fillColor = d.fillColor;
        if (o.fillMode == FillMode::Pattern) o.fillPattern = d.fillPattern;
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

int CPlot::rectangle(double x, double y, double width, double height)
{
    if (!draw::shapeArguments("rectangle", {&x, &y, &width, &height})) return -1;
    draw::mergeBox(impl_->state.draw.extents, x, x + width, y, y + height);
    const double p[] = {x, y, width, height};
    return AddObject(ObjectKind::Rectangle, 4, p);
}

int CPlot::circle(double x, double y, double radius)
{
    if (!draw::shapeArguments("circle", {&x, &y, &radius})) return -1;
    draw::mergeCircleBox(impl_->state.draw.extents, x, y, radius);
    const double p[] = {x, y, radius};
    return AddObject(ObjectKind::Circle, 3, p);
}

int CPlot::ellipse(double x, double y, double width, double height, double angle)
{
    if (!draw::shapeArguments("ellipse", {&x, &y, &width, &height, &angle})) return -1;
    // The full width or height is the margin, so a turned ellipse always fits.
    const double m = width > height ? width : height;
    draw::mergeBox(impl_->state.draw.extents, x - m, x + m, y - m, y + m);
    const double p[] = {x, y, width, height, angle};
    return AddObject(ObjectKind::Ellipse, 5, p);
}

int CPlot::arcSector(double x, double y, double radius, double angle1, double angle2)
{
    if (!draw::shapeArguments("arcSector", {&x, &y, &radius, &angle1, &angle2})) return -1;
    draw::mergeCircleBox(impl_->state.draw.extents, x, y, radius);
    const double p[] = {x, y, radius, angle1, angle2};
    return AddObject(ObjectKind::ArcSector, 5, p);
}

void CPlot::fillColor(const char* color)
{
    DrawState& d = impl_->state.draw;
    d.fillMode = FillMode::Solid;
    d.fillColor.assign(color);
}

// An opacity outside 0 .. 1 is clamped into it, and NaN becomes 0 (see-through): every stored
// value is one gnuplot takes.
void CPlot::fillOpacity(double opacity)
{
    impl_->state.draw.fillOpacity = std::isnan(opacity) ? 0.0 : std::clamp(opacity, 0.0, 1.0);
}

void CPlot::fillPattern(int pattern)
{
    DrawState& d = impl_->state.draw;
    d.fillMode = FillMode::Pattern;
    d.fillPattern = pattern;
}

void CPlot::noFill() { impl_->state.draw.fillMode = FillMode::None; }

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
        writeGeometry(w, o);
        switch (o.fillMode) {
        case FillMode::None: w.put("fillstyle empty "); break;
        case FillMode::Solid:
            w.print("fillcolor rgbcolor \"%q\" ", o.fillColor.c_str());
            w.print("fillstyle transparent solid %g ", o.fillOpacity);
            break;
        case FillMode::Pattern: w.print("fs transparent pattern %d ", o.fillPattern); break;
        default: break;
        }
        if (o.stroke) {
            w.put("border ");
            w.print("lc rgbcolor \"%q\" ", o.strokeColor.c_str());
            w.print("linewidth %d ", o.lineWidth);
        } else if (o.kind == ObjectKind::Rectangle) {
            w.put("border ");
            w.put("linewidth 0 ");
        }
        w.put("\n");
        if (o.kind == ObjectKind::ArcSegment) writeSegmentCompletion(w, o);
    }
}

}  // namespace rizari
