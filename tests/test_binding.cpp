// The module's exported entry points, called the way the interpreter calls them: argument lists
// built with libzu, entry points looked up in librizari.dl by name.
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plot/cplot.h"
#include "support/test_support.h"
#include "zu/zu.h"

using namespace rizari;
using namespace rizari::test;

namespace {

const std::string kModule = std::string(RIZARI_BUILD_DIR) + "/librizari.dl";

// The libzu host API and the module's entry points, resolved at run time.
class Library {
public:
    Library()
    {
        module_ = dlopen(kModule.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module_) throw std::runtime_error(dlerror());
        zu_ = dlopen((std::string(RIZARI_BUILD_DIR) + "/libzu.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!zu_) throw std::runtime_error(dlerror());
    }

    template <class F> F zu(const char* name) const { return reinterpret_cast<F>(dlsym(zu_, name)); }
    void* entry(const std::string& member) const { return dlsym(module_, ("CPlot_" + member + "_zudl").c_str()); }

private:
    void* module_;
    void* zu_;
};

const Library& lib()
{
    static const Library instance;
    return instance;
}

// An argument list under construction; every call adds one argument.
class Args {
public:
    Args() : a_(lib().zu<ZuArgs* (*)()>("Zu_ArgsNew")()) {}
    ~Args() { lib().zu<void (*)(ZuArgs*)>("Zu_ArgsFree")(a_); }
    Args(const Args&) = delete;
    Args& operator=(const Args&) = delete;

    Args& inst(void* p) { return add<void*>("Zu_ArgsAddInstance", p); }
    Args& i(int v) { return add<int32_t>("Zu_ArgsAddInt", v); }
    Args& d(double v) { return add<double>("Zu_ArgsAddDouble", v); }
    Args& t(const char* v) { return add<const char*>("Zu_ArgsAddText", v); }
    Args& ptr(void* p) { return add<void*>("Zu_ArgsAddPointer", p); }
    Args& null()
    {
        lib().zu<int (*)(ZuArgs*)>("Zu_ArgsAddNull")(a_);
        return *this;
    }
    Args& arr(const std::vector<double>& values, std::vector<int32_t> extents = {})
    {
        if (extents.empty()) extents = {static_cast<int32_t>(values.size())};
        lib().zu<int (*)(ZuArgs*, const double*, int32_t, const int32_t*)>("Zu_ArgsAddArray")(
            a_, values.data(), static_cast<int32_t>(extents.size()), extents.data());
        return *this;
    }

    ZuArgs* get() const { return a_; }
    int read() const { return lib().zu<int32_t (*)(const ZuArgs*)>("Zu_ArgsRead")(a_); }
    int starts() const { return lib().zu<int32_t (*)(const ZuArgs*)>("Zu_ArgsStarts")(a_); }
    int ends() const { return lib().zu<int32_t (*)(const ZuArgs*)>("Zu_ArgsEnds")(a_); }

private:
    template <class T> Args& add(const char* fn, T v)
    {
        lib().zu<int (*)(ZuArgs*, T)>(fn)(a_, v);
        return *this;
    }
    ZuArgs* a_;
};

int32_t callInt(const std::string& member, const Args& a)
{
    return reinterpret_cast<int32_t (*)(ZuArgs*)>(lib().entry(member))(a.get());
}

void* callPtr(const std::string& member, const Args& a)
{
    return reinterpret_cast<void* (*)(ZuArgs*)>(lib().entry(member))(a.get());
}

// A plot made and destroyed through the lifecycle entry points.
class Plot {
public:
    Plot() : p_(reinterpret_cast<void* (*)()>(lib().entry("CPlot"))()) {}
    ~Plot()
    {
        Args a;
        a.inst(p_);
        callInt("dCPlot", a);
    }
    Plot(const Plot&) = delete;
    Plot& operator=(const Plot&) = delete;

    void* ptr() const { return p_; }
    const PlotState& state() const { return static_cast<CPlot*>(p_)->state(); }
    const CPlot& plot() const { return *static_cast<CPlot*>(p_); }

private:
    void* p_;
};

// A 2D plot with one data set of three points.
void addCurve(const Plot& p)
{
    Args a;
    a.inst(p.ptr()).arr({1, 2, 3}).arr({4, 5, 6});
    ASSERT_EQ(callInt("data2D", a), 0);
}

const char* const kMembers[] = {
    "CPlot", "dCPlot", "deletePlots", "dimension", "isUsed", "dataSetNum", "subplot", "getSubplot",
    "data2D", "data2DCurve", "data3D", "data3DCurve", "data3DSurface", "data", "dataFile", "deleteData",
    "plotting", "outputType", "getOutputType", "sizeOutput", "plotType", "lineType", "lineStyle",
    "lineWidth", "pointType", "pointStyle", "legend", "smooth", "axes", "boxBorder", "boxFill",
    "fillStyle", "fillCurve", "autoScale", "axis", "axisRange", "scaleType", "tics", "ticsDay",
    "ticsDirection", "ticsFormat", "ticsFraction", "ticsLabel", "ticsLevel", "ticsLocation", "ticsMirror",
    "ticsMonth", "ticsPosition", "ticsRange", "title", "getTitle", "label", "getLabel", "legendLocation",
    "legendOption", "displayTime", "enhanceText", "font", "fontScale", "nativeCmd", "changeViewAngle",
    "size3D", "showMesh", "removeHiddenLine", "colorBox", "contourLabel", "contourLevels", "contourMode",
    "coordSystem", "mathCoord", "polarPlot", "border", "borderOffsets", "grid", "getGrid", "margins",
    "origin", "boundingBoxOrigin", "size", "sizeRatio", "backgroundColor", "barSize", "boxWidth", "arrow",
    "text", "textColor", "rectangle", "circle", "ellipse", "arcSector", "fillColor", "fillOpacity",
    "fillPattern", "noFill", "strokeColor", "strokeWidth", "noStrokeColor", "getStrokeColor",
    "getStrokeWidth", "line", "point", "scattern", "circleOpen", "circleClosed", "arc", "arcSegment",
    "polygon", "regularPolygon", "line1D", "line1DOffset", "inequal", "inequalAnd", "inequalOffset",
};

TEST(Exports, ExactlyTheEntryPointsAndTheArgumentReader)
{
    std::set<std::string> expected{"__builtin_Zu_VaArg"};
    for (const char* m : kMembers) expected.insert(std::string("CPlot_") + m + "_zudl");
    ASSERT_EQ(expected.size(), 114u);

    FILE* nm = popen(("nm -D --defined-only " + kModule).c_str(), "r");
    ASSERT_NE(nm, nullptr);
    std::set<std::string> exported;
    char line[512];
    while (std::fgets(line, sizeof line, nm)) {
        std::istringstream fields(line);
        std::string address, type, name;
        fields >> address >> type >> name;
        exported.insert(name.substr(0, name.find('@')));
    }
    ASSERT_EQ(pclose(nm), 0);
    EXPECT_EQ(exported, expected);
}

// Every entry point with arguments of the kinds it reads ('i' int 1, '0'..'2' those ints, 'S' the
// solid fill type, 'd' double, 't' text, 'a' array of three doubles, 'n' null, 'p' pointer): it reads exactly these,
// starts and ends the reading once, and leaves the plot usable.
TEST(EntryFrame, EveryEntryPointReadsItsArgumentsAndEndsOnce)
{
    FakeEngine fake;
    ScopedEnv home("ZUHOME", fake.home());
    ScopedEnv psDir("GNUPLOT_PS_DIR", "/opt/ps");
    struct Case {
        const char* member;
        const char* kinds;
        bool pointerResult = false;
    };
    const Case cases[] = {
        {"deletePlots", ""}, {"dimension", "2"}, {"isUsed", ""}, {"dataSetNum", ""}, {"subplot", "12"},
        {"getSubplot", "00", true}, {"data2D", "aa"}, {"data2DCurve", "aa2"}, {"data3D", "aaa"},
        {"data3DCurve", "aaa2"}, {"data3DSurface", "aaa11"}, {"data", "a11"}, {"dataFile", "t1t"},
        {"deleteData", ""}, {"plotting", ""}, {"outputType", "i2tt"}, {"getOutputType", ""},
        {"sizeOutput", "ii"}, {"plotType", "202ii"}, {"lineType", "iii1t"}, {"lineStyle", "t"},
        {"lineWidth", "i"}, {"pointType", "iii1t"}, {"pointStyle", "t"}, {"legend", "t1i"}, {"smooth", "it"},
        {"axes", "it"}, {"boxBorder", "i1i"}, {"boxFill", "iS1d"},
        {"fillStyle", "i01"}, {"fillCurve", "tt"}, {"autoScale", "ii"}, {"axis", "ii1it"},
        {"axisRange", "idd1d"}, {"scaleType", "ii1d"}, {"tics", "ii"}, {"ticsDay", "i"}, {"ticsDirection", "i"},
        {"ticsFormat", "it"}, {"ticsFraction", "ii"}, {"ticsLabel", "itd"}, {"ticsLevel", "d"},
        {"ticsLocation", "it"}, {"ticsMirror", "ii"}, {"ticsMonth", "i"}, {"ticsPosition", "id"},
        {"ticsRange", "id2dd"}, {"title", "t"}, {"getTitle", "", true}, {"label", "it"},
        {"getLabel", "i", true}, {"legendLocation", "dd1d"}, {"legendOption", "t"}, {"displayTime", "dd"},
        {"enhanceText", ""}, {"font", "ti"}, {"fontScale", "d"}, {"nativeCmd", "t"},
        {"changeViewAngle", "dd"}, {"size3D", "dd"}, {"showMesh", "i"}, {"removeHiddenLine", "i"},
        {"colorBox", "i"}, {"contourLabel", "i"}, {"contourLevels", "a12"}, {"contourMode", "i"},
        {"coordSystem", "i1i"}, {"mathCoord", ""}, {"polarPlot", "i"}, {"border", "ii"},
        {"borderOffsets", "dddd"}, {"grid", "i1t"}, {"getGrid", "pp"}, {"margins", "dddd"}, {"origin", "dd"},
        {"boundingBoxOrigin", "dd"}, {"size", "dd"}, {"sizeRatio", "d"}, {"backgroundColor", "t"},
        {"barSize", "d"}, {"boxWidth", "d"}, {"arrow", "dddddd1t"}, {"text", "tiddd"}, {"textColor", "t"},
        {"rectangle", "dddd"}, {"circle", "ddd"}, {"ellipse", "ddddd"}, {"arcSector", "ddddd"},
        {"fillColor", "t"}, {"fillOpacity", "d"}, {"fillPattern", "i"}, {"noFill", ""}, {"strokeColor", "t"},
        {"strokeWidth", "i"}, {"noStrokeColor", ""}, {"getStrokeColor", "", true}, {"getStrokeWidth", ""},
        {"line", "dddddd"}, {"point", "ddd"}, {"scattern", "aa21t"}, {"circleOpen", "dd1t"},
        {"circleClosed", "dd0"}, {"arc", "ddddd"}, {"arcSegment", "ddddd1t"}, {"polygon", "aan12"},
        {"regularPolygon", "dd2dd"}, {"line1D", "dd1t"}, {"line1DOffset", ""}, {"inequal", "td1t"},
        {"inequalAnd", "tdtd0"}, {"inequalOffset", ""},
    };
    std::set<std::string> covered{"CPlot", "dCPlot"};
    int gridFlag = 0;
    const char* gridOption = nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.member);
        covered.insert(c.member);
        Plot p;
        Args a;
        a.inst(p.ptr());
        for (const char* k = c.kinds; *k; ++k) {
            switch (*k) {
            case 'i': a.i(1); break;
            case 'd': a.d(1.0); break;
            case 't': a.t("red"); break;
            case 'a': a.arr({1, 2, 3}); break;
            case 'n': a.null(); break;
            case 'S': a.i(BoxFill::Solid); break;
            case 'p': a.ptr(*(k + 1) ? static_cast<void*>(&gridFlag) : static_cast<void*>(&gridOption)); break;
            default: a.i(*k - '0'); break;
            }
        }
        captureStdout([&] {
            captureStderr([&] {
                if (c.pointerResult) callPtr(c.member, a);
                else callInt(c.member, a);
            });
        });
        EXPECT_EQ(a.starts(), 1);
        EXPECT_EQ(a.ends(), 1);
        EXPECT_EQ(a.read(), static_cast<int>(std::string(c.kinds).size()) + 1);
        // The plot is still whole: a title can be set and read back.
        Args t;
        t.inst(p.ptr()).t("still here");
        callInt("title", t);
        EXPECT_STREQ(p.plot().getTitle(), "still here");
    }
    for (const char* m : kMembers) EXPECT_TRUE(covered.count(m)) << m;
}

TEST(EntryFrame, ArgumentKindsReachTheMember)
{
    Plot p;
    {  // text, and the getter returns the plot's own text
        Args a;
        a.inst(p.ptr()).t("Growth");
        callInt("title", a);
        Args g;
        g.inst(p.ptr());
        void* title = callPtr("getTitle", g);
        ASSERT_TRUE(p.state().text.titleText.has_value());
        EXPECT_EQ(title, static_cast<const void*>(p.state().text.titleText->c_str()));
    }
    {  // a null text removes the title
        Args a;
        a.inst(p.ptr()).t(nullptr);
        callInt("title", a);
        EXPECT_FALSE(p.state().text.titleText.has_value());
        Args g;
        g.inst(p.ptr());
        EXPECT_EQ(callPtr("getTitle", g), nullptr);
    }
    {  // ints and doubles
        Args a;
        a.inst(p.ptr()).i(PlotAxis::Y).d(-2.5).d(7.25).i(0);
        callInt("axisRange", a);
        EXPECT_EQ(p.state().axes.rangeMin[AxisY], -2.5);
        EXPECT_EQ(p.state().axes.rangeMax[AxisY], 7.25);
    }
    {  // a two-dimensional y gives one curve per row; an int result comes back as it is
        Args a;
        a.inst(p.ptr()).arr({0, 1, 2}).arr({1, 2, 3, 4, 5, 6}, {2, 3});
        EXPECT_EQ(callInt("data2D", a), 0);
        ASSERT_EQ(p.state().dataSets.size(), 2u);
        EXPECT_EQ(p.state().dataSets[1].valueAt(4), 5.0);
        Args n;
        n.inst(p.ptr());
        EXPECT_EQ(callInt("dataSetNum", n), 1);
    }
    {  // a y of three dimensions reaches the member as such
        Args a;
        a.inst(p.ptr()).arr({0, 1}).arr({1, 2, 3, 4, 5, 6, 7, 8}, {2, 2, 2});
        std::string err = captureStderr([&] { EXPECT_EQ(callInt("data2D", a), -1); });
        EXPECT_EQ(err, "CPlot::data2D(): pass argument y of dimension larger than 2\n");
    }
    {  // 3D grid: x and y counts from their extents, z one dimension
        Plot q;
        Args a;
        a.inst(q.ptr()).arr({0, 1}).arr({0, 1, 2}).arr({1, 2, 3, 4, 5, 6});
        EXPECT_EQ(callInt("data3D", a), 0);
        ASSERT_EQ(q.state().dataSets.size(), 1u);
        EXPECT_EQ(q.state().dataSets[0].gridXCount, 2);
        EXPECT_EQ(q.state().dataSets[0].pointCount, 6);
    }
    {  // getGrid gets the two places it may report through
        int flag = -7;
        const char* option = nullptr;
        Args a;
        a.inst(p.ptr()).ptr(&flag).ptr(static_cast<void*>(&option));
        callInt("getGrid", a);
        EXPECT_EQ(a.read(), 3);
    }
}

TEST(TrailingCount, ChoosesTheFormAndReadsOnlyItsArguments)
{
    {  // arrow: 1 reads the option, 0 reads nothing more even when more is there
        Plot p;
        Args one, zero;
        one.inst(p.ptr()).d(0).d(0).d(0).d(1).d(1).d(0).i(1).t("nohead");
        zero.inst(p.ptr()).d(0).d(0).d(0).d(2).d(2).d(0).i(0).t("nohead");
        EXPECT_EQ(callInt("arrow", one), 0);
        EXPECT_EQ(one.read(), 9);
        EXPECT_EQ(callInt("arrow", zero), 0);
        EXPECT_EQ(zero.read(), 8);
        ASSERT_EQ(p.state().draw.arrows.size(), 2u);
        EXPECT_FALSE(p.state().draw.arrows[0].option.has_value());
        EXPECT_EQ(p.state().draw.arrows[1].option, "nohead");
    }
    {  // boxFill: the type decides what count 1 reads
        Plot p;
        Args pattern, density, empty;
        pattern.inst(p.ptr()).i(-1).i(BoxFill::Pattern).i(1).i(3);
        density.inst(p.ptr()).i(-1).i(BoxFill::Solid).i(1).d(0.25);
        std::string err = captureStderr([&] { callInt("boxFill", pattern); });
        EXPECT_EQ(err, "CPlot::boxFill(): no plotting data has been added yet\n");
        EXPECT_EQ(pattern.read(), 5);
        EXPECT_EQ(p.state().style.boxFillPattern, 3);
        callInt("boxFill", density);
        EXPECT_EQ(density.read(), 5);
        EXPECT_EQ(p.state().style.boxFillDensity, 0.25);
        EXPECT_EQ(p.state().style.boxFillType, BoxFill::Solid);
        empty.inst(p.ptr()).i(-1).i(BoxFill::Empty).i(1).i(9);
        callInt("boxFill", empty);
        EXPECT_EQ(empty.read(), 4);
        EXPECT_EQ(p.state().style.boxFillType, BoxFill::Solid);
    }
    {  // axis: any count but 0 reads a width and a colour
        Plot p;
        Args a;
        a.inst(p.ptr()).i(PlotAxis::X).i(3).i(2).i(4).t("grey");
        callInt("axis", a);
        EXPECT_EQ(a.read(), 6);
        EXPECT_EQ(p.state().axes.zeroAxisLineType, 3);
        EXPECT_EQ(p.state().axes.zeroAxisLineWidth, 4);
        EXPECT_EQ(p.state().axes.zeroAxisColor, "grey");
        Args off;
        off.inst(p.ptr()).i(PlotAxis::X).i(0).i(0);
        callInt("axis", off);
        EXPECT_EQ(p.state().axes.zeroAxes & PlotAxis::X, 0);
    }
    {  // ticsRange: 0, 1 or 2 further doubles
        Plot p;
        Args a;
        a.inst(p.ptr()).i(PlotAxis::Y).d(0.5).i(2).d(-1).d(1);
        callInt("ticsRange", a);
        EXPECT_EQ(a.read(), 6);
        EXPECT_EQ(p.state().tics.ticsStart[AxisY], -1.0);
        EXPECT_EQ(p.state().tics.ticsEnd[AxisY], 1.0);
    }
    {  // outputType: count 2 reads terminal and file
        Plot p;
        Args a;
        a.inst(p.ptr()).i(PlotOutputType::File).i(2).t("svg").t("out.svg");
        callInt("outputType", a);
        EXPECT_EQ(a.read(), 5);
        EXPECT_EQ(p.state().output.terminalName, "svg");
        EXPECT_EQ(p.state().output.outputFileName, "out.svg");
    }
    {  // polygon: count 1 with n = 3 takes only the first three vertices
        Plot p;
        Args three, all;
        three.inst(p.ptr()).arr({0, 1, 2, 3, 4}).arr({0, 1, 0, 1, 0}).null().i(1).i(3);
        all.inst(p.ptr()).arr({0, 1, 2, 3, 4}).arr({0, 1, 0, 1, 0}).null().i(0);
        callInt("polygon", three);
        callInt("polygon", all);
        ASSERT_EQ(p.state().draw.shapeObjects.size(), 2u);
        EXPECT_EQ(p.state().draw.shapeObjects[0].parameters, (std::vector<double>{0, 1, 2, 0, 1, 0}));
        EXPECT_EQ(p.state().draw.shapeObjects[1].parameters.size(), 10u);
    }
    {  // contourLevels: count 1 gives n, any other count keeps the element count
        Plot p;
        Args two, kept;
        two.inst(p.ptr()).arr({1, 2, 3}).i(1).i(2);
        callInt("contourLevels", two);
        EXPECT_EQ(p.state().view.contourLevelValues, (std::vector<double>{1, 2}));
        kept.inst(p.ptr()).arr({4, 5, 6}).i(5).i(1);
        callInt("contourLevels", kept);
        EXPECT_EQ(kept.read(), 3);
        EXPECT_EQ(p.state().view.contourLevelValues, (std::vector<double>{4, 5, 6}));
    }
    {  // plotType: the type code says how many values and of which kind
        Plot p;
        addCurve(p);
        Args lp, candles, wrongCount, unknown, pm3d;
        lp.inst(p.ptr()).i(PlotType::LinesPoints).i(0).i(4).i(3).i(2).i(5).i(1);
        callInt("plotType", lp);
        EXPECT_EQ(lp.read(), 8);
        const DataSet& set = p.state().dataSets[0];
        EXPECT_EQ(set.lineType, 3);
        EXPECT_EQ(set.pointType, 5);
        candles.inst(p.ptr()).i(PlotType::Candlesticks).i(0).i(1).t("whiskerbars");
        callInt("plotType", candles);
        EXPECT_EQ(set.styleOption, "whiskerbars");
        wrongCount.inst(p.ptr()).i(PlotType::Lines).i(0).i(3).i(1).i(1).i(1);
        std::string err = captureStderr([&] { callInt("plotType", wrongCount); });
        EXPECT_EQ(err, " CPlot::plotType(): invalid number of arguments.\n");
        EXPECT_EQ(wrongCount.read(), 4);
        EXPECT_EQ(set.plotType, PlotType::Lines);
        unknown.inst(p.ptr()).i(99).i(0).i(0);
        EXPECT_EQ(captureStderr([&] { callInt("plotType", unknown); }), "");
        EXPECT_EQ(set.plotType, PlotType::Lines);
        pm3d.inst(p.ptr()).i(PlotType::PM3D).i(0).i(2).i(1).i(1);
        callInt("plotType", pm3d);
        EXPECT_EQ(pm3d.read(), 4);
        EXPECT_EQ(p.state().plotDimension, 3);
    }
}

// A count that selects no form calls nothing and reads no optional argument; the int members
// answer -1.
TEST(TrailingCount, AnyOtherCountCallsNothing)
{
    struct Case {
        const char* member;
        const char* fixed;  // 'i' int, 'd' double, 't' text, 'a' array
        bool intResult;
    };
    const Case cases[] = {
        {"arcSegment", "ddddd", true}, {"arrow", "dddddd", true}, {"axisRange", "idd", false},
        {"boxBorder", "i", false}, {"boxFill", "ii", false}, {"fillStyle", "ii", false},
        {"circleClosed", "dd", false}, {"circleOpen", "dd", false}, {"coordSystem", "i", false},
        {"dataFile", "t", true}, {"grid", "i", false}, {"inequal", "td", true}, {"inequalAnd", "tdtd", true},
        {"legend", "t", false}, {"legendLocation", "dd", false}, {"line1D", "dd", false},
        {"lineType", "iii", false}, {"outputType", "i", false}, {"pointType", "iii", false},
        {"scaleType", "ii", false}, {"scattern", "aai", false}, {"ticsRange", "id", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.member);
        Plot p;
        addCurve(p);
        Args a;
        a.inst(p.ptr());
        for (const char* k = c.fixed; *k; ++k) {
            switch (*k) {
            case 'i': a.i(*c.member == 'o' ? PlotOutputType::File : 1); break;
            case 'd': a.d(2.0); break;
            case 't': a.t(">"); break;
            default: a.arr({1, 2}); break;
            }
        }
        a.i(3).t("red").t("blue").t("green");
        std::string err = captureStderr([&] {
            int32_t result = callInt(c.member, a);
            if (c.intResult) {
                EXPECT_EQ(result, -1);
            }
        });
        EXPECT_EQ(err, "");
        EXPECT_EQ(a.read(), static_cast<int>(std::string(c.fixed).size()) + 2);
        EXPECT_EQ(a.ends(), 1);
        EXPECT_EQ(p.state().dataSets.size(), 1u);
        EXPECT_TRUE(p.state().draw.arrows.empty());
        EXPECT_TRUE(p.state().draw.shapeObjects.empty());
        EXPECT_EQ(p.state().output.outputType, PlotOutputType::Window);
        EXPECT_EQ(p.state().view.coordSystemCode, CoordSystem::Cartesian);
        EXPECT_EQ(p.state().axes.rangeAxes, 0);
        EXPECT_EQ(p.state().style.boxFillFlags, 0);
        EXPECT_EQ(p.state().style.queuedLegends.size(), 0u);
    }
}

TEST(Aliases, SecondNamesBehaveAsTheirTwins)
{
    EXPECT_EQ(lib().entry("fillStyle"), lib().entry("boxFill"));
    EXPECT_EQ(lib().entry("boundingBoxOrigin"), lib().entry("origin"));

    Plot a, b;
    addCurve(a);
    addCurve(b);
    Args fill, style;
    fill.inst(a.ptr()).i(0).i(BoxFill::TransparentPattern).i(1).i(4);
    style.inst(b.ptr()).i(0).i(BoxFill::TransparentPattern).i(1).i(4);
    callInt("boxFill", fill);
    callInt("fillStyle", style);
    const DataSet& da = a.state().dataSets[0];
    const DataSet& db = b.state().dataSets[0];
    EXPECT_EQ(da.boxFillFlags, BoxFlag::Type | BoxFlag::Pattern);
    EXPECT_EQ(db.boxFillFlags, da.boxFillFlags);
    EXPECT_EQ(db.boxFillType, da.boxFillType);
    EXPECT_EQ(db.boxFillPattern, 4);

    Args origin, bbox;
    origin.inst(a.ptr()).d(0.25).d(0.5);
    bbox.inst(b.ptr()).d(0.25).d(0.5);
    callInt("origin", origin);
    callInt("boundingBoxOrigin", bbox);
    EXPECT_EQ(a.state().frame.originX, 0.25);
    EXPECT_EQ(b.state().frame.originX, 0.25);
    EXPECT_EQ(b.state().frame.originY, 0.5);
}

TEST(Subplots, CellsFromGetSubplotTakeMemberCalls)
{
    Plot p;
    Args grid;
    grid.inst(p.ptr()).i(2).i(2);
    EXPECT_EQ(callInt("subplot", grid), 0);

    Args first;
    first.inst(p.ptr()).i(0).i(0);
    EXPECT_EQ(callPtr("getSubplot", first), p.ptr());

    Args last;
    last.inst(p.ptr()).i(1).i(1);
    void* cell = callPtr("getSubplot", last);
    ASSERT_NE(cell, nullptr);
    Args title;
    title.inst(cell).t("bottom right");
    callInt("title", title);
    Args curve;
    curve.inst(cell).arr({1, 2}).arr({3, 4});
    EXPECT_EQ(callInt("data2D", curve), 0);

    const CPlot* c = &p.plot();
    for (int k = 0; k < 3; ++k) c = c->nextSubplot();
    ASSERT_EQ(static_cast<const void*>(c), cell);
    EXPECT_EQ(c->state().text.titleText, "bottom right");
    EXPECT_EQ(c->state().dataSets.size(), 1u);
    EXPECT_TRUE(p.state().dataSets.empty());

    Args outside;
    outside.inst(p.ptr()).i(2).i(0);
    std::string err = captureStderr([&] { EXPECT_EQ(callPtr("getSubplot", outside), nullptr); });
    EXPECT_EQ(err, "CPlot::getSubplot(): invalid subplot element\n");
}

TEST(Plotting, SetsUpTheEngineEnvironmentOnEveryCall)
{
    FakeEngine fake;
    ScopedEnv home("ZUHOME", fake.home());
    ScopedEnv psDir("GNUPLOT_PS_DIR", std::nullopt);
    Plot p;
    addCurve(p);
    Args a;
    a.inst(p.ptr());
    EXPECT_EQ(callInt("plotting", a), 0);
    EXPECT_EQ(fake.runs(), 1);
    ASSERT_NE(std::getenv("GNUPLOT_PS_DIR"), nullptr);
    EXPECT_EQ(std::string(std::getenv("GNUPLOT_PS_DIR")), fake.home() + "/sbin/PostScript");
    // The module's "NAME=value" text stays allocated for the environment; once the variable is
    // restored below nothing else refers to it, so keep it reachable for the leak checker.
    static const char* const keptAssignment = std::getenv("GNUPLOT_PS_DIR") - std::strlen("GNUPLOT_PS_DIR=");
    EXPECT_EQ(std::string(keptAssignment, 15), "GNUPLOT_PS_DIR=");
    std::string backslashed = fake.home();
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    EXPECT_EQ(p.plot().engineHome(), backslashed);

    // A folder the user chose is kept; the home follows the interpreter's current one.
    ScopedEnv chosen("GNUPLOT_PS_DIR", "/usr/share/ps");
    ScopedEnv otherHome("ZUHOME", fake.home() + "/.");
    Args again;
    again.inst(p.ptr());
    EXPECT_EQ(callInt("plotting", again), 0);
    EXPECT_EQ(std::string(std::getenv("GNUPLOT_PS_DIR")), "/usr/share/ps");
    EXPECT_EQ(p.plot().engineHome(), backslashed + "\\.");
    EXPECT_EQ(fake.runs(), 2);
    EXPECT_EQ(again.ends(), 1);
}

TEST(Lifecycle, CreateAndDestroy)
{
    void* p = reinterpret_cast<void* (*)()>(lib().entry("CPlot"))();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(static_cast<CPlot*>(p)->state().plotDimension, 2);
    Args destroy;
    destroy.inst(p);
    EXPECT_EQ(callInt("dCPlot", destroy), 0);
    EXPECT_EQ(destroy.ends(), 1);

    Args none;
    none.inst(nullptr);
    EXPECT_EQ(callInt("dCPlot", none), 0);
    EXPECT_EQ(none.ends(), 1);

    // Reading past the end of a list gives zero values instead of garbage.
    Plot q;
    Args shortList;
    shortList.inst(q.ptr()).i(PlotAxis::X);
    callInt("label", shortList);
    EXPECT_FALSE(q.state().text.axisLabelText[AxisX].has_value());
}

}  // namespace
