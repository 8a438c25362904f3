// One data set of a plot: its values (or the name of a caller's data file) and its style.
#pragma once

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "plot/codes.h"
#include "plot/color_text.h"

namespace rizari {

using OptText = std::optional<std::string>;

// Bytes per entry of an element type; 0 for an unknown code.
constexpr std::size_t elementSize(int elementType)
{
    switch (elementType) {
    case ElementType::Char:
    case ElementType::UChar: return 1;
    case ElementType::Short:
    case ElementType::UShort: return 2;
    case ElementType::Int:
    case ElementType::UInt:
    case ElementType::Long:
    case ElementType::ULong:
    case ElementType::Float: return 4;
    case ElementType::Double: return 8;
    default: return 0;
    }
}

struct DataSet {
    // Raw entries of the element type's width: 2D the n x values then the n y values; 3D also
    // the n z values; a matrix data set its rows one after the other. Absent for a caller's file.
    std::optional<std::vector<unsigned char>> values;

    int lineType = -999;
    int lineWidth = 0;
    int lineColorSet = 0;
    ColorText lineColor;
    int pointCount = 0;   // -1 for a matrix data set
    int gridXCount = 0;   // 3D only: distinct x values of a grid, 1 for a space curve
    int plotType = 2;
    int pointType = 0;
    int pointSize = -1;
    int pointColorSet = 0;
    ColorText pointColor;
    int elementType = ElementType::Double;
    int matrixRows = 0;
    int matrixCols = 0;
    int takesQueuedLegend = 1;
    int boxFillFlags = 0;
    int boxFillType = 0;
    int boxFillPattern = 0;
    int boxBorderMode = 0;
    int boxBorderLineType = 0;
    double boxFillDensity = 0.0;
    OptText legend;
    OptText fileName;
    OptText fileOption;
    OptText axes;
    OptText smooth;
    OptText styleOption;

    // Entry i of the values read as a double; only meaningful for ElementType::Double.
    double valueAt(std::size_t i) const
    {
        double v;
        std::memcpy(&v, values->data() + i * sizeof(double), sizeof(double));
        return v;
    }
};

}  // namespace rizari
