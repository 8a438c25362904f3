// Adding data sets to a plot: the two append operations, the members that add curves, surfaces,
// matrices and data files, and deleteData. Each data set keeps one copy of its values, written
// straight from the caller's arrays into a block that is never zero-filled.
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <span>
#include <vector>

#include "data/columns.h"
#include "data/computed_curve.h"
#include "platform/messages.h"
#include "platform/platform.h"
#include "plot/checks.h"
#include "plot/lifecycle.h"

namespace rizari {

namespace {

// Copies n doubles, an infinity becoming the large finite value of its sign; in place when
// out == in.
void copyFinite(double* out, const double* in, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) out[i] = finiteValue(in[i]);
}

double* asDoubles(unsigned char* bytes) { return reinterpret_cast<double*>(bytes); }
unsigned char* asBytes(double* values) { return reinterpret_cast<unsigned char*>(values); }

// The lines of a data file as a line reader with a 2047-byte buffer returns them: a line longer
// than 2046 characters counts once per piece, and comment lines (a "#" first) not at all. Only
// the bytes the file held when it was opened are read, so a file that grows meanwhile cannot
// keep the count going. None for more lines than an int counts.
std::optional<int> countDataLines(std::FILE* in, long long size)
{
    constexpr std::size_t kPiece = 2046;
    long long count = 0;
    std::size_t pieceLength = 0;
    char buffer[8192];
    for (long long left = size; left > 0;) {
        const std::size_t wanted = left < static_cast<long long>(sizeof buffer) ? static_cast<std::size_t>(left) : sizeof buffer;
        const std::size_t got = std::fread(buffer, 1, wanted, in);
        if (got == 0) break;
        left -= static_cast<long long>(got);
        for (std::size_t i = 0; i < got; ++i) {
            if (pieceLength == 0 && buffer[i] != '#') ++count;
            ++pieceLength;
            if (buffer[i] == '\n' || pieceLength == kPiece) pieceLength = 0;
        }
    }
    if (count > INT_MAX) return std::nullopt;
    return static_cast<int>(count);
}

const char* adderName(int dim) { return dim == 3 ? "CPlot::AddSurface()" : "CPlot::AddCurve()"; }

// A new data set with the plot's current line style, as every adding operation starts it.
DataSet freshDataSet(const PlotState& s)
{
    DataSet set;
    set.lineType = s.style.defaultLineType;
    set.lineWidth = s.style.lineWidth;
    set.lineColor = s.draw.strokeColor;
    return set;
}

// A block of `bytes` that fill(bytes) writes; none, with the out-of-memory message, when the
// memory cannot be had.
template <class Fill> std::optional<ValueBlock> filledBlock(std::size_t bytes, Fill&& fill)
{
    auto block = ValueBlock::allocate(bytes);
    if (!block) {
        report(kNoMemoryForCurve);
        return std::nullopt;
    }
    fill(block->data());
    return block;
}

// The body of AddCurve (dim 2) and AddSurface (dim 3) once the plot's dimension fits: block is
// the copy of the values (none when none were given or n < 0). The record is appended before the
// checks of the data and the file, so it stays in the list when those fail.
int appendDataSet(PlotState& s, int dim, OptText&& fileName, OptText&& fileOption, int n, int gridXCount,
                  KeptCode<Element> elementType, bool withValues, std::optional<ValueBlock>&& block)
{
    const bool surface = dim == 3;
    try {
        s.dataSets.push_back(freshDataSet(s));
    } catch (const std::bad_alloc&) {
        report(surface ? kNoMemoryForSurface : kNoMemoryForCurve);
        return -1;
    }
    DataSet& set = s.dataSets.back();
    set.fileName = std::move(fileName);
    set.fileOption = std::move(fileOption);
    set.pointCount = n;
    set.elementType = elementType;
    // A grid count not above 0 (AddSurface's own) draws the set as one added in the plane.
    if (surface && gridXCount > 0) set.gridXCount = gridXCount;

    if (!set.fileName) {
        if (n < 0 || !withValues) {
            reportf("Error: invalid data for curve is passed to %s\n", adderName(dim));
            return -1;
        }
        set.values = std::move(block);
        return 0;
    }

    // A data set naming a caller's file never holds values as well.
    const bool writable = platform::isWritable(*set.fileName);
    if (writable && !withValues) return 0;
    if (writable) {
        reportf("Error: both filename and *data set in %s. filename will be used.\n", adderName(dim));
        return -1;
    }
    reportf("Error: cannot open '%s' for plotting\n", set.fileName->c_str());
    return -1;
}

int appendCopy(PlotState& s, int dim, OptText&& fileName, OptText&& fileOption, int n, int gridXCount,
               KeptCode<Element> elementType, const void* values)
{
    if (s.dimension != dim) {
        reportf("%s: invalid dimension\n", adderName(dim));
        return -1;
    }
    // The values first: when they cannot be had the list stays as it was.
    std::optional<ValueBlock> block;
    if (values && n >= 0) {
        const std::size_t size = static_cast<std::size_t>(n) * static_cast<std::size_t>(dim) * elementSize(elementType);
        block = filledBlock(size, [&](unsigned char* out) {
            if (size > 0) std::memcpy(out, values, size);
            if (elementType == Element::Double) copyFinite(asDoubles(out), asDoubles(out), size / sizeof(double));
        });
        if (!block) return -1;
    }
    return appendDataSet(s, dim, std::move(fileName), std::move(fileOption), n, gridXCount, elementType, values != nullptr,
                         std::move(block));
}

// The copies of `rows` data sets of `bytes` each, fill(r, values) writing row r: all of them, or
// none with the out-of-memory message.
template <class Fill> std::optional<std::vector<ValueBlock>> rowBlocks(int rows, std::size_t bytes, Fill&& fill)
{
    std::vector<ValueBlock> blocks;
    try {
        blocks.reserve(static_cast<std::size_t>(rows > 0 ? rows : 0));
    } catch (const std::bad_alloc&) {
        report(kNoMemoryForCurve);
        return std::nullopt;
    }
    for (int r = 0; r < rows; ++r) {
        auto block = filledBlock(bytes, [&](unsigned char* out) { fill(static_cast<std::size_t>(r), asDoubles(out)); });
        if (!block) return std::nullopt;
        blocks.push_back(std::move(*block));
    }
    return blocks;
}

// Appends a data set of n points of the element type for each block: all of them, or none.
bool appendRows(PlotState& s, int dim, int n, int gridXCount, std::span<ValueBlock> blocks,
                KeptCode<Element> elementType = Element::Double)
{
    try {
        s.dataSets.reserve(s.dataSets.size() + blocks.size());
    } catch (const std::bad_alloc&) {
        report(dim == 3 ? kNoMemoryForSurface : kNoMemoryForCurve);
        return false;
    }
    for (ValueBlock& block : blocks)
        appendDataSet(s, dim, std::nullopt, std::nullopt, n, gridXCount, elementType, true, std::move(block));
    return true;
}

// The outline that a pending fill draws over its filled curve: its values, or its data file.
struct Outline {
    std::optional<ValueBlock> values;
    OptText fileName;
    OptText fileOption;
};

// Called after a member added a data set that may become a filled curve. applyPendingFill turns
// the last data set into the filled one and, with the stroke on, appends a copy of it to draw
// the outline; that copy gets the outline made here.
template <class MakeOutline> int finishPendingFill(CPlot& plot, PlotState& s, MakeOutline makeOutline)
{
    if (!s.style.pendingFillOption) return 0;
    int result = 0;
    const std::size_t before = s.dataSets.size();
    plot.applyPendingFill();
    if (s.draw.stroke && s.dataSets.size() == before + 1) {
        DataSet& stroke = s.dataSets.back();
        try {
            Outline outline = makeOutline();
            stroke.values = std::move(outline.values);
            stroke.fileName = std::move(outline.fileName);
            stroke.fileOption = std::move(outline.fileOption);
        } catch (const std::bad_alloc&) {
            // Neither values nor a file: the copy is refused when the plot is written.
            report(kNoMemoryForCurve);
            result = -1;
        }
    }
    s.style.pendingFillOption.reset();
    s.style.pendingFillColor.reset();
    return result;
}

// n doubles of x then n of y, as given (a pending fill's outline keeps infinities).
std::optional<ValueBlock> rawCurve(const double* x, const double* y, std::size_t n)
{
    auto block = ValueBlock::allocate(2 * n * sizeof(double));
    if (!block) throw std::bad_alloc();
    if (n > 0) {
        std::memcpy(block->data(), x, n * sizeof(double));
        std::memcpy(block->data() + n * sizeof(double), y, n * sizeof(double));
    }
    return block;
}

// The checks of data2D on the plot and the shapes of x and y; false after the message.
bool fits2D(const PlotState& s, int n, int yDims, int yCols)
{
    if (s.dimension != 2) {
        report("CPlot::data2D(): add 2D data to 3D plot, use CPlot::data3D()\n");
        return false;
    }
    if (yDims != 1 && yDims != 2) {
        report("CPlot::data2D(): pass argument y of dimension larger than 2\n");
        return false;
    }
    if (n != yCols) {
        report("CPlot::data2D(): dimensions of x and y do not match\n");
        return false;
    }
    return true;
}

// What data3D makes of its counts: a grid of nx x ny points, or a space curve.
struct SurfaceShape {
    bool grid;
    int gridXCount;
};

// The checks of data3D, which makes an empty plot 3D; none after the message.
std::optional<SurfaceShape> fits3D(CPlot& plot, const PlotState& s, int nx, int ny, int zDims, int nz)
{
    if (s.dimension != 3 && !s.dataSets.empty()) {
        report("CPlot::data3D(): add 3D data to 2D plot, use CPlot::data2D()\n");
        return std::nullopt;
    }
    plot.dimension(3);
    if (zDims != 1 && zDims != 2) {
        report("CPlot::data3D(): pass argument z of dimension larger than 2\n");
        return std::nullopt;
    }
    const bool counted = nx >= 0 && ny >= 0 && nz >= 0;
    const bool grid = counted && static_cast<long long>(nx) * ny == nz;
    const bool curve = !grid && counted && nx == ny && ny == nz;
    if (!grid && !curve) {
        report("CPlot::data3D(): dimensions of x, y and z do not match\n");
        return std::nullopt;
    }
    return SurfaceShape{grid, grid ? nx : 1};
}

// Appends the 3D data sets of the blocks (n points each): a grid is drawn as a surface and with
// hidden lines, a space curve without.
int appendSurfaces(PlotState& s, std::span<ValueBlock> blocks, int n, SurfaceShape shape,
                   KeptCode<Element> elementType = Element::Double)
{
    const std::size_t before = s.dataSets.size();
    if (!appendRows(s, 3, n, shape.gridXCount, blocks, elementType)) return -1;
    if (shape.grid)
        for (std::size_t i = before; i < s.dataSets.size(); ++i) s.dataSets[i].plotType = Style::PM3D;
    if (!blocks.empty()) s.view.hiddenLines = shape.grid;
    return 0;
}

// Appends one curve of n points whose values are in their block, once the plot's dimension was
// found to fit: in space when shape3D is given, else in the plane, where it may become a pending
// fill. Infinities of doubles become large finite values; the outline of a fill keeps them.
int appendCurve(CPlot& plot, PlotState& s, ValueBlock&& values, int n, KeptCode<Element> elementType,
                std::optional<SurfaceShape> shape3D)
{
    const std::size_t count = static_cast<std::size_t>(n);
    const bool doubles = elementType == Element::Double;
    if (shape3D) {
        if (doubles) copyFinite(asDoubles(values.data()), asDoubles(values.data()), 3 * count);
        return appendSurfaces(s, {&values, 1}, n, *shape3D, elementType);
    }
    const std::size_t index = s.dataSets.size();
    if (!appendRows(s, 2, n, 0, {&values, 1}, elementType)) return -1;
    const int result = finishPendingFill(plot, s, [&] { return Outline{s.dataSets[index].values, std::nullopt, std::nullopt}; });
    if (doubles) copyFinite(asDoubles(s.dataSets[index].values->data()), asDoubles(s.dataSets[index].values->data()), 2 * count);
    return result;
}

// The caller's columns of n entries each, one after the other: the layout of a data set's values.
std::optional<ValueBlock> joinedColumns(std::span<const void* const> columns, std::size_t n, std::size_t entrySize)
{
    const auto total = checkedProduct({n, entrySize, columns.size()});
    if (!total) {
        report(kNoMemoryForCurve);
        return std::nullopt;
    }
    const std::size_t bytes = *total / columns.size();
    return filledBlock(*total, [&](unsigned char* out) {
        for (const void* column : columns) {
            if (bytes > 0) std::memcpy(out, column, bytes);
            out += bytes;
        }
    });
}

// The x and y columns of a grid: point k = i * ny + j takes x[i] and y[j] (entries of entrySize
// bytes), the x index as the row and y varying fastest, as data3D lays out a surface.
void spreadGrid(unsigned char* xs, unsigned char* ys, const void* x, std::size_t nx, const void* y, std::size_t ny,
                std::size_t entrySize)
{
    const auto* xIn = static_cast<const unsigned char*>(x);
    const auto* yIn = static_cast<const unsigned char*>(y);
    for (std::size_t i = 0, k = 0; i < nx; ++i) {
        for (std::size_t j = 0; j < ny; ++j, ++k) {
            std::memcpy(xs + k * entrySize, xIn + i * entrySize, entrySize);
            std::memcpy(ys + k * entrySize, yIn + j * entrySize, entrySize);
        }
    }
}

}  // namespace

int addColumns(CPlot& plot, int elementCode, std::span<const void* const> columns, int n)
{
    const KeptCode<Element> elementType(elementCode);
    const bool space = columns.size() == 3;
    PlotState& s = PlotAccess::state(plot);
    std::optional<SurfaceShape> shape3D;
    if (space) {
        shape3D = fits3D(plot, s, n, n, 1, n);
        if (!shape3D) return -1;
    } else if (!fits2D(s, n, 1, n)) {
        return -1;
    }
    auto block = joinedColumns(columns, static_cast<std::size_t>(n), elementSize(elementType));
    if (!block) return -1;
    return appendCurve(plot, s, std::move(*block), n, elementType, shape3D);
}

int addBorrowedColumns(CPlot& plot, int elementCode, const void* x, const void* y, int n)
{
    const KeptCode<Element> elementType(elementCode);
    PlotState& s = PlotAccess::state(plot);
    if (!fits2D(s, n, 1, n)) return -1;
    const std::size_t index = s.dataSets.size();
    // An empty block stands for the values while the record is made; the columns replace it.
    if (appendDataSet(s, 2, std::nullopt, std::nullopt, n, 0, elementType, true, ValueBlock::allocate(0)) != 0) return -1;
    DataSet& set = s.dataSets[index];
    set.values.reset();
    set.borrowed = BorrowedColumns{x, y};
    return finishPendingFill(plot, s, [] { return Outline{}; });
}

int addGridColumns(CPlot& plot, int elementCode, const void* x, int nx, const void* y, int ny, const void* z)
{
    const KeptCode<Element> elementType(elementCode);
    PlotState& s = PlotAccess::state(plot);
    // nx * ny in 64 bits: a product beyond int can never match the counts of x and y.
    const long long points = static_cast<long long>(nx) * ny;
    const int nz = points == static_cast<int>(points) ? static_cast<int>(points) : -1;
    const auto shape = fits3D(plot, s, nx, ny, 1, nz);
    if (!shape) return -1;
    const std::size_t entrySize = elementSize(elementType);
    const auto total = checkedProduct({static_cast<std::size_t>(nz), entrySize, 3});
    if (!total) {
        report(kNoMemoryForSurface);
        return -1;
    }
    const std::size_t bytes = *total / 3;
    auto block = filledBlock(*total, [&](unsigned char* out) {
        spreadGrid(out, out + bytes, x, static_cast<std::size_t>(nx), y, static_cast<std::size_t>(ny), entrySize);
        if (bytes > 0) std::memcpy(out + 2 * bytes, z, bytes);
        if (elementType == Element::Double) copyFinite(asDoubles(out), asDoubles(out), *total / sizeof(double));
    });
    if (!block) return -1;
    return appendSurfaces(s, {&*block, 1}, nz, *shape, elementType);
}

int CPlot::AddCurve(OptText fileName, OptText fileOption, int n, int elementType, const void* values)
{
    return appendCopy(impl_->state, 2, std::move(fileName), std::move(fileOption), n, 0, KeptCode<Element>(elementType), values);
}

int CPlot::AddSurface(OptText fileName, OptText fileOption, int n, int gridXCount, int elementType, const void* values)
{
    return appendCopy(impl_->state, 3, std::move(fileName), std::move(fileOption), n, gridXCount, KeptCode<Element>(elementType), values);
}

int CPlot::data2D(const double* x, const double* y, int n, int yDims, int yRows, int yCols)
{
    PlotState& s = impl_->state;
    if (!fits2D(s, n, yDims, yCols)) return -1;
    if (n < 0 || !x || !y) return appendCopy(s, 2, std::nullopt, std::nullopt, n, 0, Element::Double, nullptr);

    // Each row of y is a curve over the same x; every curve's copy is made before any is added.
    const std::size_t count = static_cast<std::size_t>(n);
    const int rows = yDims == 1 ? 1 : yRows;
    auto blocks = rowBlocks(rows, 2 * count * sizeof(double), [&](std::size_t r, double* out) {
        copyFinite(out, x, count);
        copyFinite(out + count, y + r * count, count);
    });
    if (!blocks || !appendRows(s, 2, n, 0, *blocks)) return -1;
    if (rows <= 0) return 0;
    const double* last = y + static_cast<std::size_t>(rows - 1) * count;
    return finishPendingFill(*this, s, [&] { return Outline{rawCurve(x, last, count), std::nullopt, std::nullopt}; });
}

int CPlot::data2D(const std::vector<double>& x, const std::vector<double>& y)
{
    return data2D(x.data(), y.data(), static_cast<int>(x.size()), 1, 0, static_cast<int>(y.size()));
}

int CPlot::data2DCurve(const double* x, const double* y, int n) { return data2D(x, y, n, 1, 0, n); }

int CPlot::data3D(const double* x, const double* y, const double* z, int nx, int ny, int zDims, int zRows, int zCols)
{
    PlotState& s = impl_->state;
    const int nz = zCols;
    const auto shape = fits3D(*this, s, nx, ny, zDims, nz);
    if (!shape) return -1;
    if (!x || !y || !z) return appendCopy(s, 3, std::nullopt, std::nullopt, nz, shape->gridXCount, Element::Double, nullptr);

    // Each row of z is a data set over the same x and y.
    const std::size_t count = static_cast<std::size_t>(nz);
    const int rows = zDims == 1 ? 1 : zRows;
    auto blocks = rowBlocks(rows, 3 * count * sizeof(double), [&](std::size_t r, double* out) {
        double* xs = out;
        double* ys = out + count;
        if (shape->grid) {
            spreadGrid(asBytes(xs), asBytes(ys), x, static_cast<std::size_t>(nx), y, static_cast<std::size_t>(ny), sizeof(double));
            copyFinite(xs, xs, 2 * count);
        } else {
            copyFinite(xs, x, count);
            copyFinite(ys, y, count);
        }
        copyFinite(ys + count, z + r * count, count);
    });
    if (!blocks) return -1;
    return appendSurfaces(s, *blocks, nz, *shape);
}

int CPlot::data3DCurve(const double* x, const double* y, const double* z, int n) { return data3D(x, y, z, n, n, 1, 0, n); }

int CPlot::data3DSurface(const double* x, const double* y, const double* z, int n, int m)
{
    // n * m in 64 bits: a product beyond int can never match the counts of x and y.
    const long long nm = static_cast<long long>(n) * m;
    const int nz = nm == static_cast<int>(nm) ? static_cast<int>(nm) : -1;
    return data3D(x, y, z, n, m, 1, 0, nz);
}

std::optional<ComputedCurve> ComputedCurve::allocate(int n, int dimension) noexcept
{
    auto block = ValueBlock::allocate(static_cast<std::size_t>(n) * static_cast<std::size_t>(dimension) * sizeof(double));
    if (!block) return std::nullopt;
    return ComputedCurve(std::move(*block), n, dimension);
}

int addComputedCurve(CPlot& plot, ComputedCurve&& curve)
{
    PlotState& s = PlotAccess::state(plot);
    const int n = curve.size();
    std::optional<SurfaceShape> shape3D;
    if (curve.dimension() == 3) {
        shape3D = fits3D(plot, s, n, n, 1, n);
        if (!shape3D) return -1;
    } else if (!fits2D(s, n, 1, n)) {
        return -1;
    }
    return appendCurve(plot, s, curve.release(), n, Element::Double, shape3D);
}

int CPlot::data(const double* values, int rows, int cols)
{
    PlotState& s = impl_->state;
    if (rows < 0 || cols < 0 || (!values && rows > 0 && cols > 0)) {
        // No copy of rows x cols values can be made.
        report(kNoMemoryForCurve);
        return -1;
    }
    const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    const auto bytes = checkedProduct({count, sizeof(double)});
    auto block = bytes ? ValueBlock::allocate(*bytes) : std::nullopt;
    if (!block) {
        report(kNoMemoryForCurve);
        return -1;
    }
    if (count > 0) std::memcpy(block->data(), values, count * sizeof(double));
    try {
        DataSet set = freshDataSet(s);
        set.lineColor.reset();
        set.matrix = MatrixShape{rows, cols};
        set.values = std::move(block);
        s.dataSets.push_back(std::move(set));
        const std::size_t matrix = s.dataSets.size() - 1;
        return finishPendingFill(*this, s, [&] { return Outline{s.dataSets[matrix].values, std::nullopt, std::nullopt}; });
    } catch (const std::bad_alloc&) {
        report(kNoMemoryForCurve);
        return -1;
    }
}

int CPlot::dataFile(const char* file) { return dataFile(file, nullptr); }

int CPlot::dataFile(const char* file, const char* option)
{
    PlotState& s = impl_->state;
    if (!oneLine("dataFile", option)) return -1;
    try {
        const auto opened = file ? platform::openRegularFile(file) : std::nullopt;
        if (!opened) {
            const auto state = file ? platform::fileState(file) : std::nullopt;
            if (state && !state->regular) reportf("CPlot::dataFile(): \"%s\" is not a regular file.\n", file);
            else reportf("CPlot::dataFile(): cannot open file \"%s\".\n", file ? file : "(null)");
            return -1;
        }
        const std::optional<int> lines = countDataLines(opened->file, opened->size);
        std::fclose(opened->file);
        if (!lines) {
            reportf("CPlot::dataFile(): \"%s\" has more lines than an int counts.\n", file);
            return -1;
        }
        const int count = *lines;

        const OptText name(file);
        const OptText opt = optionalText(option);
        if (s.dimension == 3) {
            appendCopy(s, 3, OptText(name), OptText(opt), count, 1, Element::Double, nullptr);
            s.view.hiddenLines = false;
            return 0;
        }
        const std::size_t before = s.dataSets.size();
        appendCopy(s, 2, OptText(name), OptText(opt), count, 0, Element::Double, nullptr);
        if (s.dataSets.size() > before) finishPendingFill(*this, s, [&] { return Outline{std::nullopt, name, opt}; });
        return 0;
    } catch (const std::bad_alloc&) {
        report(kNoMemoryForCurve);
        return -1;
    }
}

void CPlot::deleteData()
{
    PlotState& s = impl_->state;
    removeDataSets(s);
    s.draw.shapes.clear();
    removeTemporaryOutputs(s.output);
    s.output.file.reset();
    s.output.terminal.reset();
}

}  // namespace rizari
