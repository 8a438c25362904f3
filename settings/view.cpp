// 3D view, contours, coordinate systems, polar plots and the mathematical coordinate look.
#include "settings/view.h"

#include <cstdio>
#include <new>

#include "platform/messages.h"
#include "plot/checks.h"
#include "settings/color_map.h"

namespace rizari {

namespace {

bool firstDataSetIsPm3d(const PlotState& s)
{
    return !s.dataSets.empty() && s.dataSets.front().plotType == Style::PM3D;
}

void writeAngles(ScriptWriter& w, Angle unit) { w.put(unit == Angle::Degrees ? "set angles degrees\n" : "set angles radians\n"); }

// A 0/1 flag of a member: stored, or refused with the member's message.
void setFlag(bool& field, int flag, const char* member)
{
    if (static_cast<unsigned>(flag) > 1) reportf("CPlot::%s(): invalid parameter\n", member);
    else field = flag == 1;
}

}  // namespace

void CPlot::changeViewAngle(double rotX, double rotZ)
{
    if (!(rotX >= 0.0 && rotX <= 180.0 && rotZ >= 0.0 && rotZ <= 360.0)) {
        report("CPlot::changeViewAngle(): invalid parameter\n");
        return;
    }
    impl_->state.view.rotX = rotX;
    impl_->state.view.rotZ = rotZ;
}

void CPlot::size3D(double scale, double scaleZ)
{
    if (!(scale > 0.0 && scaleZ > 0.0 && std::isfinite(scale) && std::isfinite(scaleZ))) {
        report("CPlot::size3D(): invalid parameter\n");
        return;
    }
    impl_->state.view.scale = scale;
    impl_->state.view.scaleZ = scaleZ;
}

void CPlot::showMesh(int flag) { setFlag(impl_->state.view.mesh, flag, "showMesh"); }

void CPlot::removeHiddenLine(int flag) { setFlag(impl_->state.view.hiddenLines, flag, "removeHiddenLine"); }

void CPlot::colorBox(int flag) { setFlag(impl_->state.view.colorBox, flag, "colorBox"); }

void CPlot::contourMode(int mode)
{
    ViewState& v = impl_->state.view;
    // Asking for contours turns them on even when the mode is refused: the old mode is used.
    v.contours = true;
    if (!(mode & ContourMode::Both)) {
        report("CPlot::contourMode(): invalid parameter\n");
        return;
    }
    v.contourMode = KeptCode<Contour>(mode);
}

void CPlot::contourLabel(int flag)
{
    PlotState& s = impl_->state;
    if (flag == 1) {
        s.view.contourLabels = true;
        s.text.legend = LegendMode::On;
    } else if (flag == 0) {
        s.view.contourLabels = false;
    } else {
        report("CPlot::contourLabel(): invalid parameter\n");
    }
}

void CPlot::contourLevels(const double* levels, int n)
{
    // No levels (n not above 0) clears the list; a null array with a count is ignored.
    if (n > 0 && !levels) return;
    if (n > kMaxContourLevels) return reportLimit("contourLevels", kMaxContourLevels, "levels");
    for (int i = 0; i < n; ++i)
        if (!finiteArguments("contourLevels", {levels[i]})) return;
    try {
        std::vector<double> copy;
        if (n > 0) copy.assign(levels, levels + n);
        impl_->state.view.contourLevels = std::move(copy);
    } catch (const std::bad_alloc&) {
        // The old levels stay.
    }
}

void CPlot::coordSystem(int system)
{
    if (const auto known = knownCode<Coordinates>(system)) impl_->state.view.coordSystem = *known;
    else report("CPlot::coordSystem(): invalid parameter\n");
}

void CPlot::coordSystem(int system, int unit)
{
    coordSystem(system);
    if (system != CoordSystem::Spherical && system != CoordSystem::Cylindrical) return;
    const std::optional<Angle> known = knownCode<Angle>(unit);
    if (!known) report("CPlot::coordSystem():invalid angle, using degrees\n");
    impl_->state.view.angleUnit = known.value_or(Angle::Degrees);
}

void CPlot::polarPlot(int unit)
{
    PlotState& s = impl_->state;
    if (const auto known = knownCode<Angle>(unit)) {
        s.view.angleUnit = *known;
        s.view.polar = true;
    } else {
        report("CPlot::polarPlot(): invalid parameter\n");
    }
    // The polar look is applied even when the unit was refused.
    s.frame.sizeRatio = 1.0;
    s.text.axisLabels[AxisX].reset();
    s.text.axisLabels[AxisY].reset();
    s.frame.border &= ~kBorder2D;
    s.tics.location[AxisX] = "axis";
    s.tics.location[AxisY] = "axis";
    s.tics.mirrored.remove(PlotAxis::XY);
}

void CPlot::mathCoord()
{
    PlotState& s = impl_->state;
    s.axes.zeroAxes.add(PlotAxis::XY);
    s.axes.zeroAxisStyle = LineStyle{};
    s.frame.border &= ~kBorder2D;
    s.tics.mirrored.remove(PlotAxis::XY);
    s.frame.grid = true;
    s.frame.gridOption = "front";
}

void writePolarAndAngles(ScriptWriter& w, const PlotState& s)
{
    if (!s.view.polar) return;
    w.put("set polar\n");
    w.put("unset raxis\n");
    w.put("unset rtics\n");
    writeAngles(w, s.view.angleUnit);
}

void write3DView(ScriptWriter& w, const PlotState& s)
{
    const ViewState& v = s.view;
    w.put("set parametric\n");
    w.print("set view %f, %f, %f, %f\n", v.rotX, v.rotZ, v.scale, v.scaleZ);
}

void write3DSurface(ScriptWriter& w, const PlotState& s)
{
    const ViewState& v = s.view;
    w.put(v.mesh ? "set surface\n" : "unset surface\n");

    if (!v.contours) {
        w.put("unset contour\n");
    } else {
        const std::optional<Contour> mode = v.contourMode.known();
        if (!mode) w.put("unset contour\n");  // a mode the engine has no word for
        else if (*mode == Contour::Base) w.put("set contour base\n");
        else if (*mode == Contour::Surface) w.put("set contour surface\n");
        else w.put("set contour both\n");
        w.put(v.contourLabels ? w.dialect().contourLabelsOn : "unset clabel\n");
        if (!v.contourLevels.empty()) {
            w.print("set cntrparam levels discrete %f", v.contourLevels.front());
            for (std::size_t i = 1; i < v.contourLevels.size(); ++i) w.print(", %f", v.contourLevels[i]);
            w.put("\n");
        }
    }

    w.put(v.colorBox ? "set colorbox\n" : "unset colorbox\n");
    // For a pm3d surface the flag reads the other way round: pm3d orders its own faces by depth,
    // so hidden3d stays off unless hidden line removal was switched off.
    const bool hidden = v.hiddenLines != firstDataSetIsPm3d(s);
    w.put(hidden ? "set hidden3d\n" : "unset hidden3d\n");

    if (v.coordSystem == Coordinates::Spherical) {
        w.put("set mapping spherical\n");
        writeAngles(w, v.angleUnit);
    } else if (v.coordSystem == Coordinates::Cylindrical) {
        w.put("set mapping cylindrical\n");
        writeAngles(w, v.angleUnit);
    } else {
        w.put("set mapping cartesian\n");
    }
}

// Points and lines are clipped at the border the same way in every plot.
void writeClip(ScriptWriter& w) { w.put("unset clip point\nset clip one\nunset clip two\n"); }

void writeColorMap(ScriptWriter& w, const PlotState& s)
{
    const ViewState& v = s.view;
    writePalette(w, s);
    // A heat map draws its cells as an image, without pm3d.
    if (firstDataSetIsPm3d(s) && !drawnAsCells(s, s.dataSets.front())) {
        if (v.contours && v.contourMode == Contour::Base) w.put("set pm3d map\n");
        else if (v.contours && v.contourMode == Contour::Surface) w.put("set pm3d at bs\n");
        else w.put("set pm3d\n");
    }
    w.put("\n");
}

}  // namespace rizari
