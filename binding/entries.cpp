// The exported entry points: one per row of binding/entry_points.h. Rows with fixed arguments or
// forms chosen by a trailing count are generated from the member's own parameters; the others are
// written below. No exception leaves an entry point.
#include <cstdio>
#include <new>
#include <string>

#include "binding/argument_forms.h"
#include "binding/entry_points.h"
#include "binding/frame.h"
#include "platform/messages.h"
#include "platform/platform.h"

using namespace rizari;
using namespace rizari::binding;
using namespace rizari::entry;

RIZARI_EXPORT void* __builtin_Zu_VaArg(ZuInterp* interp, ZuVaList* cursor)
{
    return __builtin_Zu_VaArg_kernel(interp, cursor);
}

// ---- The generated entry points ----

#define RIZARI_BIND_GROUP(title)
#define RIZARI_BIND_FIXED(member) RIZARI_ENTRY(member, fixedEntry<&CPlot::member>)
#define RIZARI_BIND_FORMS(member, S0, S1) RIZARI_ENTRY(member, formsEntry<pick<S0>(&CPlot::member), pick<S1>(&CPlot::member)>)
#define RIZARI_BIND_FORMS3(member, S0, S1, S2)                                                                         \
    RIZARI_ENTRY(member, formsEntry<pick<S0>(&CPlot::member), pick<S1>(&CPlot::member), pick<S2>(&CPlot::member)>)
#define RIZARI_BIND_OWN(member, ...)
#define RIZARI_BIND_ALIAS(name, member)
RIZARI_ENTRY_POINTS(RIZARI_BIND_GROUP, RIZARI_BIND_FIXED, RIZARI_BIND_FORMS, RIZARI_BIND_FORMS3, RIZARI_BIND_OWN,
                    RIZARI_BIND_ALIAS)

// ---- Entry points with rules of their own ----

// Takes no argument list.
RIZARI_EXPORT void* CPlot_CPlot_zudl()
{
    try {
        return new CPlot;
    } catch (...) {
        return nullptr;
    }
}

RIZARI_EXPORT int32_t CPlot_dCPlot_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) { delete f.instance(); });
}

namespace {

// An array argument with one or two dimensions, as data2D and data3D pass it on.
struct ShapedArray {
    const double* values;
    int dims;
    int rows;
    int cols;
};

ShapedArray takeShaped(Frame& f)
{
    ShapedArray a{nullptr, f.dims(), 0, 0};
    if (a.dims == 1) {
        a.cols = f.extent(0);
    } else if (a.dims == 2) {
        a.rows = f.extent(0);
        a.cols = f.extent(a.dims - 1);
    }
    a.values = f.array();
    return a;
}

// A one-dimensional array with its element count.
std::pair<const double*, int> takeCounted(Frame& f)
{
    int n = f.extent(0);
    return {f.array(), n};
}

// Points the engine at the interpreter's PostScript files unless the caller chose a folder.
void exportPostScriptDir(const char* home)
{
    if (platform::getEnv("GNUPLOT_PS_DIR")) return;
    try {
        platform::putEnv(std::string("GNUPLOT_PS_DIR=") + home + "/sbin/PostScript");
    } catch (...) {
        // Without the storage the variable simply stays unset.
    }
}

// The home in the interpreter's native form, every "/" a backslash; none when out of memory.
const char* nativeHome(const char* home, std::string& storage)
{
    try {
        storage = home;
    } catch (...) {
        report("Error: no memory in CPLot::CPlot()\n");
        return nullptr;
    }
    for (char& c : storage)
        if (c == '/') c = '\\';
    return storage.c_str();
}

// The explicit element count of an ElementCount tail, when its form reads one.
std::optional<int> explicitCount(Frame& f)
{
    const auto kinds = tailKinds(Tail::ElementCount, f.i32(), 0);
    if (kinds && !kinds->empty()) return f.i32();
    return std::nullopt;
}

}  // namespace

// Every call hands the interpreter's current home to the plot before plotting(). Without a home
// (ZUHOME unset) the environment is left alone and the plot gets no home.
RIZARI_EXPORT int32_t CPlot_plotting_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        const char* home = Zu_Home(f.interp());
        std::string storage;
        const char* engineHome = nullptr;
        if (home) {
            exportPostScriptDir(home);
            engineHome = nativeHome(home, storage);
        }
        plot->setEngineHome(engineHome);
        return plot->plotting();
    });
}

RIZARI_EXPORT int32_t CPlot_data2D_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        auto [x, n] = takeCounted(f);
        ShapedArray y = takeShaped(f);
        return plot->data2D(x, y.values, n, y.dims, y.rows, y.cols);
    });
}

RIZARI_EXPORT int32_t CPlot_data3D_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        auto [x, nx] = takeCounted(f);
        auto [y, ny] = takeCounted(f);
        ShapedArray z = takeShaped(f);
        return plot->data3D(x, y, z.values, nx, ny, z.dims, z.rows, z.cols);
    });
}

// The extra arguments of the plot type's style: ints, or texts for the option styles; a code
// outside the style table calls nothing.
RIZARI_EXPORT int32_t CPlot_plotType_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        int type = f.i32();
        int num = f.i32();
        PlotTypeExtra extra;
        extra.count = f.i32();
        const auto kinds = tailKinds(Tail::PlotType, extra.count, type);
        if (!kinds) return;
        for (std::size_t i = 0; i < kinds->size(); ++i) {
            if ((*kinds)[i] == Kind::Text) extra.texts[i] = f.text();
            else extra.ints[i] = f.i32();
        }
        plot->plotType(type, num, extra);
    });
}

// With count 1 the fill type decides what follows: a density or a pattern.
RIZARI_EXPORT int32_t CPlot_boxFill_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        int num = f.i32();
        int type = f.i32();
        const auto kinds = tailKinds(Tail::BoxFill, f.i32(), type);
        if (!kinds) return;
        if (kinds->empty()) plot->boxFill(num, type);
        else if (kinds->front() == Kind::Double) plot->boxFill(num, type, f.f64());
        else plot->boxFill(num, type, f.i32());
    });
}

// Without optional arguments the second value is the on/off flag; with them it is the line type,
// and a line width and a colour follow.
RIZARI_EXPORT int32_t CPlot_axis_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        int axis = f.i32();
        int second = f.i32();
        if (tailKinds(Tail::AxisStyle, f.i32(), 0)->empty()) {
            plot->axis(axis, second);
        } else {
            int width = f.i32();
            plot->axis(axis, second, width, f.text());
        }
    });
}

RIZARI_EXPORT int32_t CPlot_contourLevels_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        auto [levels, n] = takeCounted(f);
        plot->contourLevels(levels, explicitCount(f).value_or(n));
    });
}

// Two pointer arguments through which the member reports the grid flag and option.
RIZARI_EXPORT int32_t CPlot_getGrid_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        int* flag = f.pointer<int>();
        plot->getGrid(flag, f.pointer<const char*>());
    });
}

// x and y with their element counts, z or null; an explicit count is the vertex count.
RIZARI_EXPORT int32_t CPlot_polygon_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        auto [x, nx] = takeCounted(f);
        auto [y, ny] = takeCounted(f);
        const double* z = f.array();
        if (const auto count = explicitCount(f)) nx = ny = *count;
        return plot->polygon(x, y, z, nx, ny);
    });
}

// A two-dimensional array is read in its own rows: a table of rows of another length would put
// its values in the wrong columns (3 rows of n values read as n rows of 3).
RIZARI_EXPORT int32_t CPlot_data_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        const ShapedArray table = takeShaped(f);
        const int rows = f.i32();
        const int cols = f.i32();
        if (table.dims == 2 && rows > 0 && cols > 0 && cols != table.cols) {
            reportf("CPlot::data(): the array holds %d rows of %d values, not %d rows of %d\n", table.rows, table.cols, rows, cols);
            return -1;
        }
        return plot->data(table.values, rows, cols);
    });
}

// The values of an array of any shape, then the bins; count 2 gives the range.
RIZARI_EXPORT int32_t CPlot_histogram_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        const ShapedArray values = takeShaped(f);
        const long long count = values.dims == 2 ? static_cast<long long>(values.rows) * values.cols : values.cols;
        const int n = count <= INT32_MAX ? static_cast<int>(count) : -1;
        const int bins = f.i32();
        const auto kinds = tailKinds(Tail::Range, f.i32(), 0);
        if (!kinds) return kNoForm;
        if (kinds->empty()) return plot->histogram(values.values, n, bins);
        const double low = f.f64();
        return plot->histogram(values.values, n, bins, low, f.f64());
    });
}

// ---- Second names: the same entry point under another name ----

#define RIZARI_SKIP(...)
#define RIZARI_BIND_SECOND_NAME(name, member)                                                                          \
    RIZARI_EXPORT decltype(CPlot_##member##_zudl(nullptr)) CPlot_##name##_zudl(ZuArgs* args)                            \
    {                                                                                                                  \
        return CPlot_##member##_zudl(args);                                                                            \
    }
RIZARI_ENTRY_POINTS(RIZARI_SKIP, RIZARI_SKIP, RIZARI_SKIP, RIZARI_SKIP, RIZARI_SKIP, RIZARI_BIND_SECOND_NAME)
