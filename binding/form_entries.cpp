// Entry points that read a trailing count and choose the member form by it, and the array
// entry points that take their sizes from the interpreter. A count that selects no form calls
// nothing and reads no optional argument.
#include "binding/frame.h"
#include "render/styles.h"

namespace rizari::binding {
namespace {

using T = const char*;
using D = double;

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

}  // namespace
}  // namespace rizari::binding

using namespace rizari;
using namespace rizari::binding;

// ---- 0: short form; 1: one more argument ----
RIZARI_ENTRY(arcSegment, optionalTailEntry<pick<int(D, D, D, D, D)>(&CPlot::arcSegment), pick<int(D, D, D, D, D, T)>(&CPlot::arcSegment)>)
RIZARI_ENTRY(arrow, optionalTailEntry<pick<int(D, D, D, D, D, D)>(&CPlot::arrow), pick<int(D, D, D, D, D, D, T)>(&CPlot::arrow)>)
RIZARI_ENTRY(axisRange, optionalTailEntry<pick<void(int, D, D)>(&CPlot::axisRange), pick<void(int, D, D, D)>(&CPlot::axisRange)>)
RIZARI_ENTRY(boxBorder, optionalTailEntry<pick<void(int)>(&CPlot::boxBorder), pick<void(int, int)>(&CPlot::boxBorder)>)
RIZARI_ENTRY(circleClosed, optionalTailEntry<pick<void(D, D)>(&CPlot::circleClosed), pick<void(D, D, T)>(&CPlot::circleClosed)>)
RIZARI_ENTRY(circleOpen, optionalTailEntry<pick<void(D, D)>(&CPlot::circleOpen), pick<void(D, D, T)>(&CPlot::circleOpen)>)
RIZARI_ENTRY(coordSystem, optionalTailEntry<pick<void(int)>(&CPlot::coordSystem), pick<void(int, int)>(&CPlot::coordSystem)>)
RIZARI_ENTRY(dataFile, optionalTailEntry<pick<int(T)>(&CPlot::dataFile), pick<int(T, T)>(&CPlot::dataFile)>)
RIZARI_ENTRY(grid, optionalTailEntry<pick<void(int)>(&CPlot::grid), pick<void(int, T)>(&CPlot::grid)>)
RIZARI_ENTRY(inequal, optionalTailEntry<pick<int(T, D)>(&CPlot::inequal), pick<int(T, D, T)>(&CPlot::inequal)>)
RIZARI_ENTRY(inequalAnd, optionalTailEntry<pick<int(T, D, T, D)>(&CPlot::inequalAnd), pick<int(T, D, T, D, T)>(&CPlot::inequalAnd)>)
RIZARI_ENTRY(legend, optionalTailEntry<pick<void(T)>(&CPlot::legend), pick<void(T, int)>(&CPlot::legend)>)
RIZARI_ENTRY(legendLocation, optionalTailEntry<pick<void(D, D)>(&CPlot::legendLocation), pick<void(D, D, D)>(&CPlot::legendLocation)>)
RIZARI_ENTRY(line1D, optionalTailEntry<pick<void(D, D)>(&CPlot::line1D), pick<void(D, D, T)>(&CPlot::line1D)>)
RIZARI_ENTRY(lineType, optionalTailEntry<pick<void(int, int, int)>(&CPlot::lineType), pick<void(int, int, int, T)>(&CPlot::lineType)>)
RIZARI_ENTRY(pointType, optionalTailEntry<pick<void(int, int, int)>(&CPlot::pointType), pick<void(int, int, int, T)>(&CPlot::pointType)>)
RIZARI_ENTRY(scaleType, optionalTailEntry<pick<void(int, int)>(&CPlot::scaleType), pick<void(int, int, D)>(&CPlot::scaleType)>)
RIZARI_ENTRY(scattern, optionalTailEntry<pick<void(const double*, const double*, int)>(&CPlot::scattern),
                                         pick<void(const double*, const double*, int, T)>(&CPlot::scattern)>)

// ---- Forms with their own rules ----

// 0: on/off form (the second value is the flag); any other count: line width and colour follow
// and the second value is the line type.
RIZARI_EXPORT int32_t CPlot_axis_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        int axis = f.i32();
        int second = f.i32();
        if (f.i32() == 0) {
            plot->axis(axis, second);
        } else {
            int width = f.i32();
            plot->axis(axis, second, width, f.text());
        }
    });
}

// Exported a second time as fillStyle. With count 1 the type decides what follows: a density for
// the solid fills, a pattern for the pattern fills, and nothing (no call) for any other type.
RIZARI_EXPORT int32_t CPlot_boxFill_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        int num = f.i32();
        int type = f.i32();
        int count = f.i32();
        if (count == 0) {
            plot->boxFill(num, type);
        } else if (count == 1) {
            if (type == BoxFill::Solid || type == BoxFill::TransparentSolid) plot->boxFill(num, type, f.f64());
            else if (type == BoxFill::Pattern || type == BoxFill::TransparentPattern) plot->boxFill(num, type, f.i32());
        }
    });
}
RIZARI_EXPORT int32_t CPlot_fillStyle_zudl(ZuArgs* args) __attribute__((alias("CPlot_boxFill_zudl")));

// Count 1: the next int replaces the element count; any other count keeps it.
RIZARI_EXPORT int32_t CPlot_contourLevels_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        auto [levels, n] = takeCounted(f);
        if (f.i32() == 1) n = f.i32();
        plot->contourLevels(levels, n);
    });
}

RIZARI_EXPORT int32_t CPlot_outputType_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        int type = f.i32();
        switch (f.i32()) {
        case 0: plot->outputType(type); break;
        case 1: plot->outputType(type, f.text()); break;
        case 2: {
            const char* terminal = f.text();
            plot->outputType(type, terminal, f.text());
            break;
        }
        default: break;
        }
    });
}

// The type code decides how many extra arguments are read and whether they are ints or texts;
// a code outside the style table calls nothing.
RIZARI_EXPORT int32_t CPlot_plotType_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        int type = f.i32();
        int num = f.i32();
        PlotTypeExtra extra;
        extra.count = f.i32();
        if (type < PlotType::Lines || type > PlotType::PM3D) return;
        if (type != PlotType::PM3D && plotTypeAcceptsCount(type, extra.count)) {
            for (int i = 0; i < extra.count; ++i) {
                if (plotTypeTakesTexts(type)) extra.texts[static_cast<std::size_t>(i)] = f.text();
                else extra.ints[static_cast<std::size_t>(i)] = f.i32();
            }
        }
        plot->plotType(type, num, extra);
    });
}

// x and y with their element counts, z or null; count 1: the next int is the vertex count.
RIZARI_EXPORT int32_t CPlot_polygon_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        auto [x, nx] = takeCounted(f);
        auto [y, ny] = takeCounted(f);
        const double* z = f.array();
        if (f.i32() == 1) nx = ny = f.i32();
        return plot->polygon(x, y, z, nx, ny);
    });
}

RIZARI_EXPORT int32_t CPlot_ticsRange_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        int axis = f.i32();
        double incr = f.f64();
        switch (f.i32()) {
        case 0: plot->ticsRange(axis, incr); break;
        case 1: plot->ticsRange(axis, incr, f.f64()); break;
        case 2: {
            double start = f.f64();
            plot->ticsRange(axis, incr, start, f.f64());
            break;
        }
        default: break;
        }
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

// Two pointer arguments through which the member may report the grid flag and option.
RIZARI_EXPORT int32_t CPlot_getGrid_zudl(ZuArgs* args)
{
    return guarded(args, [](Frame& f) {
        CPlot* plot = f.instance();
        int* flag = f.pointer<int>();
        plot->getGrid(flag, f.pointer<const char*>());
    });
}
