#include "data/reduction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "data/pixel_grid.h"
#include "data/reduction_band.h"

namespace rizari {

namespace {

constexpr std::size_t kNoPoint = std::numeric_limits<std::size_t>::max();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// gnuplot leaves values beyond this out of the picture (the library writes an infinity as
// ±9.8e307), which breaks a line as a missing point does.
constexpr double kFarOut = 1e300;
// cairo terminals place everything on a lattice of 1/200 pixel.
constexpr double kEngineUnit = 1.0 / 200.0;
// Larger pictures (cairo's limit is 32767 pixels a side) are written whole.
constexpr int kMostPixels = 32767;
// The counters of the point styles, two bits a cell, may take this much memory.
constexpr std::size_t kMostCounterBytes = std::size_t{8} << 20;
// A filled curve's bucket is taken in pieces of at most this many points.
constexpr std::size_t kMostBufferedPoints = std::size_t{1} << 16;
// The plot area spans at least this share of the picture's width and height (the axes' tic labels
// and titles take the rest).
constexpr double kSmallestPlotShare = 0.6;
// Lines and steps are checked this many points at a time.
constexpr std::size_t kBlock = 256;
// The joined styles estimate the y extent, before their one pass, from this many points.
constexpr std::size_t kExtentSamples = 8192;

template <class T> T entryAt(const ValueColumn& c, std::size_t i)
{
    T v;
    std::memcpy(&v, c.base + i * c.stride, sizeof v);
    return v;
}

// Values read in one known element type, or in any (a switch per value).
template <class T> struct ValuesOf {
    static double at(const ValueColumn& c, std::size_t i) { return static_cast<double>(entryAt<T>(c, i)); }
};
struct AnyValues {
    static double at(const ValueColumn& c, std::size_t i) { return valueAt(c, i); }
};

// The points in the picture's space: the log10 of a value on a log axis, else the value.
template <class Values> class Points {
public:
    Points(const PointColumns& p, const PictureAxes& axes)
        : x_(p.xColumn()), y_(p.yColumn()), n_(p.size()), logX_(axes.logX), logY_(axes.logY)
    {
    }
    std::size_t size() const { return n_; }
    double rawX(std::size_t i) const { return Values::at(x_, i); }
    double rawY(std::size_t i) const { return Values::at(y_, i); }
    double x(std::size_t i) const { return logX_ ? std::log10(rawX(i)) : rawX(i); }
    double y(std::size_t i) const { return logY_ ? std::log10(rawY(i)) : rawY(i); }
    // A point the writer leaves out: its y is NaN.
    bool leftOut(std::size_t i) const { return std::isnan(rawY(i)); }
    // Asks for point i's values ahead of their use.
    void prefetch([[maybe_unused]] std::size_t i) const
    {
#if defined(__GNUC__)
        __builtin_prefetch(x_.base + i * x_.stride);
        __builtin_prefetch(y_.base + i * y_.stride);
#endif
    }

private:
    ValueColumn x_, y_;
    std::size_t n_;
    bool logX_, logY_;
};

// An interval of the picture's space.
struct Window {
    double low = kInfinity, high = -kInfinity;
    double span() const { return high - low; }
    bool spread() const { return high > low && std::isfinite(span()); }
};

// An axis range in the picture's space.
Window windowOf(const AxisSpan& span, bool log)
{
    const double a = log ? std::log10(span.from) : span.from, b = log ? std::log10(span.to) : span.to;
    return {std::min(a, b), std::max(a, b)};
}

// Where a point lies for the picture.
enum class Place { LeftOut, Before, Inside, After, Failed };

// Reads each point once: checks that gnuplot draws it as the reduction assumes, places it
// against the x range and gathers the statistics of both columns.
template <class P> class Scanner {
public:
    Scanner(const P& p, MissingPoints missing, const PictureAxes& axes, bool joined)
        : p_(p), missing_(missing), logX_(axes.logX), logY_(axes.logY), joined_(joined)
    {
        if (axes.xRange) {
            zoom_ = windowOf(*axes.xRange, axes.logX);
            zoomed_ = true;
        }
    }

    // Point i in the picture's space (x, y set when it is drawn).
    Place take(std::size_t i, double& x, double& y)
    {
        const double rx = p_.rawX(i), ry = p_.rawY(i);
        xStats.add(rx);
        if (std::isnan(ry)) {
            if (missing_ == MissingPoints::Break) return fail("a missing point breaks its line");
            return Place::LeftOut;
        }
        yStats.add(ry);
        // Also false for NaN: an x of NaN is written as it is, and gnuplot breaks the line there.
        if (!(std::fabs(rx) <= kFarOut && std::fabs(ry) <= kFarOut)) return fail("it holds an infinity or a value beyond 1e300");
        if ((logX_ && !(rx > 0)) || (logY_ && !(ry > 0))) return fail("it holds a value at or below 0 on a log axis");
        x = logX_ ? std::log10(rx) : rx;
        y = logY_ ? std::log10(ry) : ry;
        if (x < previousX_) {
            sorted = false;
            if (joined_) return fail("its x values are not in order");
        }
        previousX_ = x;
        ++drawn;
        if (zoomed_ && x < zoom_.low) return Place::Before;
        if (zoomed_ && x > zoom_.high) return Place::After;
        return Place::Inside;
    }

    // Whether runs of points can be taken at once (takeRun): linear axes without an x range.
    bool takesRuns() const { return !logX_ && !logY_ && !zoomed_; }

    // A run of points taken at once: where it ends, its lowest and highest y, the smallest step and
    // the last value of x.
    struct Run {
        std::size_t end = 0;
        std::size_t low = 0, high = 0;
        double lowY = kInfinity, highY = -kInfinity;
        double spacing = kInfinity, lastX = 0;
    };

    // The points from `from` on whose x lies below `xEnd` (the first always), where they are all
    // drawn, within the picture's values and in order: the common case, read once with few tests a
    // point. None otherwise (the points then go the careful way, one at a time). The smallest step
    // of x is gathered only where the digits rule needs it. take() counts them in.
    std::optional<Run> runFrom(std::size_t from, double xEnd) const
    {
        bool fine = true;
        double previous = previousX_;
        Run run{from, from, from};
        const auto takePoint = [&](std::size_t i, double x) {
            const double y = p_.rawY(i), step = x - previous;
            // NaN fails both: a missing point, or an x of NaN.
            fine &= (step >= 0) & (y == y);
            if (needsSpacing_) run.spacing = step > 0 && step < run.spacing ? step : run.spacing;
            previous = x;
            if (y < run.lowY) run.lowY = y, run.low = i;
            if (y > run.highY) run.highY = y, run.high = i;
        };
        const std::size_t n = p_.size();
        takePoint(from, p_.rawX(from));
        std::size_t i = from + 1;
        if (!needsSpacing_) i = takeBlocks(i, xEnd, previous, fine, run);
        for (; i < n; ++i) {
            const double x = p_.rawX(i);
            if (x >= xEnd) break;
            takePoint(i, x);
        }
        run.end = i;
        run.lastX = previous;
        // In order, the values between the ends are within them.
        const double firstX = p_.rawX(from);
        if (!fine || !(std::fabs(firstX) <= kFarOut && std::fabs(previous) <= kFarOut && run.lowY >= -kFarOut && run.highY <= kFarOut))
            return std::nullopt;
        return run;
    }

    // Takes the points from i on in blocks of eight wholly below xEnd, as runFrom takes them one by
    // one: a block's extremes are found as a tree, so that the points of a block overlap, and a
    // run's extreme is looked up in the block that holds it. Returns where the blocks end.
    std::size_t takeBlocks(std::size_t i, double xEnd, double& previous, bool& fine, Run& run) const
    {
        constexpr std::size_t kBlockPoints = 8;
        std::size_t lowBlock = kNoPoint, highBlock = kNoPoint;
        for (; i + kBlockPoints <= p_.size(); i += kBlockPoints) {
            std::array<double, kBlockPoints> x, y;
            for (std::size_t k = 0; k < kBlockPoints; ++k) x[k] = p_.rawX(i + k), y[k] = p_.rawY(i + k);
            if (x[kBlockPoints - 1] >= xEnd) break;
            bool ok = (x[0] - previous >= 0) & (y[0] == y[0]);
            for (std::size_t k = 1; k < kBlockPoints; ++k) ok &= (x[k] - x[k - 1] >= 0) & (y[k] == y[k]);
            fine &= ok;
            previous = x[kBlockPoints - 1];
            std::array<double, kBlockPoints / 2> lows, highs;
            for (std::size_t k = 0; k < kBlockPoints / 2; ++k) lows[k] = std::min(y[2 * k], y[2 * k + 1]), highs[k] = std::max(y[2 * k], y[2 * k + 1]);
            const double low = std::min(std::min(lows[0], lows[1]), std::min(lows[2], lows[3]));
            const double high = std::max(std::max(highs[0], highs[1]), std::max(highs[2], highs[3]));
            if (low < run.lowY) run.lowY = low, lowBlock = i;
            if (high > run.highY) run.highY = high, highBlock = i;
        }
        // The first point of its block with the extreme's value: the first in the run.
        if (lowBlock != kNoPoint) run.low = firstEqual(lowBlock, run.lowY);
        if (highBlock != kNoPoint) run.high = firstEqual(highBlock, run.highY);
        return i;
    }

    // The first point from `from` on whose y equals `value`, which is there.
    std::size_t firstEqual(std::size_t from, double value) const
    {
        while (!(p_.rawY(from) == value)) ++from;
        return from;
    }

    void take(std::size_t from, const Run& run)
    {
        if (yStats.ascending || yStats.descending) {
            for (std::size_t k = from; k < run.end; ++k) yStats.add(p_.rawY(k));
        }
        yStats.low = std::min(yStats.low, run.lowY);
        yStats.high = std::max(yStats.high, run.highY);
        // x in order: its statistics follow from the ends, the steps and the value before.
        const double firstX = p_.rawX(from);
        xStats.add(firstX);
        xStats.low = std::min(xStats.low, firstX);
        xStats.high = std::max(xStats.high, run.lastX);
        if (run.lastX > firstX) xStats.descending = false;
        xStats.spacing = std::min(xStats.spacing, run.spacing);
        xStats.last = run.lastX;
        previousX_ = run.lastX;
        drawn += run.end - from;
        insideSeen += run.end - from;
    }

    // The digits rule needs the spacing of x only where its extremes alone call for more digits
    // than the plain six: x in order, they are its first and last values.
    void spacingNeededFor(double firstX, double lastX)
    {
        ColumnStats ends;
        ends.add(firstX);
        ends.add(lastX);
        ends.ascending = ends.descending = false;
        needsSpacing_ = columnDigits(ends) > kPlainDigits;
    }
    // The statistics, once the pass is done: where the spacing was not gathered, x counts as
    // unordered for the digits rule (which then goes by its extremes alone).
    ColumnStats xStatistics() const
    {
        ColumnStats out = xStats;
        if (!needsSpacing_) out.ascending = out.descending = false;
        return out;
    }

    // The rest of a joined data set after the x range: only whether it stays in order.
    bool restInOrder(std::size_t from)
    {
        for (std::size_t i = from; i < p_.size(); ++i) {
            if (p_.leftOut(i)) continue;
            const double x = p_.x(i);
            if (x < previousX_) {
                fail("its x values are not in order");
                return false;
            }
            previousX_ = x;
            ++drawn;
        }
        return true;
    }

    ColumnStats xStats, yStats;
    std::size_t drawn = 0;
    std::size_t insideSeen = 0;  // drawn points inside the x range so far (lines)
    bool sorted = true;
    std::string_view failure;

private:
    Place fail(std::string_view why)
    {
        failure = why;
        return Place::Failed;
    }
    const P& p_;
    MissingPoints missing_;
    bool logX_, logY_, joined_;
    bool zoomed_ = false;
    Window zoom_;
    double previousX_ = -kInfinity;
    bool needsSpacing_ = true;
};

// The drawn points inside the x range, in the picture's space.
struct Extent {
    double xmin = kInfinity, xmax = -kInfinity, ymin = kInfinity, ymax = -kInfinity;
    std::size_t count = 0;
    std::size_t ixmin = 0, ixmax = 0, iymin = 0, iymax = 0;
    // With an x range: the last drawn point before it and the first after it (joined styles).
    std::size_t before = kNoPoint, after = kNoPoint;
    Window xWindow, yWindow;  // what the picture shows: the axis ranges, else the points' extent

    void add(std::size_t i, double x, double y)
    {
        ++count;
        if (x < xmin) xmin = x, ixmin = i;
        if (x > xmax) xmax = x, ixmax = i;
        if (y < ymin) ymin = y, iymin = i;
        if (y > ymax) ymax = y, iymax = i;
    }
    bool isExtreme(std::size_t i) const { return i == ixmin || i == ixmax || i == iymin || i == iymax; }
    // The points that set the ranges, in order, each once.
    std::vector<std::size_t> extremes() const
    {
        std::vector<std::size_t> out{ixmin, ixmax, iymin, iymax};
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    }
};

// The windows of the picture: the axis ranges where given, else the extent of the points.
void setWindows(Extent& e, const PictureAxes& axes)
{
    e.xWindow = axes.xRange ? windowOf(*axes.xRange, axes.logX) : Window{e.xmin, e.xmax};
    e.yWindow = axes.yRange ? windowOf(*axes.yRange, axes.logY) : Window{e.ymin, e.ymax};
}

// The result of a reduction that leaves the data set whole.
Thinning whole(std::string_view why = {})
{
    Thinning result;
    result.whyWhole = why;
    return result;
}

// The kept points, held until the reduction is known to succeed, then handed out in order with
// the reduction's own points taken back from the picture's space. A line that may be drawn as a
// band holds its points with their places, noted as they come while their values are still in
// the cache.
template <class P> class HeldPoints : public KeptPoints {
public:
    HeldPoints(const P& p, const PictureAxes& axes, bool notePlaces) : p_(p), logX_(axes.logX), logY_(axes.logY), notePlaces_(notePlaces) {}
    void statistics(const ColumnStats& x, const ColumnStats& y) override { x_ = x, y_ = y; }
    // Room for this many points: fresh memory costs a page fault a page, and a list that grows is
    // copied into ever fresh memory.
    void reserve(std::size_t points)
    {
        if (notePlaces_) line_.reserve(points);
        else order_.reserve(points);
    }
    void original(std::size_t i) override
    {
        if (notePlaces_) line_.push_back({p_.x(i), p_.y(i), i});
        else order_.push_back(i);
    }
    void extra(double x, double y) override
    {
        if (notePlaces_) {
            line_.push_back({x, y, std::nullopt});
            return;
        }
        order_.push_back(kExtraMark | extras_.size());
        extras_.push_back({x, y});
    }
    std::size_t handTo(KeptPoints& out) const
    {
        // Kept points lie far apart in memory: their values are asked for a few points ahead.
        constexpr std::size_t kAhead = 16;
        out.statistics(x_, y_);
        for (std::size_t k = 0; k < order_.size(); ++k) {
            if (k + kAhead < order_.size() && !(order_[k + kAhead] & kExtraMark)) p_.prefetch(static_cast<std::size_t>(order_[k + kAhead]));
            const std::uint64_t held = order_[k];
            if (held & kExtraMark) {
                const auto& [x, y] = extras_[held & ~kExtraMark];
                handOwn(out, x, y);
            } else {
                out.original(static_cast<std::size_t>(held));
            }
        }
        for (std::size_t k = 0; k < line_.size(); ++k) {
            if (k + kAhead < line_.size() && line_[k + kAhead].index) p_.prefetch(*line_[k + kAhead].index);
            const LinePoint& point = line_[k];
            if (point.index) out.original(*point.index);
            else handOwn(out, point.x, point.y);
        }
        return order_.size() + line_.size();
    }

    // A dense line's strokes cut where they cross the solid band they draw (data/reduction_band.h).
    void cutThroughBand(const BucketSpans& spans, const BandScale& scale)
    {
        if (auto cut = rizari::cutThroughBand(line_, spans, scale)) line_ = std::move(*cut);
    }

private:
    void handOwn(KeptPoints& out, double x, double y) const { out.extra(logX_ ? std::pow(10.0, x) : x, logY_ ? std::pow(10.0, y) : y); }

    static constexpr std::uint64_t kExtraMark = std::uint64_t{1} << 63;
    const P& p_;
    std::vector<std::uint64_t> order_;
    std::vector<std::array<double, 2>> extras_;  // in the picture's space
    std::vector<LinePoint> line_;                // instead, where places are noted
    ColumnStats x_, y_;
    bool logX_, logY_, notePlaces_;
};

// The bucket of an x among `buckets` equal parts of a window.
class Buckets {
public:
    Buckets(const Window& w, std::size_t buckets) : low_(w.low), scale_(static_cast<double>(buckets) / w.span()), last_(buckets - 1) {}
    std::size_t of(double x) const
    {
        const double at = (x - low_) * scale_;
        return at <= 0 ? 0 : std::min(last_, static_cast<std::size_t>(at));
    }
    std::size_t count() const { return last_ + 1; }

private:
    double low_;
    double scale_;
    std::size_t last_;
};

// Saturating counts (0 to 3) of the points in each cell of a grid over the picture's windows.
class CellCounts {
public:
    // None when the counters would take too much memory.
    static std::optional<CellCounts> over(const Extent& e, std::size_t columns, std::size_t rows)
    {
        if (columns * rows / 4 + 1 > kMostCounterBytes) return std::nullopt;
        return CellCounts(e, columns, rows);
    }

    // None for a point outside the windows, which is not drawn.
    std::optional<std::size_t> cellOf(double x, double y) const
    {
        const double column = (x - xmin_) * xScale_, row = (y - ymin_) * yScale_;
        if (!(column >= 0 && row >= 0 && column <= static_cast<double>(columns_) && row <= static_cast<double>(rows_))) return std::nullopt;
        return std::min(rows_ - 1, static_cast<std::size_t>(row)) * columns_ + std::min(columns_ - 1, static_cast<std::size_t>(column));
    }
    unsigned count(std::size_t cell) const { return (bits_[cell / 4] >> (cell % 4 * 2)) & 3u; }
    void add(std::size_t cell)
    {
        if (count(cell) < 3) bits_[cell / 4] = static_cast<std::uint8_t>(bits_[cell / 4] + (1u << (cell % 4 * 2)));
    }

private:
    CellCounts(const Extent& e, std::size_t columns, std::size_t rows)
        : xmin_(e.xWindow.low), ymin_(e.yWindow.low), xScale_(static_cast<double>(columns) / e.xWindow.span()),
          yScale_(static_cast<double>(rows) / e.yWindow.span()), columns_(columns), rows_(rows), bits_(columns * rows / 4 + 1, 0)
    {
    }
    double xmin_, ymin_, xScale_, yScale_;
    std::size_t columns_, rows_;
    std::vector<std::uint8_t> bits_;
};

// ---- Joined styles: lines, steps, and the line of linespoints ----

// Per bucket the first, lowest, highest and last point, each with its original neighbours (so
// that gnuplot's snapping to the pixel grid decides for it as in the whole data). Two regimes
// are told apart by the bucket's steps in estimated pixels: a dense smooth curve (nearly every
// step within two lattice units), which gnuplot draws as a fine axis-aligned staircase and the
// reduction samples in small steps with the staircase's corners added; and dense noise of a few
// pixels (steps narrower than a lattice unit, 0.3 to 3 pixels high), where gnuplot snaps some
// segments and not others and four sub-buckets keep more of it. Where the steps are tall (noise
// of many pixels) and narrower than a lattice unit, the band's outline is drawn by several
// spikes, some snapped: the highest and lowest point of another quarter stay as well; tall steps
// a lattice unit or wider are never snapped, and their extremes need no neighbours. The steps
// styles draw their own risers: in their smooth runs a point is added wherever y moved half a
// pixel, since a made-up riser longer than a pixel would be snapped to the grid.
//
// The points come in order, a quarter at a time where they are plainly drawn (addRun) or one at a
// time (add), each read once from memory; a bucket's first steps are read again while they are
// still in the cache.
template <class P> class LineReducer {
public:
    struct Options {
        bool stepsStyle;  // steps, fsteps, histeps
        bool corners;     // staircase corners may be added (not between the marks of linespoints)
    };

    // ySpan: the y extent the picture shows, or an estimate of it (a little small is safe: the
    // pixel sizes stay upper bounds).
    LineReducer(const P& p, const Window& xWindow, double ySpan, PixelArea area, Options options, KeptPoints& out)
        : p_(p), out_(out), options_(options), height_(area.height), low_(xWindow.low),
          // Upper bounds of the pixels per unit: the plot area is smaller than the terminal, and
          // autoscaled axes are at least as wide as the data.
          xPixels_(area.width / xWindow.span()), ySpan_(ySpan)
    {
        const std::size_t buckets = static_cast<std::size_t>(kBucketsPerPixel) * static_cast<std::size_t>(area.width) * (options.stepsStyle ? 2 : 1);
        quarterScale_ = static_cast<double>(buckets * kQuarters) / xWindow.span();
        lastQuarter_ = buckets * kQuarters - 1;
        spans_.xLow = xWindow.low;
        spans_.bucketWidth = xWindow.span() / static_cast<double>(buckets);
        spans_.low.assign(buckets, kInfinity);
        spans_.high.assign(buckets, -kInfinity);
        spans_.points.assign(buckets, 0);
    }

    // Drawn point i inside the x range, at (x, y) in the picture's space. The extremes of the
    // bucket's four quarters are kept on the way, so that a bucket is read again only where it
    // is smooth (its samples) or where the steps styles need their risers.
    void add(std::size_t i, double x, double y)
    {
        const std::size_t quarter = quarterOf(x);
        if (quarter != currentQuarter_) return startQuarter(quarter, {i, i, i, i, y, y, 1});
        ++open_.points;
        open_.last = i;
        if (y < open_.lowY) open_.lowY = y, open_.low = i;
        if (y > open_.highY) open_.highY = y, open_.high = i;
    }

    // Drawn points first .. last, all in one quarter, whose lowest and highest are known: as
    // add() of each in turn.
    template <class Run> void addRun(std::size_t first, std::size_t last, const Run& run)
    {
        const std::size_t quarter = quarterOf(p_.x(first));
        const auto points = static_cast<std::uint32_t>(last - first + 1);
        if (quarter != currentQuarter_) return startQuarter(quarter, {first, last, run.low, run.high, run.lowY, run.highY, points});
        open_.points += points;
        open_.last = last;
        if (run.lowY < open_.lowY) open_.lowY = run.lowY, open_.low = run.low;
        if (run.highY > open_.highY) open_.highY = run.highY, open_.high = run.high;
    }

    // Where the quarter of an x ends: the x from which on points lie in a later quarter (+inf for
    // the last), about; a run up to it is checked against quarterOf (takeRun's points).
    double quarterEnd(double x) const
    {
        const std::size_t quarter = quarterOf(x);
        return quarter == lastQuarter_ ? kInfinity : low_ + static_cast<double>(quarter + 1) / quarterScale_;
    }
    bool inOneQuarter(std::size_t first, std::size_t last) const
    {
        const std::size_t quarter = quarterOf(p_.x(first));
        return quarterOf(p_.x(last)) == quarter && (last + 1 >= p_.size() || quarterOf(p_.x(last + 1)) != quarter);
    }

    void finish()
    {
        closeQuarter();
        if (first_ == kNoPoint) return;
        // The y extent seen so far only grows: the estimate is replaced once it is exceeded.
        yPixels_ = height_ / std::max({ySpan_, seenHigh_ - seenLow_, std::numeric_limits<double>::min()});
        reduceBucket(first_, quarters_[lastQuarterOfBucket_].last);
        first_ = kNoPoint;
        quarters_.fill(Quarter{});
    }

    bool ySpread() const { return seenHigh_ > seenLow_; }
    double ySpan() const { return seenHigh_ - seenLow_; }
    // What the drawn points of each bucket cover, once finished.
    const BucketSpans& spans() const { return spans_; }

private:
    // The drawn points of a quarter of a bucket: the first, last, lowest and highest, and how many.
    struct Quarter {
        std::size_t first = kNoPoint, last = kNoPoint, low = kNoPoint, high = kNoPoint;
        double lowY = 0, highY = 0;
        std::uint32_t points = 0;
    };

    // The quarter being filled goes to its bucket's four.
    void closeQuarter()
    {
        if (currentQuarter_ == kNoPoint) return;
        quarters_[currentQuarter_ % kQuarters] = open_;
        lastQuarterOfBucket_ = currentQuarter_ % kQuarters;
        seenLow_ = std::min(seenLow_, open_.lowY);
        seenHigh_ = std::max(seenHigh_, open_.highY);
        currentQuarter_ = kNoPoint;
    }

    // The quarter of an x (NaN and values beyond the window in the first or last).
    std::size_t quarterOf(double x) const
    {
        const double at = (x - low_) * quarterScale_;
        if (!(at > 0)) return 0;
        return at >= static_cast<double>(lastQuarter_) ? lastQuarter_ : static_cast<std::size_t>(at);
    }

    void startQuarter(std::size_t quarter, const Quarter& points)
    {
        closeQuarter();
        if (quarter / kQuarters != current_) {
            finish();
            current_ = quarter / kQuarters;
            first_ = points.first;
        }
        currentQuarter_ = quarter;
        open_ = points;
    }

    static constexpr std::size_t kQuarters = 4;
    // The steps of a bucket that decide its regime: the first so many.
    static constexpr std::size_t kSampledSteps = 128;

    std::size_t next(std::size_t i) const
    {
        do ++i;
        while (i < p_.size() && p_.leftOut(i));
        return i;
    }
    std::size_t previous(std::size_t i) const
    {
        while (i > 0)
            if (!p_.leftOut(--i)) return i;
        return kNoPoint;
    }

    // The drawn points a .. b of one bucket.
    void reduceBucket(std::size_t a, std::size_t b)
    {
        std::size_t sampled = 0, lattice = 0, chaos = 0, tall = 0, narrow = 0;
        double xi = p_.x(a), yi = p_.y(a);
        for (std::size_t j = next(a); j <= b && sampled < kSampledSteps; j = next(j)) {
            const double xj = p_.x(j), yj = p_.y(j);
            const double dx = (xj - xi) * xPixels_, dy = std::fabs(yj - yi) * yPixels_;
            ++sampled;
            if (std::max(dx, dy) <= 2 * kEngineUnit) ++lattice;
            else if (dx < kEngineUnit && dy >= 0.3 && dy <= 3.0) ++chaos;
            if (dy >= 2 && dx < 1) ++tall;
            if (dx < kEngineUnit) ++narrow;
            xi = xj, yi = yj;
        }
        const Quarter* lowest = nullptr;
        const Quarter* highest = nullptr;
        for (const Quarter& q : quarters_) {
            if (q.first == kNoPoint) continue;
            if (!lowest || q.lowY < lowest->lowY) lowest = &q;
            if (!highest || q.highY > highest->highY) highest = &q;
        }
        lowest_ = lowest->low;
        highest_ = highest->high;
        spans_.low[current_] = lowest->lowY;
        spans_.high[current_] = highest->highY;
        for (const Quarter& q : quarters_) spans_.points[current_] += q.points;
        const bool staircase = options_.corners && !options_.stepsStyle && sampled >= 8 && lattice * 10 >= sampled * 8;
        const bool noise = !staircase && sampled >= 16 && chaos * 10 >= sampled * 4;
        anchors_.clear();
        if (noise) {
            for (const Quarter& q : quarters_)
                if (q.first != kNoPoint) addExtremes(q.first, q.last, q.low, q.high, 2);
        } else {
            // Tall strokes a lattice unit or more apart are never snapped: their extremes need no
            // neighbours, and the spikes' tips lie apart.
            const bool tallStrokes = !staircase && !options_.stepsStyle && tall * 10 >= sampled * 4;
            const bool snapped = narrow * 10 >= sampled * 5;
            addExtremes(a, b, lowest_, highest_, tallStrokes && !snapped ? 0 : 1);
            if (tallStrokes && snapped) addPeaks(a, b);
        }
        std::sort(anchors_.begin(), anchors_.end());
        anchors_.erase(std::unique(anchors_.begin(), anchors_.end()), anchors_.end());
        if (staircase || options_.stepsStyle) {
            emitBucket(a, b, staircase);
        } else {
            for (std::size_t i : anchors_) emit(i, false);
            previousStaircase_ = false;
        }
    }

    // The given points (first, lowest, highest, last of a .. b), each with up to `reach` drawn
    // neighbours on either side within a .. b.
    void addExtremes(std::size_t a, std::size_t b, std::size_t low, std::size_t high, int reach)
    {
        for (std::size_t c : {a, low, high, b}) {
            anchors_.push_back(c);
            std::size_t left = c, right = c;
            for (int k = 0; k < reach; ++k) {
                if (left != kNoPoint && left > a) {
                    left = previous(left);
                    if (left != kNoPoint && left >= a) anchors_.push_back(left);
                    else left = kNoPoint;
                }
                if (right != kNoPoint && right < b) {
                    right = next(right);
                    if (right <= b) anchors_.push_back(right);
                    else right = kNoPoint;
                }
            }
        }
    }

    // The next highest and lowest point of a bucket of tall strokes, each with its neighbours: the
    // outline of the band the strokes draw is the spikes of several of them, where the lines two
    // pixels wide reach beyond the bucket's one highest point. They are the highest (and lowest)
    // of the other quarters.
    void addPeaks(std::size_t a, std::size_t b)
    {
        const Quarter* high = nullptr;
        const Quarter* low = nullptr;
        for (const Quarter& q : quarters_) {
            if (q.first == kNoPoint) continue;
            if (q.high != highest_ && (!high || q.highY > high->highY)) high = &q;
            if (q.low != lowest_ && (!low || q.lowY < low->lowY)) low = &q;
        }
        if (high) addExtremes(a, b, high->high, high->high, 1);
        if (low) addExtremes(a, b, low->low, low->low, 1);
    }

    // Whether drawn point i is an anchor; i never decreases from one call to the next within a
    // bucket.
    bool anchored(std::size_t i)
    {
        while (anchorAt_ < anchors_.size() && anchors_[anchorAt_] < i) ++anchorAt_;
        return anchorAt_ < anchors_.size() && anchors_[anchorAt_] == i;
    }

    // Hands out the bucket's kept points in order: its anchors, the staircase's samples and the
    // risers of the steps styles.
    void emitBucket(std::size_t a, std::size_t b, bool staircase)
    {
        anchorAt_ = 0;
        firstOfBucket_ = true;
        std::size_t lastSample = a;
        const double riser = 0.5 / yPixels_;  // half a pixel, in data units
        double riserBase = p_.y(a);
        bool rough = false;
        for (std::size_t i = a; i <= b;) {
            const std::size_t j = next(i);
            bool keep = anchored(i);
            if (staircase && i != a) {
                const double dx = (p_.x(i) - p_.x(lastSample)) * xPixels_;
                const double dy = std::fabs(p_.y(i) - p_.y(lastSample)) * yPixels_;
                if (i == lowest_ || i == highest_ || i == b || std::min(dx, dy) >= 0.05 || std::max(dx, dy) >= 0.5) {
                    keep = true;
                    lastSample = i;
                }
            }
            if (options_.stepsStyle && j <= b) {
                if (std::fabs(p_.y(j) - p_.y(i)) >= riser) rough = true;
                if (!rough && std::fabs(p_.y(j) - riserBase) > riser) {
                    keep = true;
                    riserBase = p_.y(i);
                }
                if (anchored(j)) {
                    riserBase = p_.y(j);
                    rough = false;
                }
            }
            if (keep) emit(i, staircase);
            i = j;
        }
        previousStaircase_ = staircase;
    }

    // A corner before a small step of the staircase (a larger one is drawn as it is).
    void emit(std::size_t i, bool staircase)
    {
        const double x = p_.x(i), y = p_.y(i);
        const bool corner = staircase && (!firstOfBucket_ || previousStaircase_) && !std::isnan(lastY_) && y != lastY_ &&
                            std::fabs(y - lastY_) * yPixels_ < 0.5 && (x - lastX_) * xPixels_ < 0.5;
        if (corner) out_.extra(x, lastY_);
        out_.original(i);
        lastX_ = x;
        lastY_ = y;
        firstOfBucket_ = false;
    }

    const P& p_;
    KeptPoints& out_;
    Options options_;
    double height_;
    double low_, quarterScale_ = 0;
    std::size_t lastQuarter_ = 0;
    double xPixels_, ySpan_, yPixels_ = 0;

    std::size_t current_ = kNoPoint, first_ = kNoPoint;
    std::size_t currentQuarter_ = kNoPoint, lastQuarterOfBucket_ = 0;
    Quarter open_;
    std::array<Quarter, kQuarters> quarters_{};
    double seenLow_ = kInfinity, seenHigh_ = -kInfinity;
    std::vector<std::size_t> anchors_;  // the current bucket's, sorted
    std::size_t anchorAt_ = 0;
    std::size_t lowest_ = 0, highest_ = 0;
    bool firstOfBucket_ = true;
    bool previousStaircase_ = false;
    double lastX_ = std::numeric_limits<double>::quiet_NaN();
    double lastY_ = std::numeric_limits<double>::quiet_NaN();
    BucketSpans spans_;
};

// The y extent of the picture before the one pass: the y range, else that of a sample of the
// drawn points between first and last (within the x range when given).
template <class P> double ySpanEstimate(const P& p, const PictureAxes& axes, std::size_t first, std::size_t last)
{
    if (axes.yRange) return windowOf(*axes.yRange, axes.logY).span();
    Window w;
    const std::size_t step = std::max<std::size_t>(1, (last - first) / kExtentSamples);
    for (std::size_t i = first; i <= last; i += step) {
        if (p.leftOut(i)) continue;
        const double y = p.y(i);
        if (std::fabs(y) > kFarOut) continue;  // NaN passes: min and max skip it
        w.low = std::min(w.low, y);
        w.high = std::max(w.high, y);
    }
    return w.spread() ? w.span() : 0.0;
}

// The first drawn point at or after i (forward) or at or before it; kNoPoint when there is none.
template <class P> std::size_t drawnFrom(const P& p, std::size_t i, bool forward)
{
    for (; i < p.size(); forward ? ++i : --i)
        if (!p.leftOut(i)) return i;
    return kNoPoint;
}

// The index of the first drawn point at or after x (x sorted, unverified): for the sample only.
template <class P> std::size_t firstAtOrAfter(const P& p, double x)
{
    std::size_t low = 0, high = p.size();
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        if (p.x(mid) < x) low = mid + 1;
        else high = mid;
    }
    return std::min(low, p.size() - 1);
}

// ---- One pass for lines and steps ----

// The scale of a line's band: a plot area of at least the smallest share of the picture and at
// most all of it, with axes as wide as their ranges, or as the drawn points when autoscaled.
BandScale bandScale(const PictureAxes& axes, const Window& xWindow, double yDataSpan)
{
    const double ySpan = axes.yRange ? windowOf(*axes.yRange, axes.logY).span() : yDataSpan;
    const double xPixels = axes.area.width / xWindow.span();
    return {kSmallestPlotShare * xPixels, xPixels, kSmallestPlotShare * axes.area.height / ySpan, axes.lineWidth};
}

// Lines and steps read each point once: the checks, the statistics and the buckets together.
// The kept points are held until the pass has seen that the data set can be thinned.
template <class P> Thinning reduceLine(const P& p, MissingPoints missing, const PictureAxes& axes, bool steps, HeldPoints<P>& held)
{
    const std::size_t first = drawnFrom(p, 0, true);
    if (first == kNoPoint) return whole();
    const std::size_t last = drawnFrom(p, p.size() - 1, false);
    Window xWindow{p.x(first), p.x(last)};
    std::size_t sampleFirst = first, sampleLast = last;
    if (axes.xRange) {
        xWindow = windowOf(*axes.xRange, axes.logX);
        sampleFirst = std::max(first, firstAtOrAfter(p, xWindow.low));
        sampleLast = std::max(sampleFirst, std::min(last, firstAtOrAfter(p, xWindow.high)));
    }
    if (!xWindow.spread()) return whole("its x values do not spread");
    // A bucket of tall noise keeps some thirty points.
    held.reserve(std::min(p.size(), std::size_t{32} * kBucketsPerPixel * static_cast<std::size_t>(axes.area.width) * (steps ? 2 : 1)));
    Scanner<P> scanner(p, missing, axes, true);
    LineReducer<P> reducer(p, xWindow, ySpanEstimate(p, axes, sampleFirst, sampleLast), axes.area, {steps, !steps}, held);
    Extent e;
    if (scanner.takesRuns()) scanner.spacingNeededFor(p.x(first), p.x(last));
    for (std::size_t i = 0; i < p.size();) {
        // On linear axes without an x range, a quarter's points at once; else a block at a time.
        std::size_t end = std::min(p.size(), i + kBlock);
        if (scanner.takesRuns()) {
            const auto run = scanner.runFrom(i, reducer.quarterEnd(p.rawX(i)));
            if (run && reducer.inOneQuarter(i, run->end - 1)) {
                scanner.take(i, *run);
                reducer.addRun(i, run->end - 1, *run);
                i = run->end;
                continue;
            }
            if (run) end = run->end;
        }
        for (; i < end; ++i) {
            double x = 0, y = 0;
            const Place place = scanner.take(i, x, y);
            if (place == Place::Failed) return whole(scanner.failure);
            if (place == Place::Before) e.before = i;
            if (place == Place::After) {
                if (!scanner.restInOrder(i + 1)) return whole(scanner.failure);
                e.after = i;
                break;
            }
            if (place != Place::Inside) continue;
            if (!scanner.insideSeen++ && e.before != kNoPoint) held.original(e.before);
            reducer.add(i, x, y);
        }
        if (e.after != kNoPoint) break;
    }
    reducer.finish();
    if (e.after != kNoPoint) held.original(e.after);
    if (scanner.drawn <= static_cast<std::size_t>(kReductionThresholdPerPixel) * static_cast<std::size_t>(axes.area.width)) return whole();
    if (!reducer.ySpread()) return whole("its y values do not spread");
    held.statistics(scanner.xStatistics(), scanner.yStats);
    if (!steps) held.cutThroughBand(reducer.spans(), bandScale(axes, xWindow, reducer.ySpan()));
    Thinning result;
    result.kept = 0;
    return result;
}

// ---- The other styles: a pass for the extent, then one for the points ----

template <class P> std::optional<Extent> extentOf(const P& p, const PictureAxes& axes, Scanner<P>& scanner)
{
    Extent e;
    for (std::size_t i = 0; i < p.size(); ++i) {
        double x = 0, y = 0;
        switch (scanner.take(i, x, y)) {
        case Place::Failed: return std::nullopt;
        case Place::LeftOut: break;
        case Place::Before: e.before = i; break;
        case Place::After:
            if (e.after == kNoPoint) e.after = i;
            break;
        case Place::Inside: e.add(i, x, y); break;
        }
    }
    setWindows(e, axes);
    return e;
}

// Whether a drawn point lies inside the x range (the data's extent when there is none).
bool insideX(const Extent& e, double x) { return x >= e.xWindow.low && x <= e.xWindow.high; }
// And inside both ranges.
bool insideWindows(const Extent& e, double x, double y) { return insideX(e, x) && y >= e.yWindow.low && y <= e.yWindow.high; }

// ---- Marks: points, dots, and the marks of linespoints ----

// The first few points of each quarter-pixel cell of a grid over the data: three point marks (a
// mark is a few pixels wide and drawn over its neighbours; the antialiased edge of a band of
// filled circles needs that many), two dots (a dot covers only its own pixel). The points that
// set the autoscaled ranges stay.
template <class P> bool reduceMarks(const P& p, const Extent& e, PixelArea area, bool dots, KeptPoints& out)
{
    constexpr std::size_t kCellsPerPixel = 2;  // each way
    const unsigned most = dots ? 2 : 3;
    auto counts = CellCounts::over(e, kCellsPerPixel * static_cast<std::size_t>(area.width), kCellsPerPixel * static_cast<std::size_t>(area.height));
    if (!counts) return false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p.leftOut(i)) continue;
        const auto cell = counts->cellOf(p.x(i), p.y(i));
        if (!cell) continue;  // outside the axis ranges: not drawn
        if (counts->count(*cell) < most || e.isExtreme(i)) {
            counts->add(*cell);
            out.original(i);
        }
    }
    return true;
}

// How far from a value gnuplot may read it back, relative to its size: half the last digit that the
// data file writes of its column (data/column_digits.h), for either column.
struct ReadBack {
    double x, y;
};
ReadBack readBackOf(const ColumnStats& x, const ColumnStats& y)
{
    const auto slack = [](const ColumnStats& column) { return 5 * std::pow(10.0, -columnDigits(column)); };
    return {slack(x), slack(y)};
}

// Marks with the plot's layout known: each point's pixel is exact (data/pixel_grid.h). A filled
// circle is left out where the solid cores of the marks kept before it cover every pixel it
// touches; the marks kept later draw over it anyway, and over a solid pixel a mark of the same
// colour changes nothing. The points that set the ranges, and those too near a pixel's edge to
// place for sure, stay.
template <class P>
bool reduceCoveredMarks(const P& p, const Extent& e, const PlotLayout& layout, const ReadBack& readBack, double radius, KeptPoints& out)
{
    const PixelGrid grid(layout);
    if (static_cast<std::size_t>(grid.columns()) * static_cast<std::size_t>(grid.rows()) / 8 > kMostCounterBytes) return false;
    const MarkShape touched = MarkShape::touched(radius), core = MarkShape::covered(radius);
    Coverage coverage(grid.columns(), grid.rows());
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p.leftOut(i) || !insideWindows(e, p.x(i), p.y(i))) continue;  // outside the axis ranges: not drawn
        const auto pixel = grid.pixelOf(p.x(i), p.y(i), readBack.x, readBack.y);
        if (pixel && !e.isExtreme(i) && coverage.covers(*pixel, touched)) continue;
        if (pixel) coverage.add(*pixel, core);
        out.original(i);
    }
    return true;
}

// Dots with the plot's layout known: a dot covers 72% of its one pixel, so that k dots leave 0.28^k
// of it uncovered (data/dot_shades.h). Each pixel keeps its first dots up to the fewest a pixel needs for the plot
// area's grey to move by at most a fifth of a percent; where more darken it further, they do so by
// less than that.
template <class P> bool reduceDotsByPixel(const P& p, const Extent& e, const PlotLayout& layout, const ReadBack& readBack, KeptPoints& out)
{
    constexpr double kUncovered = kDotUncovered / 255.0;
    constexpr double kMostGreyChange = 0.002;
    constexpr std::uint8_t kMostCounted = kMostShadedDots;
    const PixelGrid grid(layout);
    const std::size_t columns = static_cast<std::size_t>(grid.columns());
    if (columns * static_cast<std::size_t>(grid.rows()) > kMostCounterBytes) return false;
    std::vector<std::uint8_t> dots(columns * static_cast<std::size_t>(grid.rows()), 0);
    const auto countOf = [&](const Pixel& pixel) -> std::uint8_t& {
        return dots[static_cast<std::size_t>(pixel.row) * columns + static_cast<std::size_t>(pixel.column)];
    };
    std::array<std::size_t, kMostCounted + 1> pixelsWith{};  // pixels of each count
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p.leftOut(i) || !insideWindows(e, p.x(i), p.y(i))) continue;
        if (const auto pixel = grid.pixelOf(p.x(i), p.y(i), readBack.x, readBack.y); pixel && countOf(*pixel) < kMostCounted) ++countOf(*pixel);
    }
    for (const std::uint8_t count : dots) ++pixelsWith[count];
    const double area = static_cast<double>(layout.right - layout.left) * (layout.top - layout.bottom) / (static_cast<double>(layout.pixel) * layout.pixel);
    unsigned most = 1;
    for (;; ++most) {
        double lighter = 0;  // the coverage the pixels lose, summed
        for (unsigned k = most + 1; k <= kMostCounted; ++k) lighter += static_cast<double>(pixelsWith[k]) * (std::pow(kUncovered, most) - std::pow(kUncovered, k));
        if (most == kMostCounted || lighter <= kMostGreyChange * area) break;
    }
    std::fill(dots.begin(), dots.end(), 0);
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p.leftOut(i) || !insideWindows(e, p.x(i), p.y(i))) continue;
        if (const auto pixel = grid.pixelOf(p.x(i), p.y(i), readBack.x, readBack.y)) {
            if (countOf(*pixel) >= most && !e.isExtreme(i)) continue;
            ++countOf(*pixel);
        }
        out.original(i);
    }
    return true;
}

// Dots with the plot's layout and their colour known: the dots of the pixels wholly inside the plot
// area become an image of their shades (data/dot_shades.h). The others stay as dots, at most as
// many a pixel as can darken it, with the points that set the ranges and those too near a
// pixel's edge to be placed for sure: gnuplot reads a value back from the data file's digits
// (data/column_digits.h), and the image must count it where gnuplot draws it. No image when no
// dot is in it.
template <class P>
bool shadeDots(const P& p, const Extent& e, const PlotLayout& layout, const ReadBack& readBack, KeptPoints& out, std::optional<DotShades>& shades)
{
    const PixelGrid grid(layout);
    const PixelGrid::Span inColumns = grid.innerColumns(), inRows = grid.innerRows();
    const std::size_t columns = static_cast<std::size_t>(grid.columns());
    if (columns * static_cast<std::size_t>(grid.rows()) > kMostCounterBytes) return false;
    if (inColumns.last <= inColumns.first || inRows.last <= inRows.first) return reduceDotsByPixel(p, e, layout, readBack, out);
    std::vector<std::uint8_t> dots(columns * static_cast<std::size_t>(grid.rows()), 0);
    bool imaged = false;
    const auto inner = [&](const Pixel& pixel) {
        return pixel.column >= inColumns.first && pixel.column <= inColumns.last && pixel.row >= inRows.first && pixel.row <= inRows.last;
    };
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p.leftOut(i) || !insideWindows(e, p.x(i), p.y(i))) continue;
        const auto pixel = grid.pixelOf(p.x(i), p.y(i), readBack.x, readBack.y);
        if (!pixel || e.isExtreme(i)) {
            out.original(i);
            continue;
        }
        std::uint8_t& count = dots[static_cast<std::size_t>(pixel->row) * columns + static_cast<std::size_t>(pixel->column)];
        if (count == kMostShadedDots) continue;
        ++count;
        if (!inner(*pixel)) out.original(i);
        else imaged = true;
    }
    if (!imaged) return true;
    DotShades image{grid.xAt(inColumns.first), grid.yAt(inRows.last), grid.xAt(inColumns.first + 1) - grid.xAt(inColumns.first),
                    grid.yAt(inRows.last - 1) - grid.yAt(inRows.last), inColumns.last - inColumns.first + 1, inRows.last - inRows.first + 1, {}};
    image.dots.reserve(static_cast<std::size_t>(image.columns) * static_cast<std::size_t>(image.rows));
    for (int row = inRows.last; row >= inRows.first; --row) {
        const auto start = dots.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(row) * columns + static_cast<std::size_t>(inColumns.first));
        image.dots.insert(image.dots.end(), start, start + image.columns);
    }
    shades = std::move(image);
    return true;
}

// Linespoints: the line as for lines, without staircase corners, and the marks that can show. A
// mark (a '+' of three pixels each way) is hidden when the line's band covers it: the buckets
// within four pixels reach two pixels above and below it, and those within two pixels four. The
// others are capped at three per pixel cell. Each mark is a point of the line as well, written in
// its place among the line's points.
template <class P> class LinesPointsReducer : public KeptPoints {
public:
    LinesPointsReducer(const P& p, const Extent& e, PixelArea area, CellCounts counts, KeptPoints& out)
        : p_(p), e_(e), area_(area), buckets_(e.xWindow, static_cast<std::size_t>(kBucketsPerPixel) * static_cast<std::size_t>(area.width)),
          yPixels_(area.height / e.yWindow.span()), counts_(std::move(counts)), out_(out)
    {
    }

    void run()
    {
        measureBand();
        if (e_.before != kNoPoint) out_.original(e_.before);  // beyond the x range: no mark shows
        LineReducer<P> line(p_, e_.xWindow, e_.yWindow.span(), area_, {false, false}, *this);
        for (std::size_t i = 0; i < p_.size(); ++i) {
            if (p_.leftOut(i)) continue;
            const double x = p_.x(i);
            if (insideX(e_, x)) line.add(i, x, p_.y(i));
        }
        line.finish();
        marksBefore(p_.size());
        if (e_.after != kNoPoint) out_.original(e_.after);
    }

    void original(std::size_t i) override
    {
        marksBefore(i);
        if (nextMark_ == i) {
            markShows(i);  // counted in its cell like any other mark
            ++nextMark_;
        }
        out_.original(i);
    }
    void extra(double x, double y) override { out_.extra(x, y); }

private:
    struct Band {
        double top;     // the lowest top of the buckets around
        double bottom;  // the highest bottom
    };

    void measureBand()
    {
        const std::size_t n = buckets_.count();
        std::vector<double> low(n, kInfinity), high(n, -kInfinity);
        for (std::size_t i = 0; i < p_.size(); ++i) {
            if (p_.leftOut(i) || !insideX(e_, p_.x(i))) continue;
            const std::size_t k = buckets_.of(p_.x(i));
            low[k] = std::min(low[k], p_.y(i));
            high[k] = std::max(high[k], p_.y(i));
        }
        // The plot area is at least 0.6 of the terminal's width: at most this many buckets a pixel.
        const double bucketsPerPixel = static_cast<double>(n) / (kSmallestPlotShare * area_.width);
        wide_ = bandOver(low, high, static_cast<std::size_t>(std::ceil(4 * bucketsPerPixel)));
        narrow_ = bandOver(low, high, static_cast<std::size_t>(std::ceil(2 * bucketsPerPixel)));
    }

    // For each bucket, what all buckets within `reach` of it cover; nothing where one is empty or
    // the data ends.
    static std::vector<Band> bandOver(const std::vector<double>& low, const std::vector<double>& high, std::size_t reach)
    {
        const std::size_t n = low.size();
        std::vector<Band> bands(n, Band{-kInfinity, kInfinity});
        for (std::size_t k = reach; k + reach < n; ++k) {
            Band band{kInfinity, -kInfinity};
            for (std::size_t q = k - reach; q <= k + reach; ++q) {
                if (!(high[q] >= low[q])) {
                    band = {-kInfinity, kInfinity};
                    break;
                }
                band.top = std::min(band.top, high[q]);
                band.bottom = std::max(band.bottom, low[q]);
            }
            bands[k] = band;
        }
        return bands;
    }

    bool hidden(std::size_t i) const
    {
        const std::size_t k = buckets_.of(p_.x(i));
        const double y = p_.y(i);
        return (wide_[k].top - y) * yPixels_ >= 2 && (y - wide_[k].bottom) * yPixels_ >= 2 && (narrow_[k].top - y) * yPixels_ >= 4 &&
               (y - narrow_[k].bottom) * yPixels_ >= 4;
    }

    bool markShows(std::size_t i)
    {
        if (p_.leftOut(i)) return false;
        const auto cell = counts_.cellOf(p_.x(i), p_.y(i));
        if (!cell || hidden(i) || counts_.count(*cell) >= 3) return false;
        counts_.add(*cell);
        return true;
    }

    // The marks of the points before `end` that the line did not keep.
    void marksBefore(std::size_t end)
    {
        for (; nextMark_ < end; ++nextMark_)
            if (markShows(nextMark_)) out_.original(nextMark_);
    }

    const P& p_;
    const Extent& e_;
    PixelArea area_;
    Buckets buckets_;
    double yPixels_;
    CellCounts counts_;
    KeptPoints& out_;
    std::vector<Band> wide_, narrow_;
    std::size_t nextMark_ = 0;
};

// ---- Impulses ----

// The three largest or smallest y of a bucket.
template <class P> class Extremes {
public:
    explicit Extremes(bool largest) : largest_(largest) {}
    void offer(const P& p, std::size_t i)
    {
        if (count_ < kept_.size()) {
            kept_[count_++] = i;
            return;
        }
        std::size_t* worst = &kept_[0];
        for (std::size_t& k : kept_)
            if (better(p, *worst, k)) worst = &k;
        if (better(p, i, *worst)) *worst = i;
    }
    template <class F> void each(F&& f) const
    {
        for (std::size_t k = 0; k < count_; ++k) f(kept_[k]);
    }
    void clear() { count_ = 0; }

private:
    bool better(const P& p, std::size_t a, std::size_t b) const { return largest_ ? p.y(a) > p.y(b) : p.y(a) < p.y(b); }
    bool largest_;
    std::array<std::size_t, 3> kept_{};
    std::size_t count_ = 0;
};

// Per bucket the three largest and three smallest y (each impulse is a stroke of its own), and
// the first and last point of the data (the x range; without them gnuplot's grid dots moved).
template <class P> void reduceImpulses(const P& p, const Extent& e, PixelArea area, KeptPoints& out)
{
    const Buckets buckets(e.xWindow, static_cast<std::size_t>(kBucketsPerPixel) * static_cast<std::size_t>(area.width));
    Extremes<P> high(true), low(false);
    std::vector<std::size_t> kept;
    auto flush = [&] {
        high.each([&](std::size_t i) { kept.push_back(i); });
        low.each([&](std::size_t i) { kept.push_back(i); });
        std::sort(kept.begin(), kept.end());
        kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
        for (std::size_t i : kept) out.original(i);
        kept.clear();
        high.clear();
        low.clear();
    };
    std::size_t current = kNoPoint;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p.leftOut(i) || !insideX(e, p.x(i))) continue;  // beyond the x range: not drawn
        const std::size_t bucket = buckets.of(p.x(i));
        if (bucket != current && current != kNoPoint) flush();
        current = bucket;
        high.offer(p, i);
        low.offer(p, i);
        if (i == e.ixmin || i == e.ixmax) kept.push_back(i);
    }
    flush();
}

// ---- Filled curves ----

// The heights at which the piecewise linear curve through a bucket's points spends the fractions
// (j + 1/2) / K of its x extent below: its quantiles. Each segment spreads its width evenly over
// the heights it passes; a level segment puts it all at one height.
template <std::size_t K, class P> std::array<double, K> heightQuantiles(const P& p, const std::vector<std::size_t>& points)
{
    struct Event {
        double height;
        double slope;  // change of the density, per unit of height
        double mass;   // width that sits at exactly this height
    };
    std::vector<Event> events;
    double total = 0;
    for (std::size_t k = 0; k + 1 < points.size(); ++k) {
        const double y0 = p.y(points[k]), y1 = p.y(points[k + 1]);
        const double width = p.x(points[k + 1]) - p.x(points[k]);
        if (!(width > 0)) continue;
        total += width;
        const double low = std::min(y0, y1), high = std::max(y0, y1);
        if (high > low) {
            events.push_back({low, width / (high - low), 0});
            events.push_back({high, -width / (high - low), 0});
        } else {
            events.push_back({low, 0, width});
        }
    }
    std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.height < b.height; });
    std::array<double, K> quantiles{};
    std::size_t j = 0;
    double below = 0, density = 0, at = events.empty() ? 0 : events.front().height;
    for (std::size_t e = 0; e < events.size() && j < K;) {
        const double height = events[e].height;
        // Rising linearly from `at` to `height`.
        while (j < K && density > 0 && below + density * (height - at) >= total * (j + 0.5) / K) {
            quantiles[j] = at + (total * (j + 0.5) / K - below) / density;
            ++j;
        }
        below += density * (height - at);
        at = height;
        for (; e < events.size() && events[e].height == height; ++e) {
            density += events[e].slope;
            below += events[e].mass;
        }
        while (j < K && below >= total * (j + 0.5) / K) quantiles[j++] = height;
    }
    for (; j < K; ++j) quantiles[j] = at;
    return quantiles;
}

// Per bucket: its first point, a ramp of K points through the quantiles of its heights (evenly
// spread over the bucket's x, in the direction that starts near the first point) and its last
// point. The same width of the bucket lies below each height as in the data, so the fill covers
// the same area at each height. The points with the lowest and highest y stay (autoscale).
template <class P> class FilledCurveReducer {
public:
    FilledCurveReducer(const P& p, const Extent& e, PixelArea area, KeptPoints& out)
        : p_(p), e_(e), buckets_(e.xWindow, static_cast<std::size_t>(kBucketsPerPixel) * static_cast<std::size_t>(area.width)), out_(out)
    {
    }

    void run()
    {
        if (e_.before != kNoPoint) out_.original(e_.before);
        std::size_t current = kNoPoint;
        for (std::size_t i = 0; i < p_.size(); ++i) {
            if (p_.leftOut(i) || !insideX(e_, p_.x(i))) continue;
            const std::size_t bucket = buckets_.of(p_.x(i));
            if ((bucket != current && current != kNoPoint) || points_.size() == kMostBufferedPoints) flush();
            current = bucket;
            points_.push_back(i);
        }
        flush();
        if (e_.after != kNoPoint) out_.original(e_.after);
    }

private:
    static constexpr std::size_t kRamp = 8;

    void flush()
    {
        if (points_.size() < kRamp + 4) {
            for (std::size_t i : points_) out_.original(i);
            points_.clear();
            return;
        }
        const std::size_t a = points_.front(), b = points_.back();
        const auto q = heightQuantiles<kRamp>(p_, points_);
        const bool descending = std::fabs(p_.y(a) - q[kRamp - 1]) < std::fabs(p_.y(a) - q[0]);
        std::vector<std::size_t> extremes;
        for (std::size_t g : {e_.iymin, e_.iymax})
            if (g > a && g < b) extremes.push_back(g);
        std::sort(extremes.begin(), extremes.end());
        auto next = extremes.begin();
        out_.original(a);
        if (p_.x(b) > p_.x(a)) {
            for (std::size_t j = 0; j < kRamp; ++j) {
                const double x = p_.x(a) + (p_.x(b) - p_.x(a)) * (static_cast<double>(j) + 0.5) / kRamp;
                for (; next != extremes.end() && p_.x(*next) <= x; ++next) out_.original(*next);
                out_.extra(x, descending ? q[kRamp - 1 - j] : q[j]);
            }
        }
        for (; next != extremes.end(); ++next) out_.original(*next);
        out_.original(b);
        points_.clear();
    }

    const P& p_;
    const Extent& e_;
    Buckets buckets_;
    KeptPoints& out_;
    std::vector<std::size_t> points_;  // the current bucket's drawn points
};

bool needsSortedX(ReducedStyle style) { return style != ReducedStyle::Points && style != ReducedStyle::Dots; }

template <class P>
bool reduceStyle(const P& p, const Extent& e, ReducedStyle style, const PictureAxes& axes, const ReadBack& readBack, KeptPoints& out,
                 std::optional<DotShades>& shades)
{
    const PixelArea area = axes.area;
    const bool exactPixels = axes.layout && !axes.logX && !axes.logY;
    switch (style) {
    case ReducedStyle::Lines:
    case ReducedStyle::Steps: return false;  // reduceLine
    case ReducedStyle::LinesPoints: {
        auto counts = CellCounts::over(e, static_cast<std::size_t>(area.width), static_cast<std::size_t>(area.height));
        if (!counts) return false;
        LinesPointsReducer<P>(p, e, area, std::move(*counts), out).run();
        return true;
    }
    case ReducedStyle::Impulses: reduceImpulses(p, e, area, out); return true;
    case ReducedStyle::Points:
        if (exactPixels && axes.markRadius > 0) return reduceCoveredMarks(p, e, *axes.layout, readBack, axes.markRadius, out);
        return reduceMarks(p, e, area, false, out);
    case ReducedStyle::Dots:
        if (exactPixels && axes.dotsAsImage) return shadeDots(p, e, *axes.layout, readBack, out, shades);
        if (exactPixels) return reduceDotsByPixel(p, e, *axes.layout, readBack, out);
        return reduceMarks(p, e, area, true, out);
    case ReducedStyle::FilledCurve: FilledCurveReducer<P>(p, e, area, out).run(); return true;
    }
    return false;
}

template <class Values> Thinning reduceAs(const PointColumns& points, ReducedStyle style, MissingPoints missing, const PictureAxes& axes,
                                          KeptPoints& out)
{
    const Points<Values> p(points, axes);
    // Only lines two pixels wide may be drawn as a band.
    HeldPoints<Points<Values>> held(p, axes, style == ReducedStyle::Lines && axes.lineWidth >= 2);
    Thinning result;
    if (style == ReducedStyle::Lines || style == ReducedStyle::Steps) {
        result = reduceLine(p, missing, axes, style == ReducedStyle::Steps, held);
        if (!result.kept) return result;
    } else {
        Scanner<Points<Values>> scanner(p, missing, axes, needsSortedX(style));
        const auto e = extentOf(p, axes, scanner);
        if (!e) return whole(scanner.failure);
        if (scanner.drawn <= static_cast<std::size_t>(kReductionThresholdPerPixel) * static_cast<std::size_t>(axes.area.width)) return whole();
        if (!e->xWindow.spread() || !e->yWindow.spread()) return whole("its x or y values do not spread");
        if (axes.extremesOnly) {
            for (const std::size_t i : e->extremes()) held.original(i);
        } else if (!reduceStyle(p, *e, style, axes, readBackOf(scanner.xStats, scanner.yStats), held, result.shades)) {
            return whole("its picture would need too many counters");
        }
        held.statistics(scanner.xStats, scanner.yStats);
        result.kept = 0;
    }
    result.kept = held.handTo(out);
    return result;
}

}  // namespace

bool readableElementType(int elementType)
{
    switch (elementType) {
    case ElementType::Short:
    case ElementType::UShort:
    case ElementType::Int:
    case ElementType::UInt:
    case ElementType::Long:
    case ElementType::ULong:
    case ElementType::Float:
    case ElementType::Double: return true;
    default: return false;
    }
}

double valueAt(const ValueColumn& c, std::size_t i)
{
    switch (c.elementType) {
    case ElementType::Short: return entryAt<std::int16_t>(c, i);
    case ElementType::UShort: return entryAt<std::uint16_t>(c, i);
    case ElementType::Int:
    case ElementType::Long: return entryAt<std::int32_t>(c, i);
    case ElementType::UInt:
    case ElementType::ULong: return entryAt<std::uint32_t>(c, i);
    case ElementType::Float: return entryAt<float>(c, i);
    case ElementType::Double: return entryAt<double>(c, i);
    default: return std::numeric_limits<double>::quiet_NaN();
    }
}

Thinning reducePoints(const PointColumns& points, ReducedStyle style, MissingPoints missing, const PictureAxes& axes, KeptPoints& out)
{
    const PixelArea area = axes.area;
    if (area.width < 1 || area.height < 1 || area.width > kMostPixels || area.height > kMostPixels)
        return whole("its picture is larger than 32767 pixels a side");
    const int xType = points.xColumn().elementType, yType = points.yColumn().elementType;
    if (!readableElementType(xType) || !readableElementType(yType)) return whole("8-bit values are written as characters");
    if (xType == yType && xType == ElementType::Double) return reduceAs<ValuesOf<double>>(points, style, missing, axes, out);
    if (xType == yType && xType == ElementType::Float) return reduceAs<ValuesOf<float>>(points, style, missing, axes, out);
    return reduceAs<AnyValues>(points, style, missing, axes, out);
}

}  // namespace rizari
