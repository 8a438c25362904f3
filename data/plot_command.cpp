// The plot (2D) and splot (3D) commands with one clause per data set, and the ranges that make
// the shape objects and text labels of a plot visible.
#include "data/plot_command.h"

#include <cmath>
#include <limits>

#include "data/dot_shades.h"
#include "data/file_reading.h"
#include "data/plot_styles.h"
#include "data/styles.h"
#include "script/number_format.h"
#include "settings/color_map.h"

namespace rizari {

namespace {

std::string fileNameOf(const DataSet& set) { return engineFileName(set.fileName.value_or("")); }

// The file of a data set in the splot command, with the columns of a cartesian grid.
void writeSplotSource(ScriptWriter& w, const PlotState& s, const DataSet& set)
{
    w.print("\"%q\" ", fileNameOf(set));
    const bool named = writeReadingWords(w, s, set);
    if (!named && s.view.coordSystem == Coordinates::Cartesian) w.put("using 1:2:3 ");
}

bool drawsContourLines(const ViewState& v)
{
    return v.contours && v.contourMode.known().has_value();
}

// A number of the image clause as gnuplot reads it back: exactly.
std::string exactNumber(double v)
{
    char text[kMaxNumberText];
    return std::string(text, formatGDigits(text, v, 17));
}

// The image of the set's dots' shades (data/dot_shades.h), plotted right after the set (after its
// key entry, which the dots cover as they would): pixel for pixel on the picture's, and out of
// the autoscaling, which the set's own points still do.
void writeShadeClause(ScriptWriter& w, const Reduction& reduction)
{
    const DotShades& image = *reduction.shades;
    w.print(", \"%q\" binary array=(%d,%d) format=\"%%uchar\" dx=%s dy=%s origin=(%s,%s) notitle with rgbalpha noautoscale",
            engineFileName(*reduction.shadeFile), image.columns, image.rows, exactNumber(image.dx), exactNumber(image.dy), exactNumber(image.x0),
            exactNumber(image.y0));
}

void writeTitle(ScriptWriter& w, const PlotState& s, const DataSet& set)
{
    if (set.legend) w.print("title \"%t\" ", *set.legend);
    else if (titleFromHeader(s, set)) w.put("title columnheader ");
    else w.put("notitle ");
}

// A width or size after its keyword: a whole number as an integer, as the int members have always
// written it, and a fraction with %g.
void writeAmount(ScriptWriter& w, const char* keyword, double amount)
{
    constexpr double kLargestExact = 9007199254740992.0;  // 2^53: every whole double below is exact
    if (amount == std::trunc(amount) && std::fabs(amount) < kLargestExact) w.print(" %s %d", keyword, static_cast<long long>(amount));
    else w.print(" %s %g", keyword, amount);
}

// Line and point clauses shared by plot and splot. The point colour has no blank before its
// quote in the plot command.
void writeLineAndPoints(ScriptWriter& w, const DataSet& set, bool splot)
{
    const ColorText* color = namedColor(set);
    if (set.lineType) w.print(" lt %d", *set.lineType);
    if (set.lineWidth != 0) writeAmount(w, "lw", set.lineWidth);
    if (color && !set.pointColor) w.print(" lc rgbcolor \"%q\"", color->c_str());
    if (set.pointType) w.print(" pt %d", *set.pointType);
    if (set.pointSize > 0) writeAmount(w, "ps", *set.pointSize);
    if (color && set.pointColor) w.print(splot ? " lc rgbcolor \"%q\"" : " lc rgbcolor\"%q\"", color->c_str());
}

// "set xrange" or "set yrange" around the extent [low, high] with a margin of a fifth of its
// width, widened to whole numbers. A reversed extent (a rectangle of negative width) gives a
// reversed range. An axis that no object reached is left to the engine.
void writeObjectRange(ScriptWriter& w, const char* axis, double low, double high)
{
    constexpr double kUnset = std::numeric_limits<double>::max();
    if (low == kUnset || high == -kUnset) return;
    // The span of very large extents overflows; a fifth of each bound does not.
    const double span = high - low;
    const double margin = std::isfinite(span) ? span * 0.2 : high * 0.2 - low * 0.2;
    double from = withinDoubles(std::floor(low - margin));
    double to = withinDoubles(std::ceil(high + margin));
    if (from == to) {
        from -= 1;
        to += 1;
    }
    w.print("set %srange [%g:%g]\n", axis, from, to);
}

}  // namespace

const ColorText* namedColor(const DataSet& set)
{
    if (set.pointColor) return set.pointSize ? &*set.pointColor : nullptr;
    return set.lineColor ? &*set.lineColor : nullptr;
}

void writeObjectRanges(ScriptWriter& w, const PlotState& s)
{
    const bool hasObjects = !s.draw.shapes.empty();
    const bool onlyLabels = !s.draw.textLabels.empty() && s.dataSets.empty();
    if (!hasObjects && !onlyLabels) return;
    const ObjectExtents& e = s.draw.extents;
    if (!s.axes.range[AxisX]) writeObjectRange(w, "x", e.xmin, e.xmax);
    if (!s.axes.range[AxisY]) writeObjectRange(w, "y", e.ymin, e.ymax);
}

void writePlotCommand(ScriptWriter& w, const PlotState& s)
{
    if (s.dataSets.empty()) {
        // One point, so that the engine draws the objects and labels.
        w.put(w.dialect().emptyPlot);
        return;
    }
    w.put("plot ");
    const char* separator = "";
    for (const DataSet& set : s.dataSets) {
        w.put(separator);
        separator = ", ";
        w.print("\"%q\" ", fileNameOf(set));
        writeReadingWords(w, s, set);
        if (set.fileOption) w.print("%s ", CallerCode{*set.fileOption});
        if (set.smooth) w.print("smooth %s ", CallerCode{*set.smooth});
        if (set.axes) w.print("axes %s ", CallerCode{*set.axes});
        writeTitle(w, s, set);
        const PlotStyle* style = findPlotStyle(set.plotType);
        w.print("with %s", style ? style->keyword2D : kUnknownStyleKeyword);
        if (style && style->takesText() && set.styleOption) w.print(" %s", CallerCode{*set.styleOption});
        // Filled curves are translucent once a fill was asked for, so that curves behind show.
        if (set.plotType == Style::FilledCurves && s.style.fillRequested) w.put(" fs transparent solid 0.6");
        if (style && style->boxFill && set.boxes.given()) writeBoxFillClause(w, set.boxes);
        writeLineAndPoints(w, set, false);
        if (set.reduction && set.reduction->shadeFile && set.reduction->shades) writeShadeClause(w, *set.reduction);
    }
}

void writeSplotCommand(ScriptWriter& w, const PlotState& s)
{
    const bool contours = drawsContourLines(s.view);
    w.put("splot ");
    const char* separator = "";
    for (const DataSet& set : s.dataSets) {
        w.put(separator);
        separator = ", ";
        // A pm3d surface or a heat map's cells draw no contour lines: a second clause draws them
        // from the same data as lines without their surface. With labelled contours the levels
        // are listed in the key under the data set's title, which then moves to that clause.
        const bool cells = drawnAsCells(s, set);
        const bool contourClause = contours && (set.plotType == Style::PM3D || cells);
        const bool titleOnContours = contourClause && s.view.contourLabels;
        writeSplotSource(w, s, set);
        if (titleOnContours) w.put("notitle ");
        else writeTitle(w, s, set);
        const PlotStyle* style = findPlotStyle(set.plotType);
        if (cells) {
            w.put("with image");
        } else {
            w.print("with %s", style ? style->keyword3D : kUnknownStyleKeyword);
            writeLineAndPoints(w, set, true);
        }
        if (!contourClause) continue;
        w.put(", ");
        writeSplotSource(w, s, set);
        if (titleOnContours) writeTitle(w, s, set);
        else w.put("notitle ");
        w.put("with lines nosurface");
        writeLineAndPoints(w, set, true);
    }
}

}  // namespace rizari
