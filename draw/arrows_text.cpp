// Arrows and free text labels: the members that add them, the text colour, and the arrows and
// text labels sections of a plot block. Both lists keep the newest entry first.
#include "draw/arrows_text.h"

#include <cstdio>
#include <new>

#include "draw/extents.h"
#include "platform/messages.h"
#include "plot/checks.h"

namespace rizari {

int CPlot::arrow(double x1, double y1, double z1, double x2, double y2, double z2)
{
    if (!finiteArguments("arrow", {x1, y1, z1, x2, y2, z2})) return -1;
    PlotState& s = impl_->state;
    try {
        // A 2D plot draws its arrows in the plane z = 0 whatever was passed.
        const bool flat = s.dimension == 2;
        PlotArrow a{{x1, y1, flat ? 0.0 : z1}, {x2, y2, flat ? 0.0 : z2}, std::nullopt};
        s.draw.arrows.insert(s.draw.arrows.begin(), std::move(a));
    } catch (const std::bad_alloc&) {
        report("CPlot::arrow(): malloc error\n");
        return -1;
    }
    return 0;
}

int CPlot::arrow(double x1, double y1, double z1, double x2, double y2, double z2, const char* option)
{
    if (!oneLine("arrow", option)) return -1;
    if (!option) report("CPlot::arrow(): invalid option\n");
    if (arrow(x1, y1, z1, x2, y2, z2) != 0) return -1;
    if (!option) return 0;
    auto& arrows = impl_->state.draw.arrows;
    try {
        arrows.front().option = option;
    } catch (const std::bad_alloc&) {
        arrows.erase(arrows.begin());
        report("CPlot::arrow(): malloc error\n");
        return -1;
    }
    return 0;
}

// The alignment is not checked: an unknown code writes no alignment word.
void CPlot::text(const char* string, int alignment, double x, double y, double z)
{
    if (!finiteArguments("text", {x, y, z})) return;
    DrawState& d = impl_->state.draw;
    try {
        PlotText t;
        if (string) t.text = string;
        t.alignment = knownCode<Align>(alignment);
        t.at = {x, y, z};
        t.color = d.textColor;
        d.textLabels.insert(d.textLabels.begin(), std::move(t));
    } catch (const std::bad_alloc&) {
        report("CPlot::text(): malloc error\n");
        return;
    }
    draw::mergePoint(d.extents, x, y);
}

void CPlot::textColor(const char* color) { impl_->state.draw.textColor = ColorText(color); }

void writeArrows(ScriptWriter& w, const PlotState& s)
{
    if (s.draw.arrows.empty()) {
        w.put("unset arrow\n");
        return;
    }
    for (const PlotArrow& a : s.draw.arrows) {
        w.print("set arrow from %f, %f, %f to %f, %f, %f", a.tail.x, a.tail.y, a.tail.z, a.head.x, a.head.y, a.head.z);
        if (a.option) w.print(" %s", CallerCode{*a.option});
        w.put("\n");
    }
}

void writeTextLabels(ScriptWriter& w, const PlotState& s)
{
    if (s.draw.textLabels.empty()) {
        w.put("unset label\n");
        return;
    }
    for (const PlotText& t : s.draw.textLabels) {
        // A label made with a null text is written as the empty text.
        w.print("set label \"%t\" at %f, %f, %f ", t.text ? t.text->c_str() : "", t.at.x, t.at.y, t.at.z);
        w.print("font \", %d\" ", kLabelFontSize);
        if (t.color) w.print(" textcolor rgbcolor \"%q\" ", t.color->c_str());
        if (!t.alignment) w.put("\n");
        else if (*t.alignment == Align::Left) w.put("left\n");
        else if (*t.alignment == Align::Right) w.put("right\n");
        else w.put("center\n");
    }
}

}  // namespace rizari
