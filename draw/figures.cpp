// Lines, points, markers, arcs, polygons and the one-dimensional number line. Most of them are
// data sets styled like any other; filled polygons and circular segments are shape objects.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <new>
#include <variant>
#include <vector>

#include "data/computed_curve.h"
#include "draw/angles.h"
#include "draw/color_cycle.h"
#include "draw/extents.h"
#include "draw/shapes.h"
#include "platform/messages.h"

namespace rizari {

namespace {

constexpr double kHalfPi = 1.5707963267948966;
// A polygon drawn as a shape, or made from a vertex count, has at most this many vertices.
constexpr int kMaxPolygonVertices = 1000000;
constexpr double kRadiansPerDegree = 0.017453292519943295;

// The last data set drawn as a line in the plot's default line type and width.
void styleAsLine(PlotState& s)
{
    DataSet& set = s.dataSets.back();
    set.plotType = Style::Lines;
    set.lineType = s.style.defaultLineType;
    set.lineWidth = s.style.lineWidth;
}

// How line and closed polygon report a data set that could not be added.
struct LineFailure {
    const char* invalid;
    const char* unable;
};
constexpr LineFailure kLineFailed{"plot.line: invalid parameter\n", "plot.line: unable to draw line.\n"};
constexpr LineFailure kPolygonFailed{"CPlot::polygon(): invalid parameter\n", "CPlot::polygon(): unable to draw line.\n"};

// The ending of line and closed polygon: the data set just added (rc 0) becomes a line in the
// default style; a failed add is reported.
int finishAsLine(PlotState& s, int rc, const LineFailure& failure)
{
    if (rc != 0) {
        report(failure.invalid);
        report(failure.unable);
        return rc;
    }
    styleAsLine(s);
    return 0;
}

// A filled polygon, a shape object. The vertex count is the smaller count, so no array is read
// past its end.
int filledPolygon(PlotState& s, const double* x, const double* y, int nx, int ny)
{
    const int n = (x && y) ? (nx < ny ? nx : ny) : 0;
    if (n < 1) {
        report("CPlot::polygon(): not enough points.\n");
        return -1;
    }
    if (n > kMaxPolygonVertices) {
        reportLimit("polygon", kMaxPolygonVertices, "vertices");
        return -1;
    }
    try {
        shape::Polygon polygon;
        polygon.xs.resize(static_cast<std::size_t>(n));
        polygon.ys.resize(static_cast<std::size_t>(n));
        const bool polar = s.view.polar;
        const double unit = s.view.angleUnit == Angle::Degrees ? kRadiansPerDegree : 1.0;
        for (int i = 0; i < n; ++i) {
            double vx = x[i], vy = y[i];
            if (polar) {  // x holds angles and y radii
                vx = y[i] * draw::cosine(x[i] * unit);
                vy = y[i] * draw::sine(x[i] * unit);
            }
            if (!draw::shapeArguments("polygon", {&vx, &vy})) return -1;
            draw::mergePoint(s.draw.extents, vx, vy);
            polygon.xs[i] = vx;
            polygon.ys[i] = vy;
        }
        return addShape(s, std::move(polygon));
    } catch (const std::bad_alloc&) {
        report("CPlot::polygon(): malloc error\n");
        return -1;
    }
}

// A closed line through the points, drawn as a data set. The z array holds nx values.
int closedLine(CPlot& plot, PlotState& s, const double* x, const double* y, const double* z, int nx, int ny)
{
    const int dim = s.dimension;
    if (nx != ny) {
        report(dim == 3 ? "CPlot::polygon(): number of x points, y points, and z points not equal\n"
                        : "CPlot::polygon(): number of x points != number of y points\n");
        return -1;
    }
    if (nx < 3 || !x || !y) {
        report("CPlot::polygon(): not enough points.\n");
        return -1;
    }
    // The line ends where it started.
    auto curve = ComputedCurve::allocate(nx + 1, dim);
    if (!curve) {
        report("CPlot::polygon(): malloc error\n");
        return -1;
    }
    const std::size_t n = static_cast<std::size_t>(nx);
    const double* given[] = {x, y, z};  // z is not read at all in the plane
    for (int axis = 0; axis < dim; ++axis) {
        double* column = curve->column(axis);
        std::copy(given[axis], given[axis] + n, column);
        column[n] = given[axis][0];
    }
    const int rc = addComputedCurve(plot, std::move(*curve));
    return finishAsLine(s, rc, kPolygonFailed);
}

// The last data set drawn as points of the default point type, sized by the line width, in the
// colour given, else the index colour of its position.
void styleAsMarkers(PlotState& s, const char* color)
{
    DataSet& set = s.dataSets.back();
    set.plotType = Style::Points;
    set.pointType = givenPointType(s.style.defaultPointType);
    set.lineType = givenLineType(s.style.defaultPointType);
    set.pointSize = givenPointSize(s.style.lineWidth - 1);
    set.pointColor = ColorText(color ? color : draw::indexColor(s.draw, s.dataSets.size() - 1));
}

// The last data set made a circle marker of size 2.
void styleCircle(PlotState& s, draw::Marker marker, const char* color)
{
    DataSet& set = s.dataSets.back();
    set.pointType = marker;
    set.pointSize = draw::kMarkerSize;
    set.pointColor = ColorText(color ? color : draw::indexColor(s.draw, s.dataSets.size() - 1));
}

}  // namespace

int CPlot::line(double x1, double y1, double z1, double x2, double y2, double z2)
{
    PlotState& s = impl_->state;
    const double x[] = {x1, x2}, y[] = {y1, y2}, z[] = {z1, z2};
    const int rc = s.dimension == 3 ? data3DCurve(x, y, z, 2) : data2DCurve(x, y, 2);
    return finishAsLine(s, rc, kLineFailed);
}

int CPlot::point(double x, double y, double z)
{
    PlotState& s = impl_->state;
    const int rc = s.dimension == 3 ? data3DCurve(&x, &y, &z, 1) : data2DCurve(&x, &y, 1);
    if (rc != 0) {
        report("CPlot::point(): invalid parameter\n");
        return rc;
    }
    styleAsMarkers(s, nullptr);
    return 0;
}

// A null colour counts as no colour: the marker then takes the index colour.
void CPlot::scattern(const double* x, const double* y, int n) { scattern(x, y, n, nullptr); }

void CPlot::scattern(const double* x, const double* y, int n, const char* color)
{
    PlotState& s = impl_->state;
    if (data2DCurve(x, y, n) == 0) styleAsMarkers(s, color);
}

void CPlot::circleOpen(double x, double y) { circleOpen(x, y, nullptr); }

void CPlot::circleOpen(double x, double y, const char* color)
{
    PlotState& s = impl_->state;
    if (point(x, y, 0.0) == 0) styleCircle(s, draw::Marker::OpenCircle, color);
}

void CPlot::circleClosed(double x, double y) { circleClosed(x, y, nullptr); }

void CPlot::circleClosed(double x, double y, const char* color)
{
    PlotState& s = impl_->state;
    if (point(x, y, 0.0) == 0) styleCircle(s, draw::Marker::FilledCircle, color);
}

int CPlot::arc(double x, double y, double radius, double angle1, double angle2)
{
    if (!finiteArguments("arc", {x, y, radius, angle1, angle2})) return -1;
    if (!(angle1 < angle2)) {
        report("Error: CPlot::arc(): start angle is bigger than the end engle.\n");
        return -1;
    }
    const double span = angle2 - angle1 + 1;
    if (!(span < static_cast<double>(std::numeric_limits<int>::max()))) {
        report(kNoMemoryForCurve);
        return -1;
    }
    const int n = static_cast<int>(span);  // one point per degree, the end point included
    auto curve = ComputedCurve::allocate(n, 2);
    if (!curve) {
        report(kNoMemoryForCurve);
        return -1;
    }
    double* xs = curve->column(0);
    double* ys = curve->column(1);
    // The slot count bounds the walk too: at huge angles adding 1.0 no longer moves a. Where it
    // moves a by more than a degree, the slots the walk does not reach hold 0.
    int slot = 0;
    for (double a = angle1; a < angle2 && slot < n; a += 1.0, ++slot) {
        xs[slot] = x + radius * draw::cosine(a * draw::kPi / 180);
        ys[slot] = y + radius * draw::sine(a * draw::kPi / 180);
    }
    std::fill(xs + slot, xs + n, 0.0);
    std::fill(ys + slot, ys + n, 0.0);
    xs[n - 1] = x + radius * draw::cosine(angle2 * draw::kPi / 180);
    ys[n - 1] = y + radius * draw::sine(angle2 * draw::kPi / 180);
    return addComputedCurve(*this, std::move(*curve));
}

int CPlot::arcSegment(double x, double y, double radius, double angle1, double angle2)
{
    return arcSegment(x, y, radius, angle1, angle2, nullptr);
}

// A null cut colour counts as no cut colour.
int CPlot::arcSegment(double x, double y, double radius, double angle1, double angle2, const char* cutColor)
{
    PlotState& s = impl_->state;
    if (!draw::shapeArguments("arcSegment", {&x, &y, &radius, &angle1, &angle2})) return -1;
    draw::mergeCircleBox(s.draw.extents, x, y, radius);
    // The triangle between the chord and the centre is painted in the cut colour. Below 180
    // degrees it lies outside the segment and is hidden under the background; from 180 degrees on
    // it belongs to the segment and takes a solid fill's colour. A pattern fill has no colour of
    // its own (the engine draws it in the background colour), so its triangle takes the
    // background too rather than a solid patch.
    shape::ArcSegment segment{{x, y, radius, angle1, angle2}, ColorText("white"), cutColor != nullptr};
    const double span = angle2 - angle1;
    const auto* solid = std::get_if<SolidFill>(&s.draw.fill);
    if (cutColor && span < 180) segment.cutColor.assign(cutColor);
    else if (!(span < 180) && solid) segment.cutColor = solid->color;
    else if (s.frame.background) segment.cutColor = *s.frame.background;
    return addShape(s, std::move(segment));
}

int CPlot::polygon(const double* x, const double* y, const double* z, int nx, int ny)
{
    PlotState& s = impl_->state;
    return z ? closedLine(*this, s, x, y, z, nx, ny) : filledPolygon(s, x, y, nx, ny);
}

int CPlot::regularPolygon(double x, double y, int n, double side, double angle)
{
    if (!finiteArguments("regularPolygon", {x, y, side, angle})) return -1;
    if (n < 1) return polygon(nullptr, nullptr, nullptr, 0, 0);  // reports the missing vertices
    if (n > kMaxPolygonVertices) {
        reportLimit("regularPolygon", kMaxPolygonVertices, "vertices");
        return -1;
    }
    try {
        const std::size_t count = static_cast<std::size_t>(n);
        std::vector<double> xs(count), ys(count);
        const double h = draw::kPi / n;
        const double radius = side / (2 * draw::sine(h));
        const double a = angle * draw::kPi / 180;
        for (std::size_t i = 0; i < count; ++i) {
            // With angle 0 the lowest side is horizontal.
            const double t = (2.0 * static_cast<double>(i) + 1) * h - kHalfPi;
            const double u = radius * draw::cosine(t), v = radius * draw::sine(t);
            xs[i] = u * draw::cosine(a) - v * draw::sine(a) + x;
            ys[i] = u * draw::sine(a) + v * draw::cosine(a) + y;
        }
        return polygon(xs.data(), ys.data(), nullptr, n, n);
    } catch (const std::bad_alloc&) {
        report("CPlot::polygon(): malloc error\n");
        return -1;
    }
}

void CPlot::line1D(double x1, double x2) { line1D(x1, x2, nullptr); }

void CPlot::line1D(double x1, double x2, const char* color)
{
    PlotState& s = impl_->state;
    if (s.draw.level1D == 0) {
        // The first item turns the plot into a number line: only the bottom border and the x
        // axis with unit tics, no grid, y fixed to 0 .. 15 so that the levels stack upwards.
        OptText& xLabel = s.text.axisLabels[AxisX];
        if (xLabel && *xLabel == "x") xLabel = "";
        s.text.axisLabels[AxisY] = "";
        s.frame.border = (s.frame.border & ~(kBorderLeft | kBorderTop | kBorderRight)) | kBorderBottom;
        s.tics.mirrored.remove(PlotAxis::XY);
        s.axes.zeroAxes.remove(PlotAxis::Y);
        axisRange(PlotAxis::Y, 0.0, 15.0);
        if (!s.tics.rangedAxes.contains(AxisX) && !s.tics.fractionX) {
            s.tics.rangedAxes.add(PlotAxis::X);
            s.tics.ranges[AxisX].incr = 1.0;
        }
        s.tics.shown.remove(PlotAxis::Y);
        s.frame.grid = false;
        s.frame.gridOption.reset();
        s.frame.size = {1.0, 0.8};
    }
    const double level = s.draw.stacked1D ? static_cast<double>(s.draw.level1D) : 0.0;
    if (line(x1, level, 0.0, x2, level, 0.0) == 0 && color) {
        DataSet& set = s.dataSets.back();
        set.lineColor = ColorText(color);
    }
    ++s.draw.level1D;
}

void CPlot::line1DOffset() { impl_->state.draw.stacked1D = true; }

}  // namespace rizari
