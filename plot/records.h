// Records of the drawn items of a plot: arrows, text labels and shape objects.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "plot/color_text.h"
#include "plot/typed_codes.h"

namespace rizari {

struct Point3 {
    double x = 0, y = 0, z = 0;
};

struct PlotArrow {
    Point3 tail;  // the start point
    Point3 head;  // the end point, where the head is drawn
    std::optional<std::string> option;  // engine options written after the coordinates
};

inline constexpr int kLabelFontSize = 13;

struct PlotText {
    std::optional<std::string> text;
    std::optional<Align> alignment = Align::Left;  // none: a code of no alignment, which writes no word
    Point3 at;
    std::optional<ColorText> color;
};

// The geometry of each kind of shape object, in the engine's terms: corners and sizes, centres,
// radii and angles in degrees.
namespace shape {

struct Rectangle {
    double x = 0, y = 0, width = 0, height = 0;  // a corner and the sizes from it (either may be negative)
};
struct Circle {
    double x = 0, y = 0, radius = 0;
};
struct Ellipse {
    double x = 0, y = 0, width = 0, height = 0, angle = 0;
};
struct Arc {
    double x = 0, y = 0, radius = 0, from = 0, to = 0;
};
struct ArcSector {
    Arc arc;
};
// The segment between an arc and its chord: the triangle between the chord and the centre is
// painted in the cut colour when one was given or the segment is filled.
struct ArcSegment {
    Arc arc;
    ColorText cutColor;
    bool cutColorGiven = false;
};
struct Polygon {
    std::vector<double> xs, ys;  // the vertices, as many of each
};
// A kind AddObject does not know: the object is written without a geometry.
struct Unknown {};

}  // namespace shape

using ShapeGeometry = std::variant<shape::Rectangle, shape::Circle, shape::Ellipse, shape::ArcSector, shape::ArcSegment,
                                   shape::Polygon, shape::Unknown>;

// How a shape is filled: not at all, with a colour (at the opacity kept beside it) or with one of
// the engine's patterns.
struct SolidFill {
    ColorText color;
};
struct PatternFill {
    int pattern = 0;
};
using ShapeFill = std::variant<std::monostate, SolidFill, PatternFill>;

struct PlotObject {
    ShapeGeometry geometry;
    int lineWidth = 0;
    ColorText strokeColor;
    bool stroke = true;
    ShapeFill fill;
    double fillOpacity = 1.0;
};

}  // namespace rizari
