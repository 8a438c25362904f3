#include "data/data_file_writer.h"

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

#include "data/column_digits.h"
#include "data/reduction_rule.h"
#include "platform/messages.h"
#include "platform/platform.h"
#include "plot/checks.h"
#include "script/number_format.h"

namespace rizari {

namespace {

// The text of a point is built in a fixed buffer that goes to the file in large blocks, so memory
// use does not grow with the data set and the stdio layer sees few calls.
constexpr std::size_t kBufferSize = std::size_t{1} << 20;
constexpr std::size_t kMaxLine = 3 * (kMaxNumberText + 1) + 2;

class BlockFile {
public:
    BlockFile(std::FILE* file, char* buffer) : file_(file), begin_(buffer), at_(buffer) {}

    // Room for one more line, flushing the buffer first when it is nearly full.
    char* lineStart()
    {
        if (static_cast<std::size_t>(at_ - begin_) > kBufferSize - kMaxLine) flush();
        return at_;
    }
    void lineEnd(char* end) { at_ = end; }

    void flush()
    {
        const std::size_t size = static_cast<std::size_t>(at_ - begin_);
        if (size > 0 && std::fwrite(begin_, 1, size, file_) != size) failed_ = true;
        at_ = begin_;
    }
    bool failed() const { return failed_; }

private:
    std::FILE* file_;
    char* begin_;
    char* at_;
    bool failed_ = false;
};

template <class T> T entryAt(const unsigned char* base, std::size_t i)
{
    T v;
    std::memcpy(&v, base + i * sizeof(T), sizeof(T));
    return v;
}

// One entry as the element type's printf conversion writes it: 8-bit entries as the character
// itself (%c), integers in decimal (%hd %hu %d %u %ld %lu), floating point as %g with the digits
// its column needs.
template <class T> char* putEntry(char* out, T v, int digits)
{
    if constexpr (sizeof(T) == 1) {
        *out++ = static_cast<char>(v);
        return out;
    } else if constexpr (std::is_floating_point_v<T>) {
        return formatGDigits(out, static_cast<double>(v), digits);
    } else {
        return std::to_chars(out, out + kMaxNumberText, v).ptr;
    }
}

// The digits of each column.
struct ColumnDigits {
    int x = kPlainDigits, y = kPlainDigits, z = kPlainDigits;
};

template <class T> bool isMissing(T v)
{
    if constexpr (std::is_floating_point_v<T>)
        return std::isnan(v);
    else
        return false;
}

// How the coordinates of each line are made.
enum class Layout { XY, XYZ, XYZero };

// The columns of a data set's values as they lie: x, y and (for XYZ) z. Borrowed doubles may
// hold infinities, which are written as the library's copies hold them.
struct Columns {
    const unsigned char* x;
    const unsigned char* y;
    const unsigned char* z;
    bool finite;  // infinities become ±9.8e307
};

template <class T> T entryOf(const Columns& c, const unsigned char* column, std::size_t i)
{
    const T v = entryAt<T>(column, i);
    if constexpr (std::is_same_v<T, double>)
        return c.finite ? finiteValue(v) : v;
    else
        return v;
}

template <class T> ColumnDigits digitsOf(const Columns& c, std::size_t n, Layout layout)
{
    ColumnDigits digits;
    if constexpr (std::is_floating_point_v<T>) {
        digits.x = columnDigits<T>(c.x, n);
        digits.y = columnDigits<T>(c.y, n);
        if (layout == Layout::XYZ) digits.z = columnDigits<T>(c.z, n);
    }
    return digits;
}

template <class T> void writePoints(BlockFile& out, const Columns& c, std::size_t n, Layout layout, std::size_t rowLength,
                                    ColumnDigits digits)
{
    for (std::size_t i = 0; i < n; ++i) {
        char* p = out.lineStart();
        // The empty line between grid rows comes before the test for missing values, so a row
        // keeps its separator even when its first point is left out.
        if (layout == Layout::XYZ && i > 0 && rowLength > 0 && i % rowLength == 0) *p++ = '\n';
        const T y = entryOf<T>(c, c.y, i);
        bool missing = isMissing(y);
        T z{};
        if (layout == Layout::XYZ) {
            z = entryOf<T>(c, c.z, i);
            missing = missing || isMissing(z);
        }
        if (missing) {
            out.lineEnd(p);
            continue;
        }
        p = putEntry(p, entryOf<T>(c, c.x, i), digits.x);
        *p++ = ' ';
        p = putEntry(p, y, digits.y);
        if (layout == Layout::XYZ) {
            *p++ = ' ';
            p = putEntry(p, z, digits.z);
        } else if (layout == Layout::XYZero) {
            *p++ = ' ';
            *p++ = '0';
        }
        *p++ = '\n';
        out.lineEnd(p);
    }
}

// The digits of each column of a table of rows of cols doubles, as the columns of curves get
// them: a column of times keeps them apart. Plain digits where the memory to read a column is
// not to be had.
std::vector<int> tableDigits(const unsigned char* base, std::size_t rows, std::size_t cols)
{
    std::vector<int> digits;
    try {
        digits.assign(cols, kPlainDigits);
        std::vector<double> column(rows);
        for (std::size_t c = 0; c < cols; ++c) {
            for (std::size_t r = 0; r < rows; ++r) column[r] = entryAt<double>(base, r * cols + c);
            digits[c] = columnDigits<double>(reinterpret_cast<const unsigned char*>(column.data()), rows);
        }
    } catch (const std::bad_alloc&) {
        std::fill(digits.begin(), digits.end(), kPlainDigits);
    }
    return digits;
}

// One row of a table: each value followed by a blank, then the line end; digits[c] for column c.
void writeRow(BlockFile& out, const unsigned char* row, std::size_t cols, const std::vector<int>& digits)
{
    for (std::size_t c = 0; c < cols; ++c) {
        char* p = out.lineStart();
        p = formatGDigits(p, entryAt<double>(row, c), c < digits.size() ? digits[c] : kPlainDigits);
        *p++ = ' ';
        out.lineEnd(p);
    }
    char* p = out.lineStart();
    *p++ = '\n';
    out.lineEnd(p);
}

// The kept points of a thinned data set, written as the whole file writes its points, with the
// digits of the columns as the reduction read them; the reduction's own points as numbers of
// the element type where they are whole, else as doubles.
template <class T> class ReducedPoints : public KeptPoints {
public:
    ReducedPoints(BlockFile& out, const Columns& columns) : out_(out), columns_(columns) {}
    void statistics(const ColumnStats& x, const ColumnStats& y) override
    {
        if constexpr (std::is_floating_point_v<T>) digits_ = {columnDigits(x), columnDigits(y), kPlainDigits};
    }
    void original(std::size_t i) override { line(entryOf<T>(columns_, columns_.x, i), entryOf<T>(columns_, columns_.y, i)); }
    void extra(double x, double y) override
    {
        if constexpr (std::is_integral_v<T>) {
            if (x != std::trunc(x) || y != std::trunc(y)) return line(x, y);
            return line(static_cast<T>(x), static_cast<T>(y));
        }
        line(x, y);
    }

private:
    template <class V> void line(V x, V y)
    {
        char* p = out_.lineStart();
        p = putEntry(p, x, digits_.x);
        *p++ = ' ';
        p = putEntry(p, y, digits_.y);
        *p++ = '\n';
        out_.lineEnd(p);
    }
    BlockFile& out_;
    Columns columns_;
    ColumnDigits digits_;
};

// The kept rows of a thinned table; the reduction's own points as rows of x and y.
class ReducedRows : public KeptPoints {
public:
    ReducedRows(BlockFile& out, const unsigned char* values, std::size_t cols, const std::vector<int>& digits)
        : out_(out), values_(values), cols_(cols), digits_(digits)
    {
    }
    void original(std::size_t i) override { writeRow(out_, values_ + i * cols_ * sizeof(double), cols_, digits_); }
    void extra(double x, double y) override
    {
        unsigned char row[2 * sizeof(double)];
        std::memcpy(row, &x, sizeof x);
        std::memcpy(row + sizeof x, &y, sizeof y);
        writeRow(out_, row, 2, digits_);
    }

private:
    BlockFile& out_;
    const unsigned char* values_;
    std::size_t cols_;
    const std::vector<int>& digits_;
};

// The picture's axes of a target.
PictureAxes axesOf(const ReductionTarget& target)
{
    PictureAxes axes{{target.width, target.height}, std::nullopt, std::nullopt, target.logX, target.logY, target.lineWidth,
                     target.markRadius, target.layout, target.extremesOnly, target.dotColor.has_value()};
    if (target.xRange) axes.xRange = AxisSpan{(*target.xRange)[0], (*target.xRange)[1]};
    if (target.yRange) axes.yRange = AxisSpan{(*target.yRange)[0], (*target.yRange)[1]};
    return axes;
}

// Writes the points of the data set thinned for the picture; tells `reduction` how many it
// kept, or why none (nothing is written then).
bool writeReduced(KeptPoints& kept, const PointColumns& points, KeptCode<Style> plotType, MissingPoints missing, Reduction& reduction)
{
    const auto style = reducedStyle(plotType);
    if (!style) return false;
    const Thinning thinning = reducePoints(points, *style, missing, axesOf(reduction.target), kept);
    reduction.keptPoints = thinning.kept;
    reduction.whyWhole = thinning.whyWhole;
    if (thinning.shades) reduction.shades = std::make_shared<const DotShades>(std::move(*thinning.shades));
    return thinning.kept.has_value();
}

void writeMatrix(BlockFile& out, const DataSet& set, const MatrixShape& matrix, Reduction* reduction)
{
    if (matrix.rows <= 0 || matrix.cols <= 0) return;
    const std::size_t rows = static_cast<std::size_t>(matrix.rows);
    const std::size_t cols = static_cast<std::size_t>(matrix.cols);
    if (set.values->size() / sizeof(double) / cols < rows) return;  // values do not fill the matrix
    const unsigned char* base = set.values->data();
    const std::vector<int> digits = tableDigits(base, rows, cols);
    if (reduction && cols >= 2) {
        ReducedRows kept(out, base, cols, digits);
        const PointColumns points(base, base + sizeof(double), cols * sizeof(double), rows);
        if (writeReduced(kept, points, set.plotType, MissingPoints::Break, *reduction)) return;
    }
    for (std::size_t r = 0; r < rows; ++r) writeRow(out, base + r * cols * sizeof(double), cols, digits);
}

// The columns of a data set of n points: borrowed, or in its own block (none when the block is
// too small).
template <class T> std::optional<Columns> columnsOf(const DataSet& set, std::size_t n, std::size_t columns)
{
    if (set.borrowed) {
        if (columns != 2) return std::nullopt;
        return Columns{static_cast<const unsigned char*>(set.borrowed->x), static_cast<const unsigned char*>(set.borrowed->y), nullptr, true};
    }
    if (set.values->size() / sizeof(T) / columns < n) return std::nullopt;  // fewer values than points
    const unsigned char* values = set.values->data();
    return Columns{values, values + n * sizeof(T), values + 2 * n * sizeof(T), false};
}

template <class T> void writeTyped(BlockFile& out, const DataSet& set, int dimension, Reduction* reduction)
{
    if (set.pointCount <= 0) return;
    const std::size_t n = static_cast<std::size_t>(set.pointCount);
    // A data set added while the plot was 2D has no z values (and no grid): in a 3D plot it lies
    // in the plane z = 0.
    Layout layout = Layout::XY;
    if (dimension == 3) layout = set.gridXCount ? Layout::XYZ : Layout::XYZero;
    const auto columns = columnsOf<T>(set, n, layout == Layout::XYZ ? 3 : 2);
    if (!columns) return;
    if (reduction && layout == Layout::XY) {
        ReducedPoints<T> kept(out, *columns);
        const int type = set.elementType.code();
        const PointColumns points({columns->x, sizeof(T), type}, {columns->y, sizeof(T), type}, n);
        if (writeReduced(kept, points, set.plotType, MissingPoints::Joined, *reduction)) return;
    }
    const std::size_t rowLength = set.gridXCount ? n / static_cast<std::size_t>(*set.gridXCount) : 0;
    writePoints<T>(out, *columns, n, layout, rowLength, digitsOf<T>(*columns, n, layout));
}

bool writeValues(BlockFile& out, const DataSet& set, int dimension, Reduction* reduction)
{
    const std::optional<Element> type = set.elementType.known();
    if (!type) return false;
    switch (*type) {
    case Element::Char: writeTyped<std::int8_t>(out, set, dimension, reduction); break;
    case Element::UChar: writeTyped<std::uint8_t>(out, set, dimension, reduction); break;
    case Element::Short: writeTyped<std::int16_t>(out, set, dimension, reduction); break;
    case Element::UShort: writeTyped<std::uint16_t>(out, set, dimension, reduction); break;
    case Element::Int:
    case Element::Long: writeTyped<std::int32_t>(out, set, dimension, reduction); break;
    case Element::UInt:
    case Element::ULong: writeTyped<std::uint32_t>(out, set, dimension, reduction); break;
    case Element::Float: writeTyped<float>(out, set, dimension, reduction); break;
    case Element::Double: writeTyped<double>(out, set, dimension, reduction); break;
    }
    return true;
}

}  // namespace

WriteResult WriteDataFile(const DataSet& set, int dimension, std::FILE* file, Reduction* reduction)
{
    if (reduction) reduction->keptPoints.reset();
    if (dimension != 2) reduction = nullptr;
    const std::string name = set.fileName.value_or("");
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kBufferSize]);
    if (!buffer) {
        std::fclose(file);
        errno = ENOMEM;
        platform::reportWriteError(name);
        return WriteResult::Failed;
    }
    BlockFile out(file, buffer.get());
    bool known = true;
    if (set.values || set.borrowed) {
        if (set.matrix)
            writeMatrix(out, set, *set.matrix, reduction);
        else
            known = writeValues(out, set, dimension, reduction);
    } else if (!set.matrix && elementSize(set.elementType) == 0) {
        known = false;
    }
    if (!known) report("Error: unknown plot data type in CPlot::plotting()\n");
    out.flush();
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (out.failed() || !closed) {
        if (out.failed()) errno = writeError;
        platform::reportWriteError(name);
        return WriteResult::Failed;
    }
    return known ? WriteResult::Written : WriteResult::Refused;
}

}  // namespace rizari
