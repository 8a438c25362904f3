// Border, grid, margins, placement on the canvas, background, error bar ends and box width.
#include <cstdio>

#include "plot/cplot.h"
#include "render/engine_compat.h"
#include "render/script_writer.h"

namespace rizari {

void CPlot::border(int sides, int flag)
{
    if (flag == 1) s_.frame.borderSides |= sides;
    else if (flag == 0) s_.frame.borderSides &= ~sides;
    else std::fputs("CPlot::border(): invalid parameter\n", stderr);
}

void CPlot::grid(int flag)
{
    s_.frame.gridOn = flag;
    s_.frame.gridOptionText.reset();
}

void CPlot::grid(int flag, const char* option)
{
    s_.frame.gridOn = flag;
    if (flag != 1) {
        std::fputs("CPlot::grid(): invalid parameter\n", stderr);
        return;
    }
    if (option) s_.frame.gridOptionText = option;
    else s_.frame.gridOptionText.reset();
}

void CPlot::getGrid(int* flag, const char** option) const
{
    if (flag) *flag = s_.frame.gridOn;
    if (option) *option = s_.frame.gridOptionText ? s_.frame.gridOptionText->c_str() : nullptr;
}

void CPlot::margins(double left, double right, double top, double bottom)
{
    auto& f = s_.frame;
    f.marginLeft = left;
    f.marginRight = right;
    f.marginTop = top;
    f.marginBottom = bottom;
}

void CPlot::borderOffsets(double left, double right, double top, double bottom)
{
    auto& f = s_.frame;
    f.offsetLeft = left;
    f.offsetRight = right;
    f.offsetTop = top;
    f.offsetBottom = bottom;
}

void CPlot::origin(double x, double y)
{
    s_.frame.originX = x;
    s_.frame.originY = y;
}

void CPlot::size(double x, double y)
{
    if (!(x > 0.0 && y > 0.0)) {
        std::fputs("CPlot::size(): invalid parameter\n", stderr);
        return;
    }
    s_.frame.sizeX = x;
    s_.frame.sizeY = y;
}

void CPlot::sizeRatio(double ratio) { s_.frame.sizeRatioValue = ratio; }

void CPlot::backgroundColor(const char* color)
{
    s_.frame.backgroundOn = 1;
    s_.frame.backgroundColorName.assign(color);
}

void CPlot::barSize(double size)
{
    if (size >= 0.0 && size <= 1.0) s_.frame.barSizeValue = size;
}

void CPlot::boxWidth(double width)
{
    s_.style.boxFillFlags |= BoxFlag::Width;
    s_.frame.boxWidthValue = width;
}

void CPlot::writeBorder(ScriptWriter& w) const
{
    if (s_.frame.borderSides != 0) w.print("set border %d\n", s_.frame.borderSides);
    else w.put("unset border\n");
}

void CPlot::writeGrid(ScriptWriter& w) const
{
    const auto& f = s_.frame;
    if (f.gridOn != 1) {
        w.put("unset grid\n");
        return;
    }
    w.put("set grid");
    if (f.gridOptionText) w.print(" %s", *f.gridOptionText);
    w.put("\n");
    if (s_.view.polarOn == 1) w.put("set grid polar\n");
}

void CPlot::writeBoxWidth(ScriptWriter& w) const
{
    if (s_.style.boxFillFlags & BoxFlag::Width) w.print("set boxwidth %g\n", s_.frame.boxWidthValue);
    else w.put("set boxwidth\n");
}

void CPlot::writeBackground(ScriptWriter& w, bool inGridCell) const
{
    const auto& f = s_.frame;
    if (f.backgroundOn != 1) return;
    if (inGridCell) {
        w.print(engine_compat::kCellBackground, f.originX, f.originY, f.originX + f.sizeX, f.originY + f.sizeY,
                f.backgroundColorName.c_str());
    } else {
        w.print("set object rectangle from screen 0,0 to screen 1,1 fillcolor rgb \"%s\" behind\n",
                f.backgroundColorName.c_str());
    }
}

void CPlot::writeBars(ScriptWriter& w) const
{
    const double size = s_.frame.barSizeValue;
    if (size >= 0.0 && size <= 1.0) w.print("set bars %f\n", size);
}

void CPlot::writeMarginsAndLayout(ScriptWriter& w) const
{
    const auto& f = s_.frame;
    w.print("set bmargin %f\n", f.marginBottom);
    w.print("set lmargin %f\n", f.marginLeft);
    w.print("set rmargin %f\n", f.marginRight);
    w.print("set tmargin %f\n", f.marginTop);
    w.print("set offsets %f, %f, %f, %f\n", f.offsetLeft, f.offsetRight, f.offsetTop, f.offsetBottom);
    w.print("set origin %f, %f\n", f.originX, f.originY);
    if (f.sizeRatioValue == 0.0) w.print("set size noratio %f, %f\n", f.sizeX, f.sizeY);
    else w.print("set size ratio %f  %f, %f\n", f.sizeRatioValue, f.sizeX, f.sizeY);
}

}  // namespace rizari
