// Adding data sets to a plot: the two append operations, the members that add curves, surfaces,
// matrices and data files, and deleteData.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/platform.h"
#include "plot/cplot.h"

namespace rizari {

namespace {

constexpr const char* kNoMemoryCurve = "Error: can't allocate memory for new curve\n";

using Bytes = std::vector<unsigned char>;

Bytes bytesOf(const double* values, std::size_t count)
{
    Bytes out(count * sizeof(double));
    if (count > 0) std::memcpy(out.data(), values, out.size());
    return out;
}

void replaceInfinities(Bytes& bytes)
{
    for (std::size_t at = 0; at + sizeof(double) <= bytes.size(); at += sizeof(double)) {
        double v;
        std::memcpy(&v, bytes.data() + at, sizeof v);
        if (std::isinf(v)) {
            v = v > 0 ? kLargeValue : -kLargeValue;
            std::memcpy(bytes.data() + at, &v, sizeof v);
        }
    }
}

// A new data set with the plot's current line style, as every adding operation starts it.
DataSet freshDataSet(const PlotState& s)
{
    DataSet set;
    set.lineType = s.style.defaultLineType;
    set.lineWidth = s.style.defaultLineWidth;
    set.lineColorSet = s.draw.strokeColorSet;
    if (set.lineColorSet == 1) set.lineColor = s.draw.strokeColorName;
    return set;
}

// The body of AddCurve (dim 2) and AddSurface (dim 3). The record is appended before the checks
// of the data and the file, so it stays in the list when those fail.
int appendDataSet(PlotState& s, int dim, OptText&& fileName, OptText&& fileOption, int n, int gridXCount,
                  int elementType, const void* values)
{
    const bool surface = dim == 3;
    const char* who = surface ? "CPlot::AddSurface()" : "CPlot::AddCurve()";
    if (s.plotDimension != dim) {
        std::fprintf(stderr, "%s: invalid dimension\n", who);
        return -1;
    }

    // Copy the values first: when that fails the list stays as it was.
    std::optional<Bytes> copy;
    if (values && n >= 0) {
        try {
            const std::size_t size = static_cast<std::size_t>(n) * dim * elementSize(elementType);
            copy.emplace(size);
            if (size > 0) std::memcpy(copy->data(), values, size);
        } catch (const std::bad_alloc&) {
            std::fputs(kNoMemoryCurve, stderr);
            return -1;
        }
        if (elementType == ElementType::Double) replaceInfinities(*copy);
    }

    try {
        s.dataSets.push_back(freshDataSet(s));
    } catch (const std::bad_alloc&) {
        std::fputs(surface ? "Error: can't allocate memory for new surface\n" : kNoMemoryCurve, stderr);
        return -1;
    }
    DataSet& set = s.dataSets.back();
    set.fileName = std::move(fileName);
    set.fileOption = std::move(fileOption);
    set.pointCount = n;
    set.elementType = elementType;
    if (surface) set.gridXCount = gridXCount;

    if (!set.fileName) {
        if (n < 0 || !values) {
            std::fprintf(stderr, "Error: invalid data for curve is passed to %s\n", who);
            return -1;
        }
        set.values = std::move(copy);
        return 0;
    }

    // A data set naming a file never holds values as well: values would make the file count as
    // a temporary file of ours, to be removed with the data set.
    const bool writable = platform::isWritable(*set.fileName);
    if (writable && !values) return 0;
    if (writable) {
        std::fprintf(stderr, "Error: both filename and *data set in %s. filename will be used.\n", who);
        return -1;
    }
    std::fprintf(stderr, "Error: cannot open '%s' for plotting\n", set.fileName->c_str());
    return -1;
}

}  // namespace

int CPlot::AddCurve(OptText fileName, OptText fileOption, int n, int elementType, const void* values)
{
    return appendDataSet(s_, 2, std::move(fileName), std::move(fileOption), n, 0, elementType, values);
}

int CPlot::AddSurface(OptText fileName, OptText fileOption, int n, int gridXCount, int elementType,
                      const void* values)
{
    return appendDataSet(s_, 3, std::move(fileName), std::move(fileOption), n, gridXCount, elementType, values);
}

// Called after a member added a data set that may become a filled curve. applyPendingFill turns
// the last data set into the filled one and, with the stroke on, appends a copy of it to draw
// the outline; that copy gets the values or the file given here.
int CPlot::finishPendingFill(const Bytes* strokeValues, const OptText& strokeFile, const OptText& strokeOption)
{
    if (!s_.style.pendingFillOption) return 0;
    int result = 0;
    const std::size_t before = s_.dataSets.size();
    applyPendingFill();
    if (s_.draw.strokeOn == 1 && s_.dataSets.size() == before + 1) {
        DataSet& stroke = s_.dataSets.back();
        try {
            if (strokeValues) {
                stroke.values = *strokeValues;
            } else {
                stroke.fileName = strokeFile;
                stroke.fileOption = strokeOption;
            }
        } catch (const std::bad_alloc&) {
            // Neither values nor a file: the copy is refused when the plot is written.
            stroke.values.reset();
            std::fputs(kNoMemoryCurve, stderr);
            result = -1;
        }
    }
    s_.style.pendingFillOption.reset();
    s_.style.pendingFillColor.reset();
    return result;
}

int CPlot::data2D(const double* x, const double* y, int n, int yDims, int yRows, int yCols)
{
    if (s_.plotDimension != 2) {
        std::fputs("CPlot::data2D(): add 2D data to 3D plot, use CPlot::data3D()\n", stderr);
        return -1;
    }
    if (yDims != 1 && yDims != 2) {
        std::fputs("CPlot::data2D(): pass argument y of dimension larger than 2\n", stderr);
        return -1;
    }
    if (n != yCols) {
        std::fputs("CPlot::data2D(): dimensions of x and y do not match\n", stderr);
        return -1;
    }
    if (n < 0 || !x || !y) return AddCurve(std::nullopt, std::nullopt, n, ElementType::Double, nullptr);

    try {
        // x in the first half, the y values of the current row in the second.
        const std::size_t count = static_cast<std::size_t>(n);
        std::vector<double> buffer(2 * count);
        if (count > 0) std::memcpy(buffer.data(), x, count * sizeof(double));
        const int rows = yDims == 1 ? 1 : yRows;
        const std::size_t before = s_.dataSets.size();
        int result = 0;
        for (int r = 0; r < rows; ++r) {
            if (count > 0) std::memcpy(buffer.data() + count, y + static_cast<std::size_t>(r) * count, count * sizeof(double));
            result = AddCurve(std::nullopt, std::nullopt, n, ElementType::Double, buffer.data());
        }
        if (s_.style.pendingFillOption && s_.dataSets.size() > before) {
            const Bytes strokeValues = bytesOf(buffer.data(), buffer.size());
            if (finishPendingFill(&strokeValues, std::nullopt, std::nullopt) != 0) return -1;
        }
        return result;
    } catch (const std::bad_alloc&) {
        std::fputs(kNoMemoryCurve, stderr);
        return -1;
    }
}

int CPlot::data2D(const std::vector<double>& x, const std::vector<double>& y)
{
    return data2D(x.data(), y.data(), static_cast<int>(x.size()), 1, 0, static_cast<int>(y.size()));
}

int CPlot::data2DCurve(const double* x, const double* y, int n) { return data2D(x, y, n, 1, 0, n); }

int CPlot::data3D(const double* x, const double* y, const double* z, int nx, int ny, int zDims, int zRows,
                  int zCols)
{
    if (s_.plotDimension != 3 && !s_.dataSets.empty()) {
        std::fputs("CPlot::data3D(): add 3D data to 2D plot, use CPlot::data2D()\n", stderr);
        return -1;
    }
    dimension(3);
    if (zDims != 1 && zDims != 2) {
        std::fputs("CPlot::data3D(): pass argument z of dimension larger than 2\n", stderr);
        return -1;
    }
    const int nz = zCols;
    const bool counted = nx >= 0 && ny >= 0 && nz >= 0;
    const bool grid = counted && static_cast<long long>(nx) * ny == nz;
    const bool curve = !grid && counted && nx == ny && ny == nz;
    if (!grid && !curve) {
        std::fputs("CPlot::data3D(): dimensions of x, y and z do not match\n", stderr);
        return -1;
    }
    if (!x || !y || !z) return AddSurface(std::nullopt, std::nullopt, nz, grid ? nx : 1, ElementType::Double, nullptr);

    try {
        const std::size_t count = static_cast<std::size_t>(nz);
        std::vector<double> buffer(3 * count);
        if (grid) {
            // Point k = i * ny + j: x index as the row, y varying fastest.
            for (std::size_t i = 0, k = 0; i < static_cast<std::size_t>(nx); ++i)
                for (std::size_t j = 0; j < static_cast<std::size_t>(ny); ++j, ++k) {
                    buffer[k] = x[i];
                    buffer[count + k] = y[j];
                }
        } else if (count > 0) {
            std::memcpy(buffer.data(), x, count * sizeof(double));
            std::memcpy(buffer.data() + count, y, count * sizeof(double));
        }
        const int rows = zDims == 1 ? 1 : zRows;
        int result = 0;
        for (int r = 0; r < rows; ++r) {
            if (count > 0)
                std::memcpy(buffer.data() + 2 * count, z + static_cast<std::size_t>(r) * count, count * sizeof(double));
            const std::size_t before = s_.dataSets.size();
            result = AddSurface(std::nullopt, std::nullopt, nz, grid ? nx : 1, ElementType::Double, buffer.data());
            if (grid && s_.dataSets.size() > before) s_.dataSets.back().plotType = PlotType::PM3D;
            s_.view.hiddenLineOn = grid ? 1 : 0;
        }
        return result;
    } catch (const std::bad_alloc&) {
        std::fputs(kNoMemoryCurve, stderr);
        return -1;
    }
}

int CPlot::data3DCurve(const double* x, const double* y, const double* z, int n)
{
    return data3D(x, y, z, n, n, 1, 0, n);
}

int CPlot::data3DSurface(const double* x, const double* y, const double* z, int n, int m)
{
    // n * m in 64 bits: a product beyond int can never match the counts of x and y.
    const long long nm = static_cast<long long>(n) * m;
    const int nz = nm == static_cast<int>(nm) ? static_cast<int>(nm) : -1;
    return data3D(x, y, z, n, m, 1, 0, nz);
}

int CPlot::data(const double* values, int rows, int cols)
{
    if (rows < 0 || cols < 0 || (!values && rows > 0 && cols > 0)) {
        // No copy of rows x cols values can be made.
        std::fputs(kNoMemoryCurve, stderr);
        return -1;
    }
    try {
        DataSet set = freshDataSet(s_);
        set.lineColorSet = 0;
        set.lineColor = ColorText();
        set.pointCount = -1;
        set.matrixRows = rows;
        set.matrixCols = cols;
        set.values = bytesOf(values, static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
        s_.dataSets.push_back(std::move(set));
        if (!s_.style.pendingFillOption) return 0;
        const Bytes strokeValues = *s_.dataSets.back().values;
        return finishPendingFill(&strokeValues, std::nullopt, std::nullopt);
    } catch (const std::bad_alloc&) {
        std::fputs(kNoMemoryCurve, stderr);
        return -1;
    }
}

int CPlot::dataFile(const char* file) { return dataFile(file, nullptr); }

int CPlot::dataFile(const char* file, const char* option)
{
    try {
        std::FILE* in = file ? std::fopen(platform::nativePath(file).c_str(), "r") : nullptr;
        if (!in) {
            std::fprintf(stderr, "CPlot::dataFile(): cannot open file \"%s\".\n", file ? file : "(null)");
            return -1;
        }
        // Counted in pieces as a line reader with a 2047-byte buffer returns them: a line longer
        // than 2046 characters counts once per piece.
        int count = 0;
        char piece[2047];
        while (std::fgets(piece, sizeof piece, in))
            if (piece[0] != '#') ++count;
        std::fclose(in);

        const OptText name(file);
        const OptText opt = option ? OptText(option) : std::nullopt;
        if (s_.plotDimension == 3) {
            AddSurface(name, opt, count, 1, ElementType::Double, nullptr);
            s_.view.hiddenLineOn = 0;
            return 0;
        }
        const std::size_t before = s_.dataSets.size();
        AddCurve(name, opt, count, ElementType::Double, nullptr);
        if (s_.dataSets.size() > before) finishPendingFill(nullptr, name, opt);
        return 0;
    } catch (const std::bad_alloc&) {
        std::fputs(kNoMemoryCurve, stderr);
        return -1;
    }
}

void CPlot::deleteData()
{
    RemoveCurves();
    s_.draw.shapeObjects.clear();
    removeTemporaryOutputs();
    auto& out = s_.output;
    out.outputFileName.reset();
    out.terminalName.reset();
}

}  // namespace rizari
