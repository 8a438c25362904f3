// Per-data-set styles: plot style, lines, points, legends, smoothing, axes, box fill and border,
// filled curves; and the plot-wide fill style section and the box fill clause of a data set.
#include <cstdio>
#include <cstring>
#include <new>

#include "plot/cplot.h"
#include "render/script_writer.h"
#include "render/styles.h"

namespace rizari {

namespace {

OptText copyText(const char* text) { return text ? OptText(text) : std::nullopt; }

bool same(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

// The words of a fill type after "set style fill" or "fs".
void writeFillTypeWords(ScriptWriter& w, int flags, int type, double density, int pattern)
{
    switch (type) {
    case BoxFill::Empty: w.put(" empty"); break;
    case BoxFill::Solid:
    case BoxFill::TransparentSolid:
        w.put(type == BoxFill::Solid ? " solid" : " transparent solid");
        if (flags & BoxFlag::Density) w.print(" %f", density);
        break;
    case BoxFill::Pattern:
    case BoxFill::TransparentPattern:
        w.put(type == BoxFill::Pattern ? " pattern" : " transparent pattern");
        if (flags & BoxFlag::Pattern) w.print(" %d", pattern);
        break;
    default: break;
    }
}

void setBorderFields(int& flags, int& mode, int& lineType, int newMode, const int* newLineType)
{
    flags |= BoxFlag::Border;
    mode = newMode;
    if (newLineType) lineType = *newLineType;
}

}  // namespace

bool plotTypeAcceptsCount(int type, int count)
{
    if (count == 0) return true;
    switch (type) {
    case PlotType::LinesPoints: return count == 4;
    case PlotType::Dots:
    case PlotType::FilledCurves: return count == 1 || count == 2;
    case PlotType::Candlesticks:
    case PlotType::Vectors: return count == 1;
    default: return type >= PlotType::Lines && type <= PlotType::YErrorLines && count == 2;
    }
}

bool plotTypeTakesTexts(int type)
{
    return type == PlotType::Candlesticks || type == PlotType::FilledCurves || type == PlotType::Vectors;
}

void writeBoxFillClause(ScriptWriter& w, const DataSet& set)
{
    w.put(" fs");
    if (set.boxFillFlags & BoxFlag::Type)
        writeFillTypeWords(w, set.boxFillFlags, set.boxFillType, set.boxFillDensity, set.boxFillPattern);
    if (set.boxFillFlags & BoxFlag::Border) {
        if (set.boxBorderMode == 1) w.print(" border %d", set.boxBorderLineType);
        else if (set.boxBorderMode == 2) w.put(" noborder");
    }
}

void CPlot::writeFillStyle(ScriptWriter& w) const
{
    const StyleState& st = s_.style;
    if (st.boxFillFlags & BoxFlag::Type) {
        w.put("set style fill");
        writeFillTypeWords(w, st.boxFillFlags, st.boxFillType, st.boxFillDensity, st.boxFillPattern);
        w.put("\n");
    }
    if (st.boxFillFlags & BoxFlag::Border) {
        if (st.boxBorderMode == 1) w.print("set style fill border %d\n", st.boxBorderLineType);
        else if (st.boxBorderMode == 2) w.put("set style fill noborder\n");
    }
}

void CPlot::plotType(int type, int num, const PlotTypeExtra& extra)
{
    if (s_.dataSets.empty()) {
        std::fputs("CPlot::plotType(): no plotting data has been added yet\n", stderr);
        return;
    }
    DataSet* set = dataSetByNumber(num);
    if (!set) {
        std::fputs(" CPlot::plotType(): number specified larger than number of curves\n", stderr);
        return;
    }
    set->plotType = type;
    if (type == PlotType::PM3D) {
        dimension(3);
        return;
    }
    if (type == PlotType::FilledCurves) ++s_.style.filledCurveCount;
    const int count = extra.count;
    if (count == 0) {
        if (type == PlotType::Points) set->pointType = s_.style.defaultPointType;
        return;
    }
    if (!plotTypeAcceptsCount(type, count)) {
        std::fputs(" CPlot::plotType(): invalid number of arguments.\n", stderr);
        return;
    }
    switch (type) {
    case PlotType::Points:
        set->pointType = extra.ints[0];
        set->lineType = extra.ints[0];
        set->pointSize = extra.ints[1];
        break;
    case PlotType::LinesPoints:
        set->lineType = extra.ints[0];
        set->lineWidth = extra.ints[1];
        set->pointType = extra.ints[2];
        set->pointSize = extra.ints[3];
        break;
    case PlotType::Candlesticks:
    case PlotType::Vectors: set->styleOption = copyText(extra.texts[0]); break;
    case PlotType::FilledCurves:
        set->styleOption = copyText(extra.texts[0]);
        set->lineWidth = 0;
        set->lineColorSet = 0;
        if (count == 2) {
            set->lineColor.assign(extra.texts[1]);
            set->lineColorSet = 1;
        }
        break;
    default:  // line type, and line width when given
        set->lineType = extra.ints[0];
        if (count == 2) set->lineWidth = extra.ints[1];
        break;
    }
}

DataSet* CPlot::styleTarget(const char* member, int num)
{
    if (s_.dataSets.empty()) {
        std::fprintf(stderr, "CPlot::%s(): no plotting data has been added yet\n", member);
        return nullptr;
    }
    DataSet* set = dataSetByNumber(num);
    if (!set) std::fprintf(stderr, "CPlot::%s(): number specified larger than number of curves\n", member);
    return set;
}

void CPlot::lineType(int num, int type, int width) { lineType(num, type, width, nullptr); }

// A null colour is no colour.
void CPlot::lineType(int num, int type, int width, const char* color)
{
    DataSet* set = styleTarget("lineType", num);
    if (!set || num == -1) return;  // -1 names no data set here
    set->lineType = type;
    set->lineWidth = width;
    set->lineColorSet = color ? 1 : 0;
    if (color) set->lineColor.assign(color);
}

void CPlot::lineStyle(const char* style)
{
    if (!style) {
        std::fputs("Error: invalid line style\n", stderr);
    } else if (same(style, ".")) {
        s_.style.defaultLineType = 0;
    } else if (same(style, "-")) {
        s_.style.defaultLineType = 1;
    } else {
        std::fprintf(stderr, "Error: invalid line style '%s'\n", style);
    }
}

void CPlot::lineWidth(int width)
{
    if (width < 1) {
        std::fputs("CPlot::lineWidth(): the width less than 0\n", stderr);
        return;
    }
    s_.style.defaultLineWidth = width;
}

void CPlot::pointType(int num, int type, int size) { pointType(num, type, size, nullptr); }

// Without a colour the point type is the line type too; a null colour is no colour.
void CPlot::pointType(int num, int type, int size, const char* color)
{
    DataSet* set = styleTarget("pointType", num);
    if (!set || num == -1) return;  // -1 names no data set here
    set->pointType = type;
    set->pointSize = size;
    set->pointColorSet = color ? 1 : 0;
    if (color) set->pointColor.assign(color);
    else set->lineType = type;
}

void CPlot::pointStyle(const char* style)
{
    static constexpr const char* kStyles[] = {".", "+", "x", "*", "s", "sf", "o", "of", "^", "^f", "v", "vf", "d", "df"};
    if (!style) {
        std::fputs("Error: invalid point style\n", stderr);
        return;
    }
    for (int i = 0; i < static_cast<int>(std::size(kStyles)); ++i) {
        if (same(style, kStyles[i])) {
            s_.style.defaultPointType = i;
            return;
        }
    }
    std::fprintf(stderr, "Error: invalid point style '%s'\n", style);
}

void CPlot::legend(const char* text)
{
    if (s_.text.legendMode == 0) s_.text.legendMode = 1;
    if (!text) return;
    try {
        s_.style.queuedLegends.emplace_back(text);
    } catch (const std::bad_alloc&) {
        std::fputs("CPlot::legend(): malloc error\n", stderr);
    }
}

void CPlot::legend(const char* text, int num)
{
    if (s_.dataSets.empty()) {
        std::fputs("CPlot::legend(): no plotting data for legend has been added yet\n", stderr);
        return;
    }
    if (s_.text.legendMode == 0) s_.text.legendMode = 1;
    DataSet* set = dataSetByNumber(num);
    if (!set) {
        std::fputs("CPlot::legend(): number specified larger than number of curves\n", stderr);
        return;
    }
    set->legend = copyText(text);
    set->takesQueuedLegend = 0;
}

void CPlot::smooth(int num, const char* option)
{
    if (DataSet* set = styleTarget("smooth", num)) set->smooth = copyText(option);
}

void CPlot::axes(int num, const char* axes)
{
    if (DataSet* set = styleTarget("axes", num)) set->axes = copyText(axes);
}

// Border of the boxes: mode 1 draws it with lineType, mode 2 switches it off. Number -1 also
// sets the plot-wide border and then styles the first data set.
void CPlot::boxBorder(int num) { setBoxBorder(num, 2, nullptr); }

void CPlot::boxBorder(int num, int lineType) { setBoxBorder(num, 1, &lineType); }

void CPlot::setBoxBorder(int num, int mode, const int* lineType)
{
    if (num == -1) setBorderFields(s_.style.boxFillFlags, s_.style.boxBorderMode, s_.style.boxBorderLineType, mode, lineType);
    if (DataSet* set = styleTarget("boxBorder", num))
        setBorderFields(set->boxFillFlags, set->boxBorderMode, set->boxBorderLineType, mode, lineType);
}

// Number -1 is the plot-wide fill; only a pattern fill then also styles the first data set.
void CPlot::boxFill(int num, int type) { setBoxFill(num, type, BoxFlag::Type, 0.0, 0); }

void CPlot::boxFill(int num, int type, double density)
{
    setBoxFill(num, type, BoxFlag::Type | BoxFlag::Density, density, 0);
}

void CPlot::boxFill(int num, int type, int pattern) { setBoxFill(num, type, BoxFlag::Type | BoxFlag::Pattern, 0.0, pattern); }

void CPlot::setBoxFill(int num, int type, int flags, double density, int pattern)
{
    auto apply = [&](int& setFlags, int& setType, double& setDensity, int& setPattern) {
        setFlags |= flags;
        setType = type;
        if (flags & BoxFlag::Density) setDensity = density;
        if (flags & BoxFlag::Pattern) setPattern = pattern;
    };
    if (num == -1) {
        StyleState& st = s_.style;
        apply(st.boxFillFlags, st.boxFillType, st.boxFillDensity, st.boxFillPattern);
        if (!(flags & BoxFlag::Pattern)) return;
    }
    if (DataSet* set = styleTarget("boxFill", num))
        apply(set->boxFillFlags, set->boxFillType, set->boxFillDensity, set->boxFillPattern);
}

void CPlot::fillCurve(const char* option, const char* color)
{
    if (option) s_.style.pendingFillOption = option;
    if (color) s_.style.pendingFillColor = color;
}

// Turns the last data set into the filled area of a pending fillCurve. With the stroke on, a copy
// of the curve (its own line style, no legend) is appended first so that it is drawn over the
// edge of the fill.
//
// When fillCurve was never given a colour, the fill keeps the curve's own line colour when it has
// one (the stroke colour it was added with); otherwise it carries no colour clause and the engine
// gives it the next colour of its automatic cycle, as for any curve without a colour.
int CPlot::applyPendingFill()
{
    StyleState& st = s_.style;
    ++st.filledCurveCount;
    if (s_.dataSets.empty()) {
        std::fputs("CPlot::fillCurve(): no plotting data for filled curve has been added yet\n", stderr);
        return -1;
    }
    const std::size_t last = s_.dataSets.size() - 1;
    if (s_.draw.strokeOn == 1) {
        try {
            DataSet edge = s_.dataSets[last];
            edge.legend.reset();
            edge.takesQueuedLegend = 0;
            s_.dataSets.push_back(std::move(edge));
        } catch (const std::bad_alloc&) {
            std::fputs("Error: can't allocate memory for new curve\n", stderr);
            return -1;
        }
    }
    DataSet& fill = s_.dataSets[last];
    fill.lineWidth = 0;
    fill.plotType = PlotType::FilledCurves;
    fill.styleOption = std::move(st.pendingFillOption);
    st.pendingFillOption.reset();
    if (st.pendingFillColor) {
        fill.lineColor.assign(*st.pendingFillColor);
        fill.lineColorSet = 1;
        st.pendingFillColor.reset();
    } else if (fill.lineColorSet != 1) {
        fill.lineColorSet = 0;
    }
    return 0;
}

}  // namespace rizari
