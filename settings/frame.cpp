// Border, grid, margins, placement on the canvas, background, error bar ends and box width.
#include "settings/frame.h"

#include <cstdio>

#include "platform/messages.h"
#include "plot/checks.h"

namespace rizari {

void CPlot::border(int sides, int flag)
{
    int& border = impl_->state.frame.border;
    if (flag == 1) border |= sides;
    else if (flag == 0) border &= ~sides;
    else report("CPlot::border(): invalid parameter\n");
}

void CPlot::grid(int flag)
{
    FrameState& f = impl_->state.frame;
    f.grid = flag == 1;
    f.gridOption.reset();
}

// The flag is stored before it is checked: a refused flag leaves the grid off.
void CPlot::grid(int flag, const char* option)
{
    if (!oneLine("grid", option)) return;
    FrameState& f = impl_->state.frame;
    f.grid = flag == 1;
    if (flag != 1) {
        report("CPlot::grid(): invalid parameter\n");
        return;
    }
    if (option) f.gridOption = option;
    else f.gridOption.reset();
}

void CPlot::getGrid(int* flag, const char** option) const
{
    const FrameState& f = impl_->state.frame;
    if (flag) *flag = f.grid ? 1 : 0;
    if (option) *option = f.gridOption ? f.gridOption->c_str() : nullptr;
}

void CPlot::margins(double left, double right, double top, double bottom)
{
    if (finiteArguments("margins", {left, right, top, bottom})) impl_->state.frame.margins = {left, right, top, bottom};
}

void CPlot::borderOffsets(double left, double right, double top, double bottom)
{
    if (finiteArguments("borderOffsets", {left, right, top, bottom})) impl_->state.frame.offsets = {left, right, top, bottom};
}

void CPlot::origin(double x, double y)
{
    if (finiteArguments("origin", {x, y})) impl_->state.frame.origin = {x, y};
}

void CPlot::size(double x, double y)
{
    if (!(x > 0.0 && y > 0.0 && std::isfinite(x) && std::isfinite(y))) {
        report("CPlot::size(): invalid parameter\n");
        return;
    }
    impl_->state.frame.size = {x, y};
}

void CPlot::sizeRatio(double ratio)
{
    // A ratio of 0 is none.
    if (finiteArguments("sizeRatio", {ratio})) impl_->state.frame.sizeRatio = ratio == 0.0 ? std::nullopt : std::optional(ratio);
}

void CPlot::backgroundColor(const char* color) { impl_->state.frame.background = ColorText(color); }

// Sizes outside 0 .. 1 are ignored.
void CPlot::barSize(double size)
{
    if (finiteArguments("barSize", {size}) && size >= 0.0 && size <= 1.0) impl_->state.frame.barSize = size;
}

void CPlot::boxWidth(double width)
{
    if (finiteArguments("boxWidth", {width})) impl_->state.frame.boxWidth = width;
}

void writeBorder(ScriptWriter& w, const PlotState& s)
{
    if (s.frame.border != 0) w.print("set border %d\n", s.frame.border);
    else w.put("unset border\n");
}

void writeGrid(ScriptWriter& w, const PlotState& s)
{
    const FrameState& f = s.frame;
    if (!f.grid) {
        w.put("unset grid\n");
        return;
    }
    w.put("set grid");
    if (f.gridOption) w.print(" %s", CallerCode{*f.gridOption});
    w.put("\n");
    if (s.view.polar) w.put("set grid polar\n");
}

void writeBoxWidth(ScriptWriter& w, const PlotState& s)
{
    if (s.frame.boxWidth) w.print("set boxwidth %g\n", *s.frame.boxWidth);
    else w.put("set boxwidth\n");
}

void writeBackground(ScriptWriter& w, const PlotState& s, bool inGridCell)
{
    const FrameState& f = s.frame;
    if (!f.background) return;
    if (inGridCell) {
        w.print(kCellBackground, f.origin[0], f.origin[1], f.origin[0] + f.size[0], f.origin[1] + f.size[1],
                f.background->c_str());
    } else {
        w.print("set object rectangle from screen 0,0 to screen 1,1 fillcolor rgb \"%q\" behind\n", f.background->c_str());
    }
}

void writeBars(ScriptWriter& w, const PlotState& s)
{
    if (s.frame.barSize) w.print("set bars %f\n", *s.frame.barSize);
}

void writeMarginsAndLayout(ScriptWriter& w, const PlotState& s)
{
    const FrameState& f = s.frame;
    w.print("set bmargin %f\n", f.margins.bottom);
    w.print("set lmargin %f\n", f.margins.left);
    w.print("set rmargin %f\n", f.margins.right);
    w.print("set tmargin %f\n", f.margins.top);
    w.print("set offsets %f, %f, %f, %f\n", f.offsets.left, f.offsets.right, f.offsets.top, f.offsets.bottom);
    w.print("set origin %f, %f\n", f.origin[0], f.origin[1]);
    if (!f.sizeRatio) w.print("set size noratio %f, %f\n", f.size[0], f.size[1]);
    else w.print("set size ratio %f  %f, %f\n", *f.sizeRatio, f.size[0], f.size[1]);
}

}  // namespace rizari
