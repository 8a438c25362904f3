// Records of the drawn items of a plot: arrows, text labels and shape objects.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plot/color_text.h"
#include "rizari/codes.h"

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
    int alignment = TextAlign::Left;  // a TextAlign code; other codes write no alignment word
    Point3 at;
    std::optional<ColorText> color;
};

struct PlotObject {
    int kind = ObjectKind::Rectangle;
    std::vector<double> parameters;  // layout per kind; the parameter count is its size
    int lineWidth = 0;
    ColorText strokeColor;
    bool stroke = true;
    int fillMode = FillMode::None;
    ColorText fillColor;
    int fillPattern = 0;
    double fillOpacity = 1.0;
    ColorText cutColor;          // arc segments: colour of the triangle between chord and centre
    bool cutColorGiven = false;  // arc segments: the caller chose the cut colour
};

}  // namespace rizari
