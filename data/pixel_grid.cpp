#include "data/pixel_grid.h"

#include <cmath>

namespace rizari {

namespace {

// A value this close to a rounding boundary (in terminal units) may round either way.
constexpr double kUnsure = 1e-6;
// The shapes' edges are measured to within this much of a pixel (antialiased coverage below
// 1/255 reads as none).
constexpr double kEdgeSlack = 0.1;

// n / d rounded half to even, for n >= 0.
long long roundedHalfEven(long long n, long long d)
{
    const long long q = n / d, twice = 2 * (n % d);
    if (twice > d) return q + 1;
    if (twice < d) return q;
    return q + (q & 1);
}

// n / d rounded down and up, for d > 0.
long long floorOf(long long n, long long d) { return n / d - (n % d < 0 ? 1 : 0); }
long long ceilingOf(long long n, long long d) { return -floorOf(-n, d); }

}  // namespace

std::optional<std::array<long long, 2>> PixelGrid::Axis::units(double value, double slack) const
{
    const double at = low + (value - min) * scale + 0.5, reach = std::fabs(value) * slack * std::fabs(scale) + kUnsure;
    if (!(at - reach >= 0 && at + reach < 1e15)) return std::nullopt;
    return std::array<long long, 2>{static_cast<long long>(std::floor(at - reach)), static_cast<long long>(std::floor(at + reach))};
}

PixelGrid::PixelGrid(const PlotLayout& l)
    : x_{l.xMin, (l.right - l.left) / (l.xMax - l.xMin), static_cast<double>(l.left), static_cast<double>(l.right)},
      y_{l.yMin, (l.top - l.bottom) / (l.yMax - l.yMin), static_cast<double>(l.bottom), static_cast<double>(l.top)}, pixel_(l.pixel), height_(l.height),
      columns_(l.width / l.pixel + 1), rows_(l.height / l.pixel + 1)
{
}

// A pixel spans half a pixel's units either side of its centre, k * pixel: the pixels wholly
// inside [low, high] have 2 k pixel - pixel >= 2 low and 2 k pixel + pixel <= 2 high.
PixelGrid::Span PixelGrid::innerColumns() const
{
    const auto low = static_cast<long long>(x_.low), high = static_cast<long long>(x_.high);
    return {static_cast<int>(ceilingOf(2 * low + pixel_, 2 * pixel_)), static_cast<int>(floorOf(2 * high - pixel_, 2 * pixel_))};
}

// Rows count from the top: row k's centre is height - k * pixel.
PixelGrid::Span PixelGrid::innerRows() const
{
    const auto low = static_cast<long long>(y_.low), high = static_cast<long long>(y_.high);
    return {static_cast<int>(ceilingOf(2 * (height_ - high) + pixel_, 2 * pixel_)), static_cast<int>(floorOf(2 * (height_ - low) - pixel_, 2 * pixel_))};
}

double PixelGrid::xAt(int column) const { return x_.valueAt(column * pixel_); }
double PixelGrid::yAt(int row) const { return y_.valueAt(height_ - row * pixel_); }

std::optional<Pixel> PixelGrid::pixelOf(double x, double y, double xSlack, double ySlack) const
{
    const auto ux = x_.units(x, xSlack), uy = y_.units(y, ySlack);
    if (!ux || !uy || (*uy)[1] > height_ || pixel_ <= 0) return std::nullopt;
    const long long column = roundedHalfEven((*ux)[0], pixel_), row = roundedHalfEven(height_ - (*uy)[1], pixel_);
    const bool sure = column == roundedHalfEven((*ux)[1], pixel_) && row == roundedHalfEven(height_ - (*uy)[0], pixel_);
    if (!sure || column >= columns_ || row >= rows_) return std::nullopt;
    return Pixel{static_cast<int>(column), static_cast<int>(row)};
}

MarkShape MarkShape::touched(double radius)
{
    MarkShape shape;
    const double reach = radius + kEdgeSlack;
    const int rows = static_cast<int>(std::ceil(reach + 0.5));
    for (int dy = -rows; dy <= rows; ++dy) {
        const double near = std::max(std::abs(dy) - 0.5, 0.0);
        if (near >= reach) continue;
        // The nearest point of the pixel dx away is |dx| - 1/2 away across.
        const int half = static_cast<int>(std::ceil(std::sqrt(reach * reach - near * near) + 0.5)) - 1;
        shape.spans_.push_back({dy, -half, half});
    }
    return shape;
}

MarkShape MarkShape::covered(double radius)
{
    MarkShape shape;
    const double reach = radius - kEdgeSlack;
    const int rows = static_cast<int>(std::floor(reach - 0.5));
    for (int dy = -rows; dy <= rows; ++dy) {
        const double far = std::abs(dy) + 0.5;
        if (far > reach) continue;
        // The farthest corner of the pixel dx away is |dx| + 1/2 away across.
        const int half = static_cast<int>(std::floor(std::sqrt(reach * reach - far * far) - 0.5));
        if (half >= 0) shape.spans_.push_back({dy, -half, half});
    }
    return shape;
}

Coverage::Coverage(int columns, int rows)
    : columns_(columns), rows_(rows), words_(static_cast<std::size_t>(columns + 63) / 64),
      bits_(words_ * static_cast<std::size_t>(rows), 0)
{
}

bool Coverage::spanCovered(int row, int from, int to) const
{
    if (row < 0 || row >= rows_ || from < 0 || to >= columns_) return false;
    const std::uint64_t* line = bits_.data() + static_cast<std::size_t>(row) * words_;
    for (int c = from; c <= to;) {
        const int bit = c % 64, last = std::min(to, c - bit + 63);
        const int count = last - c + 1;
        const std::uint64_t want = (count == 64 ? ~std::uint64_t{0} : ((std::uint64_t{1} << count) - 1)) << bit;
        if ((line[c / 64] & want) != want) return false;
        c = last + 1;
    }
    return true;
}

bool Coverage::covers(Pixel centre, const MarkShape& shape) const
{
    for (const MarkShape::Span& s : shape.spans())
        if (!spanCovered(centre.row + s.dy, centre.column + s.from, centre.column + s.to)) return false;
    return true;
}

void Coverage::add(Pixel centre, const MarkShape& shape)
{
    for (const MarkShape::Span& s : shape.spans()) {
        const int row = centre.row + s.dy;
        if (row < 0 || row >= rows_) continue;
        std::uint64_t* line = bits_.data() + static_cast<std::size_t>(row) * words_;
        for (int c = std::max(0, centre.column + s.from); c <= std::min(columns_ - 1, centre.column + s.to); ++c)
            line[c / 64] |= std::uint64_t{1} << (c % 64);
    }
}

}  // namespace rizari
