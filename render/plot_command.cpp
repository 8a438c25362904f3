// The plot (2D) and splot (3D) commands with one clause per data set, and the ranges that make
// the shape objects and text labels of a plot visible.
#include <cmath>
#include <limits>

#include "plot/cplot.h"
#include "render/engine_compat.h"
#include "render/script_writer.h"
#include "render/styles.h"

namespace rizari {

namespace {

// A file name as the engine reads it inside double quotes: every backslash doubled.
std::string quotedFileName(const DataSet& set)
{
    std::string out;
    if (!set.fileName) return out;
    out.reserve(set.fileName->size());
    for (char c : *set.fileName) {
        out += c;
        if (c == '\\') out += '\\';
    }
    return out;
}

const char* styleKeyword2D(int type)
{
    static constexpr const char* kKeywords[] = {
        "lines", "impulses", "steps", "fsteps", "points", "linespoints", "dots", "histeps",
        "boxerrorbars", "boxes", "boxxyerrorbars", "candlesticks", "financebars", "filledcurves",
        "vectors", "xerrorbars", "xyerrorbars", "yerrorbars", "xerrorlines", "xyerrorlines",
        "yerrorlines", "pm3d"};
    if (type < PlotType::Lines || type > PlotType::PM3D) return "points";
    return kKeywords[type - PlotType::Lines];
}

const char* styleKeyword3D(int type)
{
    switch (type) {
    case PlotType::Lines: return "lines";
    case PlotType::Impulses: return "impulses";
    case PlotType::LinesPoints: return "linespoints";
    case PlotType::Dots: return "dots";
    case PlotType::PM3D: return "pm3d";
    default: return "points";
    }
}

void writeTitle(ScriptWriter& w, const DataSet& set)
{
    if (set.legend) w.print("title \"%s\" ", *set.legend);
    else w.put("notitle ");
}

// Line and point clauses shared by plot and splot. The point colour has no blank before its
// quote in the plot command.
void writeLineAndPoints(ScriptWriter& w, const DataSet& set, bool splot)
{
    if (set.lineType != -999) w.print(" lt %d", set.lineType);
    if (set.lineWidth != 0) w.print(" lw %d", set.lineWidth);
    if (set.lineColorSet == 1 && set.pointColorSet == 0) w.print(" lc rgbcolor \"%s\"", set.lineColor.c_str());
    if (set.pointType != -999 && set.pointType != 0) w.print(" pt %d", set.pointType);
    if (set.pointSize > 0) w.print(" ps %d", set.pointSize);
    if (set.pointSize >= 0 && set.pointColorSet == 1)
        w.print(splot ? " lc rgbcolor \"%s\"" : " lc rgbcolor\"%s\"", set.pointColor.c_str());
}

bool takesBoxFill(int type)
{
    return (type >= PlotType::BoxErrorBars && type <= PlotType::Candlesticks) || type == PlotType::FilledCurves;
}

// "set xrange" or "set yrange" around the extent [low, high] with a margin of a fifth of its
// width, widened to whole numbers. A reversed extent (a rectangle of negative width) gives a
// reversed range. An axis that no object reached is left to the engine.
void writeObjectRange(ScriptWriter& w, const char* axis, double low, double high)
{
    constexpr double kUnset = std::numeric_limits<double>::max();
    if (low == kUnset || high == -kUnset) return;
    const double margin = (high - low) * 0.2;
    double from = std::floor(low - margin);
    double to = std::ceil(high + margin);
    if (from == to) {
        from -= 1;
        to += 1;
    }
    w.print("set %srange [%g:%g]\n", axis, from, to);
}

}  // namespace

void CPlot::writeObjectRanges(ScriptWriter& w) const
{
    const bool hasObjects = !s_.draw.shapeObjects.empty();
    const bool onlyLabels = !s_.draw.textLabels.empty() && s_.dataSets.empty();
    if (!hasObjects && !onlyLabels) return;
    const ObjectExtents& e = s_.draw.extents;
    if (!(s_.axes.rangeAxes & PlotAxis::X)) writeObjectRange(w, "x", e.xmin, e.xmax);
    if (!(s_.axes.rangeAxes & PlotAxis::Y)) writeObjectRange(w, "y", e.ymin, e.ymax);
}

void CPlot::writePlotCommand(ScriptWriter& w) const
{
    if (s_.dataSets.empty()) {
        // One inline point, so that the engine draws the objects and labels.
        w.put("plot '-' with dots\n");
        w.put(" 0 0\n");
        w.put(engine_compat::kEndInlineData);
        return;
    }
    w.put("plot ");
    bool first = true;
    for (const DataSet& set : s_.dataSets) {
        if (!first) w.put(", ");
        first = false;
        w.print("\"%s\" ", quotedFileName(set));
        if (set.fileOption) w.print("%s ", *set.fileOption);
        if (set.smooth) w.print("smooth %s ", *set.smooth);
        if (set.axes) w.print("axes %s ", *set.axes);
        writeTitle(w, set);
        w.print("with %s", styleKeyword2D(set.plotType));
        const bool withOption = set.plotType == PlotType::Candlesticks || set.plotType == PlotType::FilledCurves ||
                                set.plotType == PlotType::Vectors;
        if (withOption && set.styleOption) w.print(" %s", *set.styleOption);
        if (set.plotType == PlotType::FilledCurves && s_.style.transparentFill != 0 && s_.style.filledCurveCount >= 1)
            w.put(" fs transparent solid 0.6");
        if (takesBoxFill(set.plotType) && set.boxFillFlags != 0) writeBoxFillClause(w, set);
        writeLineAndPoints(w, set, false);
    }
}

void CPlot::writeSplotCommand(ScriptWriter& w) const
{
    w.put("splot ");
    bool first = true;
    for (const DataSet& set : s_.dataSets) {
        if (!first) w.put(", ");
        first = false;
        if (s_.view.coordSystemCode == CoordSystem::Cartesian) w.print("\"%s\" using 1:2:3 ", quotedFileName(set));
        else w.print("\"%s\" ", quotedFileName(set));
        writeTitle(w, set);
        w.print("with %s", styleKeyword3D(set.plotType));
        writeLineAndPoints(w, set, true);
    }
}

}  // namespace rizari
