// One row per exported member name (the module's entry points are CPlot_<name>_zudl).
#include "member_table.h"

#include "plot/codes.h"

namespace rizari::runner {
namespace {

constexpr Kind I = Kind::Int;
constexpr Kind D = Kind::Double;
constexpr Kind T = Kind::Text;
constexpr Kind A = Kind::Array;

using Forms = std::vector<std::vector<Kind>>;
const Forms kOptText{{}, {T}};

MemberInfo plain(const char* name, std::vector<Kind> fixed, Result result = Result::None)
{
    return MemberInfo{name, std::move(fixed), result, Tail::None, {}};
}

MemberInfo counted(const char* name, std::vector<Kind> fixed, Forms forms, Result result = Result::None)
{
    return MemberInfo{name, std::move(fixed), result, Tail::Forms, std::move(forms)};
}

MemberInfo special(const char* name, std::vector<Kind> fixed, Tail tail, Result result = Result::None)
{
    return MemberInfo{name, std::move(fixed), result, tail, {}};
}

std::vector<MemberInfo> buildTable()
{
    using R = Result;
    return {
        // Lifecycle and subplots
        special("CPlot", {}, Tail::Lifecycle, R::Instance),
        special("dCPlot", {}, Tail::Lifecycle),
        plain("deletePlots", {}),
        plain("dimension", {I}),
        plain("isUsed", {}, R::Int),
        plain("dataSetNum", {}, R::Int),
        plain("subplot", {I, I}, R::Int),
        plain("getSubplot", {I, I}, R::Instance),
        // Adding data
        plain("data2D", {A, A}, R::Int),
        plain("data2DCurve", {A, A, I}, R::Int),
        plain("data3D", {A, A, A}, R::Int),
        plain("data3DCurve", {A, A, A, I}, R::Int),
        plain("data3DSurface", {A, A, A, I, I}, R::Int),
        plain("data", {A, I, I}, R::Int),
        counted("dataFile", {T}, kOptText, R::Int),
        plain("deleteData", {}),
        // Output
        plain("plotting", {}, R::Int),
        counted("outputType", {I}, {{}, {T}, {T, T}}),
        plain("getOutputType", {}, R::Int),
        plain("sizeOutput", {I, I}),
        // Per-data-set styles
        special("plotType", {I, I}, Tail::PlotType),
        counted("lineType", {I, I, I}, kOptText),
        plain("lineStyle", {T}),
        plain("lineWidth", {I}),
        counted("pointType", {I, I, I}, kOptText),
        plain("pointStyle", {T}),
        counted("legend", {T}, {{}, {I}}),
        plain("smooth", {I, T}),
        plain("axes", {I, T}),
        counted("boxBorder", {I}, {{}, {I}}),
        special("boxFill", {I, I}, Tail::BoxFill),
        special("fillStyle", {I, I}, Tail::BoxFill),
        plain("fillCurve", {T, T}),
        // Axes, ranges and scales
        plain("autoScale", {I, I}),
        special("axis", {I, I}, Tail::AxisStyle),
        counted("axisRange", {I, D, D}, {{}, {D}}),
        counted("scaleType", {I, I}, {{}, {D}}),
        // Tics
        plain("tics", {I, I}),
        plain("ticsDay", {I}),
        plain("ticsDirection", {I}),
        plain("ticsFormat", {I, T}),
        plain("ticsFraction", {I, I}),
        plain("ticsLabel", {I, T, D}),
        plain("ticsLevel", {D}),
        plain("ticsLocation", {I, T}),
        plain("ticsMirror", {I, I}),
        plain("ticsMonth", {I}),
        plain("ticsPosition", {I, D}),
        counted("ticsRange", {I, D}, {{}, {D}, {D, D}}),
        // Titles, labels and legend
        plain("title", {T}),
        plain("getTitle", {}, R::Text),
        plain("label", {I, T}),
        plain("getLabel", {I}, R::Text),
        counted("legendLocation", {D, D}, {{}, {D}}),
        plain("legendOption", {T}),
        plain("displayTime", {D, D}),
        plain("enhanceText", {}),
        plain("font", {T, I}),
        plain("fontScale", {D}),
        plain("nativeCmd", {T}),
        // 3D view, contours and coordinate systems
        plain("changeViewAngle", {D, D}),
        plain("size3D", {D, D}),
        plain("showMesh", {I}),
        plain("removeHiddenLine", {I}),
        plain("colorBox", {I}),
        plain("contourLabel", {I}),
        counted("contourLevels", {A}, {{}, {I}}),
        plain("contourMode", {I}),
        counted("coordSystem", {I}, {{}, {I}}),
        plain("mathCoord", {}),
        plain("polarPlot", {I}),
        // Frame, grid and layout
        plain("border", {I, I}),
        plain("borderOffsets", {D, D, D, D}),
        counted("grid", {I}, kOptText),
        special("getGrid", {}, Tail::GetGrid),
        plain("margins", {D, D, D, D}),
        plain("origin", {D, D}),
        plain("boundingBoxOrigin", {D, D}),
        plain("size", {D, D}),
        plain("sizeRatio", {D}),
        plain("backgroundColor", {T}),
        plain("barSize", {D}),
        plain("boxWidth", {D}),
        // Arrows and text
        counted("arrow", {D, D, D, D, D, D}, kOptText, R::Int),
        plain("text", {T, I, D, D, D}),
        plain("textColor", {T}),
        // Shape objects and the fill/stroke state
        plain("rectangle", {D, D, D, D}, R::Int),
        plain("circle", {D, D, D}, R::Int),
        plain("ellipse", {D, D, D, D, D}, R::Int),
        plain("arcSector", {D, D, D, D, D}, R::Int),
        plain("fillColor", {T}),
        plain("fillOpacity", {D}),
        plain("fillPattern", {I}),
        plain("noFill", {}),
        plain("strokeColor", {T}),
        plain("strokeWidth", {I}),
        plain("noStrokeColor", {}),
        plain("getStrokeColor", {}, R::Text),
        plain("getStrokeWidth", {}, R::Int),
        // Lines, points, arcs and polygons
        plain("line", {D, D, D, D, D, D}, R::Int),
        plain("point", {D, D, D}, R::Int),
        counted("scattern", {A, A, I}, kOptText),
        counted("circleOpen", {D, D}, kOptText),
        counted("circleClosed", {D, D}, kOptText),
        plain("arc", {D, D, D, D, D}, R::Int),
        counted("arcSegment", {D, D, D, D, D}, kOptText, R::Int),
        counted("polygon", {A, A, Kind::ArrayOrNull}, {{}, {I}}, R::Int),
        plain("regularPolygon", {D, D, I, D, D}, R::Int),
        counted("line1D", {D, D}, kOptText),
        plain("line1DOffset", {}),
        // Inequality regions
        counted("inequal", {T, D}, kOptText, R::Int),
        counted("inequalAnd", {T, D, T, D}, kOptText, R::Int),
        plain("inequalOffset", {}, R::Int),
    };
}

}  // namespace

const std::vector<MemberInfo>& allMembers()
{
    static const std::vector<MemberInfo> table = buildTable();
    return table;
}

const MemberInfo* findMember(const std::string& name)
{
    for (const MemberInfo& m : allMembers())
        if (name == m.name) return &m;
    return nullptr;
}

bool formKinds(const MemberInfo& member, int count, long long typeCode, std::vector<Kind>& kinds)
{
    kinds.clear();
    switch (member.tail) {
    case Tail::Forms:
        if (count < 0 || static_cast<std::size_t>(count) >= member.forms.size()) return false;
        kinds = member.forms[static_cast<std::size_t>(count)];
        return true;
    case Tail::AxisStyle:
        if (count != 0) kinds = {I, T};
        return true;
    case Tail::PlotType: {
        bool texts = typeCode == PlotType::Candlesticks || typeCode == PlotType::FilledCurves || typeCode == PlotType::Vectors;
        if (typeCode < PlotType::Lines || typeCode >= PlotType::PM3D) return false;
        kinds.assign(static_cast<std::size_t>(count), texts ? T : I);
        return true;
    }
    case Tail::BoxFill:
        if (count == 0) return true;
        if (count != 1) return false;
        if (typeCode == BoxFill::Solid || typeCode == BoxFill::TransparentSolid) kinds = {D};
        else if (typeCode == BoxFill::Pattern || typeCode == BoxFill::TransparentPattern) kinds = {I};
        else return false;
        return true;
    default: return count == 0;
    }
}

}  // namespace rizari::runner
