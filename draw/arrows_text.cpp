// Arrows and free text labels: the members that add them, the text colour, and the arrows and
// text labels sections of a plot block. Both lists keep the newest entry first.
#include <cstdio>
#include <new>

#include "plot/cplot.h"
#include "render/script_writer.h"

namespace rizari {

int CPlot::arrow(double x1, double y1, double z1, double x2, double y2, double z2)
{
    try {
        PlotArrow a;
        a.headX = x2;
        a.headY = y2;
        a.tailX = x1;
        a.tailY = y1;
        // A 2D plot draws its arrows in the plane z = 0 whatever was passed.
        a.headZ = s_.plotDimension == 2 ? 0.0 : z2;
        a.tailZ = s_.plotDimension == 2 ? 0.0 : z1;
        s_.draw.arrows.insert(s_.draw.arrows.begin(), std::move(a));
    } catch (const std::bad_alloc&) {
        std::fputs("CPlot::arrow(): malloc error\n", stderr);
        return -1;
    }
    return 0;
}

int CPlot::arrow(double x1, double y1, double z1, double x2, double y2, double z2, const char* option)
{
    if (!option) std::fputs("CPlot::arrow(): invalid option\n", stderr);
    if (arrow(x1, y1, z1, x2, y2, z2) != 0) return -1;
    if (option) {
        try {
            s_.draw.arrows.front().option = option;
        } catch (const std::bad_alloc&) {
            s_.draw.arrows.erase(s_.draw.arrows.begin());
            std::fputs("CPlot::arrow(): malloc error\n", stderr);
            return -1;
        }
    }
    return 0;
}

void CPlot::text(const char* string, int alignment, double x, double y, double z)
{
    try {
        PlotText t;
        if (string) t.text = string;
        t.alignment = alignment;  // not validated: an unknown code writes no alignment word
        t.fontSize = 13;
        t.colorGiven = s_.draw.textColorSet;
        if (t.colorGiven == 1) t.color = s_.draw.textColorName;
        t.x = x;
        t.y = y;
        t.z = z;
        s_.draw.textLabels.insert(s_.draw.textLabels.begin(), std::move(t));
    } catch (const std::bad_alloc&) {
        std::fputs("CPlot::text(): malloc error\n", stderr);
        return;
    }
    mergeExtents(x, y);
}

void CPlot::textColor(const char* color)
{
    s_.draw.textColorSet = 1;
    s_.draw.textColorName.assign(color);
}

void CPlot::writeArrows(ScriptWriter& w) const
{
    if (s_.draw.arrows.empty()) {
        w.put("unset arrow\n");
        return;
    }
    for (const PlotArrow& a : s_.draw.arrows) {
        w.print("set arrow from %f, %f, %f to %f, %f, %f", a.tailX, a.tailY, a.tailZ, a.headX, a.headY, a.headZ);
        if (a.option) w.print(" %s", *a.option);
        w.put("\n");
    }
}

void CPlot::writeTextLabels(ScriptWriter& w) const
{
    if (s_.draw.textLabels.empty()) {
        w.put("unset label\n");
        return;
    }
    for (const PlotText& t : s_.draw.textLabels) {
        // A label made with a null text is written as the empty text.
        w.print("set label \"%s\" at %f, %f, %f ", t.text ? t.text->c_str() : "", t.x, t.y, t.z);
        w.print("font \", %d\" ", t.fontSize);
        if (t.colorGiven == 1) w.print(" textcolor rgbcolor \"%s\" ", t.color.c_str());
        switch (t.alignment) {
        case TextAlign::Left: w.put("left\n"); break;
        case TextAlign::Right: w.put("right\n"); break;
        case TextAlign::Center: w.put("center\n"); break;
        default: w.put("\n"); break;
        }
    }
}

}  // namespace rizari
