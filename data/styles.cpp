// Per-data-set styles: plot style, lines, points, legends, smoothing, axes, box fill and border,
// filled curves; and the plot-wide fill style section and the box fill clause of a data set.
#include "data/styles.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <new>
#include <utility>

#include "data/plot_styles.h"
#include "platform/messages.h"
#include "plot/checks.h"
#include "plot/lifecycle.h"

namespace rizari {

namespace {

bool same(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

// The words of a fill type after "set style fill" or "fs".
void writeFillTypeWords(ScriptWriter& w, const BoxStyle& b)
{
    const std::optional<Fill> fill = b.fill->known();
    if (!fill) return;  // a code of no fill type has no words
    switch (*fill) {
    case Fill::Empty: w.put(" empty"); break;
    case Fill::Solid:
    case Fill::TransparentSolid:
        w.put(*fill == Fill::Solid ? " solid" : " transparent solid");
        if (b.density) w.print(" %f", *b.density);
        break;
    case Fill::Pattern:
    case Fill::TransparentPattern:
        w.put(*fill == Fill::Pattern ? " pattern" : " transparent pattern");
        if (b.pattern) w.print(" %d", *b.pattern);
        break;
    }
}

// The data set a style member addresses, with the member's message when there is none.
DataSet* styleTarget(PlotState& s, const char* member, int num)
{
    if (s.dataSets.empty()) {
        reportf("CPlot::%s(): no plotting data has been added yet\n", member);
        return nullptr;
    }
    DataSet* set = dataSetByNumber(s, num);
    if (!set) reportf("CPlot::%s(): number specified larger than number of curves\n", member);
    return set;
}

// The data set of a member for which number -1 names none (it still reports an empty plot).
DataSet* numberedTarget(PlotState& s, const char* member, int num)
{
    DataSet* set = styleTarget(s, member, num);
    return num == -1 ? nullptr : set;
}

// Border of the boxes: drawn with a line type, or none. Number -1 also sets the plot-wide border
// and then styles the first data set.
void setBoxBorder(PlotState& s, int num, BoxStyle::Border border)
{
    if (num == -1) s.style.boxes.border = border;
    if (DataSet* set = styleTarget(s, "boxBorder", num)) set->boxes.border = border;
}

// Number -1 is the plot-wide fill; only a pattern fill then also styles the first data set.
void setBoxFill(PlotState& s, int num, KeptCode<Fill> type, std::optional<double> density, std::optional<int> pattern)
{
    auto apply = [&](BoxStyle& b) {
        b.fill = type;
        if (density) b.density = density;
        if (pattern) b.pattern = pattern;
    };
    if (num == -1) {
        apply(s.style.boxes);
        if (!pattern) return;
    }
    if (DataSet* set = styleTarget(s, "boxFill", num)) apply(set->boxes);
}

}  // namespace

void writeBoxFillClause(ScriptWriter& w, const BoxStyle& boxes)
{
    w.put(" fs");
    if (boxes.fill) writeFillTypeWords(w, boxes);
    if (!boxes.border) return;
    if (boxes.border->lineType) w.print(" border %d", *boxes.border->lineType);
    else w.put(" noborder");
}

void writeFillStyle(ScriptWriter& w, const PlotState& s)
{
    const BoxStyle& b = s.style.boxes;
    if (b.fill) {
        w.put("set style fill");
        writeFillTypeWords(w, b);
        w.put("\n");
    }
    if (b.border && b.border->lineType) w.print("set style fill border %d\n", *b.border->lineType);
    else if (b.border) w.put("set style fill noborder\n");
}

void CPlot::plotType(int type, int num, const PlotTypeExtra& extra)
{
    PlotState& s = impl_->state;
    if (s.dataSets.empty()) {
        report("CPlot::plotType(): no plotting data has been added yet\n");
        return;
    }
    DataSet* set = dataSetByNumber(s, num);
    if (!set) {
        report(" CPlot::plotType(): number specified larger than number of curves\n");
        return;
    }
    const KeptCode<Style> plotType(type);
    const PlotStyle* style = findPlotStyle(plotType);
    if (style && style->takesText() && extra.count >= 1 && !oneLine("plotType", extra.texts[0])) return;
    set->plotType = plotType;
    const StyleExtras extras = style ? style->extras : StyleExtras::LineTypeWidth;
    if (extras == StyleExtras::None) {  // pm3d: the whole plot becomes 3D
        dimension(3);
        return;
    }
    if (plotType == Style::FilledCurves) s.style.fillRequested = true;
    const int count = extra.count;
    if (count == 0) {
        if (extras == StyleExtras::PointTypeSize) set->pointType = givenPointType(s.style.defaultPointType);
        return;
    }
    if (!style || !style->accepts(count)) {
        report(" CPlot::plotType(): invalid number of arguments.\n");
        return;
    }
    switch (extras) {
    case StyleExtras::PointTypeSize:
        set->pointType = givenPointType(extra.ints[0]);
        set->lineType = givenLineType(extra.ints[0]);
        set->pointSize = givenPointSize(extra.ints[1]);
        break;
    case StyleExtras::LinesPoints:
        set->lineType = givenLineType(extra.ints[0]);
        set->lineWidth = extra.ints[1];
        set->pointType = givenPointType(extra.ints[2]);
        set->pointSize = givenPointSize(extra.ints[3]);
        break;
    case StyleExtras::Option: set->styleOption = optionalText(extra.texts[0]); break;
    case StyleExtras::OptionFillColor:
        set->styleOption = optionalText(extra.texts[0]);
        set->lineWidth = 0;
        set->lineColor.reset();
        if (count == 2) set->lineColor = ColorText(extra.texts[1]);
        break;
    case StyleExtras::LineTypeWidth:
        set->lineType = givenLineType(extra.ints[0]);
        if (count == 2) set->lineWidth = extra.ints[1];
        break;
    case StyleExtras::None: break;
    }
}

void CPlot::lineType(int num, int type, int width) { lineType(num, type, width, nullptr); }

// A null colour is no colour.
void CPlot::lineType(int num, int type, int width, const char* color)
{
    DataSet* set = numberedTarget(impl_->state, "lineType", num);
    if (!set) return;
    set->lineType = givenLineType(type);
    set->lineWidth = width;
    if (color) set->lineColor = ColorText(color);
    else set->lineColor.reset();
}

void CPlot::lineStyle(const char* style)
{
    if (!style) {
        report("Error: invalid line style\n");
    } else if (same(style, ".")) {
        impl_->state.style.defaultLineType = 0;
    } else if (same(style, "-")) {
        impl_->state.style.defaultLineType = 1;
    } else {
        reportf("Error: invalid line style '%s'\n", style);
    }
}

void CPlot::lineWidth(int width)
{
    if (width < 1) {
        report("CPlot::lineWidth(): the width less than 0\n");
        return;
    }
    impl_->state.style.lineWidth = width;
}

void setLineWidth(DataSet& set, double width) { set.lineWidth = width; }
void setLineType(DataSet& set, int type) { set.lineType = givenLineType(type); }
void setLineColor(DataSet& set, std::string_view color) { set.lineColor = ColorText(color); }
void setPointType(DataSet& set, int type) { set.pointType = givenPointType(type); }
void setPointSize(DataSet& set, double size) { set.pointSize = givenPointSize(size); }

void CPlot::pointType(int num, int type, int size) { pointType(num, type, size, nullptr); }

// Without a colour the point type is the line type too; a null colour is no colour.
void CPlot::pointType(int num, int type, int size, const char* color)
{
    DataSet* set = numberedTarget(impl_->state, "pointType", num);
    if (!set) return;
    set->pointType = givenPointType(type);
    set->pointSize = givenPointSize(size);
    if (color) {
        set->pointColor = ColorText(color);
    } else {
        set->pointColor.reset();
        set->lineType = givenLineType(type);
    }
}

void CPlot::pointStyle(const char* style)
{
    // The point type of each style name is its position in this list.
    static constexpr const char* kStyles[] = {".", "+", "x", "*", "s", "sf", "o", "of", "^", "^f", "v", "vf", "d", "df"};
    if (!style) {
        report("Error: invalid point style\n");
        return;
    }
    for (int i = 0; i < static_cast<int>(std::size(kStyles)); ++i) {
        if (same(style, kStyles[i])) {
            impl_->state.style.defaultPointType = i;
            return;
        }
    }
    reportf("Error: invalid point style '%s'\n", style);
}

void CPlot::legend(const char* text)
{
    PlotState& s = impl_->state;
    if (s.text.legend == LegendMode::Off) s.text.legend = LegendMode::On;
    if (!text) return;
    try {
        s.style.queuedLegends.emplace_back(text);
    } catch (const std::bad_alloc&) {
        report("CPlot::legend(): malloc error\n");
    }
}

void CPlot::legend(const char* text, int num)
{
    PlotState& s = impl_->state;
    if (s.dataSets.empty()) {
        report("CPlot::legend(): no plotting data for legend has been added yet\n");
        return;
    }
    if (s.text.legend == LegendMode::Off) s.text.legend = LegendMode::On;
    DataSet* set = dataSetByNumber(s, num);
    if (!set) {
        report("CPlot::legend(): number specified larger than number of curves\n");
        return;
    }
    set->legend = optionalText(text);
    set->takesQueuedLegend = false;
}

void CPlot::smooth(int num, const char* option)
{
    if (!oneLine("smooth", option)) return;
    if (DataSet* set = styleTarget(impl_->state, "smooth", num)) set->smooth = optionalText(option);
}

void CPlot::axes(int num, const char* axes)
{
    if (!oneLine("axes", axes)) return;
    if (DataSet* set = styleTarget(impl_->state, "axes", num)) set->axes = optionalText(axes);
}

void CPlot::boxBorder(int num) { setBoxBorder(impl_->state, num, {std::nullopt}); }

void CPlot::boxBorder(int num, int lineType) { setBoxBorder(impl_->state, num, {lineType}); }

void CPlot::boxFill(int num, int type) { setBoxFill(impl_->state, num, KeptCode<Fill>(type), std::nullopt, std::nullopt); }

// A density is a fraction of the full colour: a value outside 0 .. 1 (or NaN) breaks the whole plot.
void CPlot::boxFill(int num, int type, double density)
{
    if (!(density >= 0.0 && density <= 1.0)) return reportInvalidParameter("boxFill");
    setBoxFill(impl_->state, num, KeptCode<Fill>(type), density, std::nullopt);
}

void CPlot::boxFill(int num, int type, int pattern) { setBoxFill(impl_->state, num, KeptCode<Fill>(type), std::nullopt, pattern); }

void CPlot::fillCurve(const char* option, const char* color)
{
    if (!oneLine("fillCurve", option)) return;
    StyleState& st = impl_->state.style;
    if (option) st.pendingFillOption = option;
    if (color) st.pendingFillColor = color;
}

// Turns the last data set into the filled area of a pending fillCurve. With the stroke on, a copy
// of the curve (its own line style, no legend) is appended first so that it is drawn over the
// edge of the fill; the caller gives that copy its values or its file.
//
// When fillCurve was never given a colour, the fill keeps the curve's own line colour when it has
// one (the stroke colour it was added with); otherwise it carries no colour clause and the engine
// gives it the next colour of its automatic cycle, as for any curve without a colour.
int CPlot::applyPendingFill()
{
    PlotState& s = impl_->state;
    StyleState& st = s.style;
    st.fillRequested = true;
    if (s.dataSets.empty()) {
        report("CPlot::fillCurve(): no plotting data for filled curve has been added yet\n");
        return -1;
    }
    const std::size_t last = s.dataSets.size() - 1;
    if (s.draw.stroke) {
        // The copy is made without the values, which stay with the curve whatever happens.
        std::optional<ValueBlock> values = std::exchange(s.dataSets[last].values, std::nullopt);
        try {
            DataSet edge = s.dataSets[last];
            edge.legend.reset();
            edge.takesQueuedLegend = false;
            s.dataSets.push_back(std::move(edge));
        } catch (const std::bad_alloc&) {
            s.dataSets[last].values = std::move(values);
            report(kNoMemoryForCurve);
            return -1;
        }
        s.dataSets[last].values = std::move(values);
    }
    DataSet& fill = s.dataSets[last];
    fill.lineWidth = 0;
    fill.plotType = Style::FilledCurves;
    fill.styleOption = std::move(st.pendingFillOption);
    st.pendingFillOption.reset();
    if (st.pendingFillColor) {
        fill.lineColor = ColorText(*st.pendingFillColor);
        st.pendingFillColor.reset();
    }
    return 0;
}

}  // namespace rizari
