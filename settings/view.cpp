// 3D view, contours, coordinate systems, polar plots and the mathematical coordinate look.
#include <cstdio>
#include <new>

#include "plot/cplot.h"
#include "render/script_writer.h"

namespace rizari {

namespace {

bool firstDataSetIsPm3d(const PlotState& s)
{
    return !s.dataSets.empty() && s.dataSets.front().plotType == PlotType::PM3D;
}

void writeAngles(ScriptWriter& w, int unit)
{
    if (unit == AngleUnit::Degrees) w.put("set angles degrees\n");
    else if (unit == AngleUnit::Radians) w.put("set angles radians\n");
}

}  // namespace

void CPlot::changeViewAngle(double rotX, double rotZ)
{
    if (!(rotX >= 0.0 && rotX <= 180.0 && rotZ >= 0.0 && rotZ <= 360.0)) {
        std::fputs("CPlot::changeViewAngle(): invalid parameter\n", stderr);
        return;
    }
    s_.view.viewRotX = rotX;
    s_.view.viewRotZ = rotZ;
}

void CPlot::size3D(double scale, double scaleZ)
{
    if (!(scale > 0.0 && scaleZ > 0.0)) {
        std::fputs("CPlot::size3D(): invalid parameter\n", stderr);
        return;
    }
    s_.view.viewScale = scale;
    s_.view.viewScaleZ = scaleZ;
}

void CPlot::showMesh(int flag)
{
    if (static_cast<unsigned>(flag) > 1) {
        std::fputs("CPlot::showMesh(): invalid parameter\n", stderr);
        return;
    }
    s_.view.meshOn = flag;
}

void CPlot::removeHiddenLine(int flag)
{
    if (static_cast<unsigned>(flag) > 1) {
        std::fputs("CPlot::removeHiddenLine(): invalid parameter\n", stderr);
        return;
    }
    s_.view.hiddenLineOn = flag;
}

void CPlot::colorBox(int flag)
{
    if (static_cast<unsigned>(flag) > 1) {
        std::fputs("CPlot::colorBox(): invalid parameter\n", stderr);
        return;
    }
    s_.view.colorBoxOn = flag;
}

void CPlot::contourMode(int mode)
{
    // Asking for contours turns them on even when the mode is refused: the old mode is used.
    s_.view.contourSet = 1;
    if (!(mode & ContourMode::Both)) {
        std::fputs("CPlot::contourMode(): invalid parameter\n", stderr);
        return;
    }
    s_.view.contourModeCode = mode;
}

void CPlot::contourLabel(int flag)
{
    if (flag == 1) {
        s_.view.contourLabelOn = 1;
        s_.text.legendMode = 1;
    } else if (flag == 0) {
        s_.view.contourLabelOn = 0;
    } else {
        std::fputs("CPlot::contourLabel(): invalid parameter\n", stderr);
    }
}

void CPlot::contourLevels(const double* levels, int n)
{
    // No levels (n not above 0) clears the list; a null array with a count is ignored.
    if (n > 0 && !levels) return;
    try {
        std::vector<double> copy;
        if (n > 0) copy.assign(levels, levels + n);
        s_.view.contourLevelValues = std::move(copy);
    } catch (const std::bad_alloc&) {
        // The old levels stay.
    }
}

void CPlot::coordSystem(int system)
{
    switch (system) {
    case CoordSystem::Cartesian:
    case CoordSystem::Spherical:
    case CoordSystem::Cylindrical: s_.view.coordSystemCode = system; break;
    default: std::fputs("CPlot::coordSystem(): invalid parameter\n", stderr);
    }
}

void CPlot::coordSystem(int system, int unit)
{
    coordSystem(system);
    if (system != CoordSystem::Spherical && system != CoordSystem::Cylindrical) return;
    if (unit == AngleUnit::Degrees || unit == AngleUnit::Radians) {
        s_.view.angleUnitCode = unit;
    } else {
        std::fputs("CPlot::coordSystem():invalid angle, using degrees\n", stderr);
        s_.view.angleUnitCode = AngleUnit::Degrees;
    }
}

void CPlot::polarPlot(int unit)
{
    if (unit == AngleUnit::Degrees || unit == AngleUnit::Radians) {
        s_.view.angleUnitCode = unit;
        s_.view.polarOn = 1;
    } else {
        std::fputs("CPlot::polarPlot(): invalid parameter\n", stderr);
    }
    // The polar look is applied even when the unit was refused.
    s_.frame.sizeRatioValue = 1.0;
    s_.text.axisLabelText[AxisX].reset();
    s_.text.axisLabelText[AxisY].reset();
    s_.frame.borderSides &= ~15;
    s_.tics.ticsLocationText[AxisX] = "axis";
    s_.tics.ticsLocationText[AxisY] = "axis";
    s_.tics.ticsMirrorAxes &= ~PlotAxis::XY;
}

void CPlot::mathCoord()
{
    auto& axes = s_.axes;
    axes.zeroAxes |= PlotAxis::XY;
    axes.zeroAxisLineType = 1;
    axes.zeroAxisLineWidth = 1;
    axes.zeroAxisColor.assign("black");
    s_.style.transparentFill = 1;
    s_.frame.borderSides &= ~15;
    s_.tics.ticsMirrorAxes &= ~PlotAxis::XY;
    s_.frame.gridOn = 1;
    s_.frame.gridOptionText = "front";
    s_.text.enhancedText = 1;
}

void CPlot::writePolarAndAngles(ScriptWriter& w) const
{
    if (s_.view.polarOn != 1) return;
    w.put("set polar\n");
    w.put("unset raxis\n");
    w.put("unset rtics\n");
    writeAngles(w, s_.view.angleUnitCode);
}

void CPlot::write3DSettings(ScriptWriter& w) const
{
    const auto& v = s_.view;
    if (const OptText& zLabel = s_.text.axisLabelText[AxisZ]) w.print("set zlabel \"%s\"\n", *zLabel);
    w.put("set parametric\n");
    w.print("set view %f, %f, %f, %f\n", v.viewRotX, v.viewRotZ, v.viewScale, v.viewScaleZ);
    w.print("set ticslevel %f\n", s_.tics.ticsLevelValue);
    w.put(v.meshOn != 0 ? "set surface\n" : "unset surface\n");

    if (v.contourSet == 0) {
        w.put("unset contour\n");
    } else {
        switch (v.contourModeCode) {
        case ContourMode::Base: w.put("set contour base\n"); break;
        case ContourMode::Surface: w.put("set contour surface\n"); break;
        case ContourMode::Both: w.put("set contour both\n"); break;
        default: w.put("unset contour\n");
        }
        w.put(v.contourLabelOn != 0 ? "set clabel\n" : "unset clabel\n");
        if (!v.contourLevelValues.empty()) {
            w.print("set cntrparam levels discrete %f", v.contourLevelValues.front());
            for (std::size_t i = 1; i < v.contourLevelValues.size(); ++i) w.print(", %f", v.contourLevelValues[i]);
            w.put("\n");
        }
    }

    w.put(v.colorBoxOn != 0 ? "set colorbox\n" : "unset colorbox\n");
    // For a pm3d surface the flag reads the other way round: pm3d orders its own faces by depth,
    // so hidden3d stays off unless hidden line removal was switched off.
    const bool hidden = (v.hiddenLineOn != 0) != firstDataSetIsPm3d(s_);
    w.put(hidden ? "set hidden3d\n" : "unset hidden3d\n");

    if (v.coordSystemCode == CoordSystem::Spherical) {
        w.put("set mapping spherical\n");
        writeAngles(w, v.angleUnitCode);
    } else if (v.coordSystemCode == CoordSystem::Cylindrical) {
        w.put("set mapping cylindrical\n");
        writeAngles(w, v.angleUnitCode);
    } else {
        w.put("set mapping cartesian\n");
    }
}

void CPlot::writeClip(ScriptWriter& w) const
{
    const int clip = s_.view.clipFlags;
    w.put(clip & 1 ? "set clip points\n" : "unset clip point\n");
    w.put(clip & 2 ? "set clip one\n" : "unset clip one\n");
    w.put(clip & 4 ? "set clip two\n" : "unset clip two\n");
}

void CPlot::writeColorMap(ScriptWriter& w) const
{
    const auto& v = s_.view;
    w.put("set palette rgbformulae 33,13,10 \n");
    if (firstDataSetIsPm3d(s_)) {
        if (v.contourSet != 0 && v.contourModeCode == ContourMode::Base) w.put("set pm3d map\n");
        else if (v.contourSet != 0 && v.contourModeCode == ContourMode::Surface) w.put("set pm3d at bs\n");
        else w.put("set pm3d\n");
    }
    w.put("\n");
}

}  // namespace rizari
