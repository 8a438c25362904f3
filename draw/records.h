// Records of the drawn items of a plot: arrows, text labels and shape objects.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plot/codes.h"
#include "plot/color_text.h"

namespace rizari {

struct PlotArrow {
    double headX = 0, headY = 0, headZ = 0;  // end point, where the head is drawn
    double tailX = 0, tailY = 0, tailZ = 0;  // start point
    std::optional<std::string> option;       // engine options written after the coordinates
};

struct PlotText {
    std::optional<std::string> text;
    int alignment = TextAlign::Left;
    int fontSize = 13;
    int colorGiven = 0;
    ColorText color;
    double x = 0, y = 0, z = 0;
};

struct PlotObject {
    int kind = ObjectKind::Rectangle;
    std::vector<double> parameters;  // layout per kind; the parameter count is its size
    int lineWidth = 0;
    ColorText strokeColor;
    int fillMode = FillMode::None;
    ColorText fillColor;
    int fillPattern = 0;
    double fillOpacity = 1.0;
    int strokeOn = 1;
    ColorText cutColor;      // arc segments: colour of the triangle between chord and centre
    bool cutColorGiven = false;
};

}  // namespace rizari
