#include "data/reduction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

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

struct Extent {
    double xmin = kInfinity, xmax = -kInfinity, ymin = kInfinity, ymax = -kInfinity;
    std::size_t count = 0;  // points that are drawn
    bool sorted = true;     // x never decreases from one drawn point to the next
    std::size_t ixmin = 0, ixmax = 0, iymin = 0, iymax = 0;

    bool isExtreme(std::size_t i) const { return i == ixmin || i == ixmax || i == iymin || i == iymax; }
};

// A point the writer leaves out: its y is NaN.
bool leftOut(const PointColumns& p, std::size_t i) { return std::isnan(p.y(i)); }

// The extent of the drawn points; none when a point would break the line or leave the picture.
std::optional<Extent> extentOf(const PointColumns& p, MissingPoints missing)
{
    Extent e;
    double previousX = -kInfinity;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const double x = p.x(i), y = p.y(i);
        if (std::isnan(y) && missing == MissingPoints::Joined) continue;
        // Also false for NaN: an x of NaN is written as it is, and gnuplot breaks the line there.
        if (!(std::fabs(x) <= kFarOut && std::fabs(y) <= kFarOut)) return std::nullopt;
        ++e.count;
        if (x < previousX) e.sorted = false;
        previousX = x;
        if (x < e.xmin) e.xmin = x, e.ixmin = i;
        if (x > e.xmax) e.xmax = x, e.ixmax = i;
        if (y < e.ymin) e.ymin = y, e.iymin = i;
        if (y > e.ymax) e.ymax = y, e.iymax = i;
    }
    return e;
}

// Counts the points given to `out`.
class Counted : public KeptPoints {
public:
    explicit Counted(KeptPoints& out) : out_(out) {}
    void original(std::size_t i) override
    {
        ++count_;
        out_.original(i);
    }
    void extra(double x, double y) override
    {
        ++count_;
        out_.extra(x, y);
    }
    std::size_t count() const { return count_; }

private:
    KeptPoints& out_;
    std::size_t count_ = 0;
};

// The bucket of an x among `buckets` equal parts of the data's x range.
class Buckets {
public:
    Buckets(const Extent& e, std::size_t buckets) : xmin_(e.xmin), scale_(static_cast<double>(buckets) / (e.xmax - e.xmin)), last_(buckets - 1) {}
    std::size_t of(double x) const { return std::min(last_, static_cast<std::size_t>((x - xmin_) * scale_)); }
    std::size_t count() const { return last_ + 1; }

private:
    double xmin_;
    double scale_;
    std::size_t last_;
};

// Saturating counts (0 to 3) of the points in each cell of a grid over the data's extent.
class CellCounts {
public:
    // None when the counters would take too much memory.
    static std::optional<CellCounts> over(const Extent& e, std::size_t columns, std::size_t rows)
    {
        if (columns * rows / 4 + 1 > kMostCounterBytes) return std::nullopt;
        return CellCounts(e, columns, rows);
    }

    std::size_t cellOf(double x, double y) const
    {
        const std::size_t column = std::min(columns_ - 1, static_cast<std::size_t>((x - xmin_) * xScale_));
        const std::size_t row = std::min(rows_ - 1, static_cast<std::size_t>((y - ymin_) * yScale_));
        return row * columns_ + column;
    }
    unsigned count(std::size_t cell) const { return (bits_[cell / 4] >> (cell % 4 * 2)) & 3u; }
    void add(std::size_t cell)
    {
        if (count(cell) < 3) bits_[cell / 4] = static_cast<std::uint8_t>(bits_[cell / 4] + (1u << (cell % 4 * 2)));
    }

private:
    CellCounts(const Extent& e, std::size_t columns, std::size_t rows)
        : xmin_(e.xmin), ymin_(e.ymin), xScale_(static_cast<double>(columns) / (e.xmax - e.xmin)),
          yScale_(static_cast<double>(rows) / (e.ymax - e.ymin)), columns_(columns), rows_(rows), bits_(columns * rows / 4 + 1, 0)
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
// segments and not others and four sub-buckets keep more of it. The steps styles draw their own
// risers: in their smooth runs a point is added wherever y moved half a pixel, since a made-up
// riser longer than a pixel would be snapped to the grid.
class LineReducer {
public:
    struct Options {
        bool stepsStyle;  // steps, fsteps, histeps
        bool corners;     // staircase corners may be added (not between the marks of linespoints)
    };

    LineReducer(const PointColumns& p, const Extent& e, PixelArea area, Options options, KeptPoints& out)
        : p_(p), out_(out), options_(options),
          buckets_(e, static_cast<std::size_t>(kBucketsPerPixel) * static_cast<std::size_t>(area.width) * (options.stepsStyle ? 2 : 1)),
          // Upper bounds of the pixels per data unit: the plot area is smaller than the terminal,
          // and autoscaled axes are at least as wide as the data.
          xPixels_(area.width / (e.xmax - e.xmin)), yPixels_(area.height / (e.ymax - e.ymin))
    {
    }

    void run()
    {
        std::size_t current = kNoPoint, first = kNoPoint, last = kNoPoint;
        for (std::size_t i = 0; i < p_.size(); ++i) {
            if (leftOut(p_, i)) continue;
            const std::size_t bucket = buckets_.of(p_.x(i));
            if (bucket != current) {
                if (first != kNoPoint) reduceBucket(first, last);
                current = bucket;
                first = i;
            }
            last = i;
        }
        if (first != kNoPoint) reduceBucket(first, last);
    }

private:
    std::size_t next(std::size_t i) const
    {
        do ++i;
        while (i < p_.size() && leftOut(p_, i));
        return i;
    }
    std::size_t previous(std::size_t i) const
    {
        while (i > 0)
            if (!leftOut(p_, --i)) return i;
        return kNoPoint;
    }

    // The drawn points a .. b of one bucket.
    void reduceBucket(std::size_t a, std::size_t b)
    {
        std::size_t steps = 0, lattice = 0, chaos = 0;
        lowest_ = highest_ = a;
        for (std::size_t i = a, j = next(a); j <= b; i = j, j = next(j)) {
            const double dx = (p_.x(j) - p_.x(i)) * xPixels_, dy = std::fabs(p_.y(j) - p_.y(i)) * yPixels_;
            ++steps;
            if (std::max(dx, dy) <= 2 * kEngineUnit) ++lattice;
            else if (dx < kEngineUnit && dy >= 0.3 && dy <= 3.0) ++chaos;
            if (p_.y(j) < p_.y(lowest_)) lowest_ = j;
            if (p_.y(j) > p_.y(highest_)) highest_ = j;
        }
        const bool staircase = options_.corners && !options_.stepsStyle && steps >= 8 && lattice * 10 >= steps * 8;
        const bool noise = !staircase && steps >= 16 && chaos * 10 >= steps * 4;
        anchors_.clear();
        if (noise) addQuarterExtremes(a, b);
        else addExtremes(a, b, 1);
        std::sort(anchors_.begin(), anchors_.end());
        anchors_.erase(std::unique(anchors_.begin(), anchors_.end()), anchors_.end());
        emitBucket(a, b, staircase);
    }

    // The first, lowest, highest and last of the drawn points a .. b, each with up to `reach`
    // drawn neighbours on either side within a .. b.
    void addExtremes(std::size_t a, std::size_t b, int reach)
    {
        std::size_t low = a, high = a;
        for (std::size_t i = a; i <= b; i = next(i)) {
            if (p_.y(i) < p_.y(low)) low = i;
            if (p_.y(i) > p_.y(high)) high = i;
        }
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

    // The extremes of four equal x parts of the bucket, two neighbours each side.
    void addQuarterExtremes(std::size_t a, std::size_t b)
    {
        const double width = (p_.x(b) - p_.x(a)) / 4;
        std::size_t start = a;
        for (int quarter = 1; quarter <= 4 && start <= b; ++quarter) {
            const double limit = quarter == 4 ? kInfinity : p_.x(a) + width * quarter;
            std::size_t end = start;
            for (std::size_t i = next(start); i <= b && p_.x(i) < limit; i = next(i)) end = i;
            addExtremes(start, end, 2);
            start = next(end);
        }
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

    const PointColumns& p_;
    KeptPoints& out_;
    Options options_;
    Buckets buckets_;
    double xPixels_, yPixels_;

    std::vector<std::size_t> anchors_;  // the current bucket's, sorted
    std::size_t anchorAt_ = 0;
    std::size_t lowest_ = 0, highest_ = 0;
    bool firstOfBucket_ = true;
    bool previousStaircase_ = false;
    double lastX_ = std::numeric_limits<double>::quiet_NaN();
    double lastY_ = std::numeric_limits<double>::quiet_NaN();
};

// ---- Marks: points, dots, and the marks of linespoints ----

// The first few points of each quarter-pixel cell of a grid over the data: three point marks (a
// mark is a few pixels wide and drawn over its neighbours; the antialiased edge of a band of
// filled circles needs that many), two dots (a dot covers only its own pixel). The points that
// set the autoscaled ranges stay.
bool reduceMarks(const PointColumns& p, const Extent& e, PixelArea area, bool dots, KeptPoints& out)
{
    constexpr std::size_t kCellsPerPixel = 2;  // each way
    const unsigned most = dots ? 2 : 3;
    auto counts = CellCounts::over(e, kCellsPerPixel * static_cast<std::size_t>(area.width), kCellsPerPixel * static_cast<std::size_t>(area.height));
    if (!counts) return false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (leftOut(p, i)) continue;
        const std::size_t cell = counts->cellOf(p.x(i), p.y(i));
        if (counts->count(cell) < most || e.isExtreme(i)) {
            counts->add(cell);
            out.original(i);
        }
    }
    return true;
}

// Linespoints: the line as for lines, without staircase corners, and the marks that can show. A
// mark (a '+' of three pixels each way) is hidden when the line's band covers it: the buckets
// within four pixels reach two pixels above and below it, and those within two pixels four. The
// others are capped at three per pixel cell. Each mark is a point of the line as well, written in
// its place among the line's points.
class LinesPointsReducer : public KeptPoints {
public:
    LinesPointsReducer(const PointColumns& p, const Extent& e, PixelArea area, CellCounts counts, KeptPoints& out)
        : p_(p), e_(e), area_(area), buckets_(e, static_cast<std::size_t>(kBucketsPerPixel) * static_cast<std::size_t>(area.width)),
          yPixels_(area.height / (e.ymax - e.ymin)), counts_(std::move(counts)), out_(out)
    {
    }

    void run()
    {
        measureBand();
        LineReducer(p_, e_, area_, {false, false}, *this).run();
        marksBefore(p_.size());
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
            if (leftOut(p_, i)) continue;
            const std::size_t k = buckets_.of(p_.x(i));
            low[k] = std::min(low[k], p_.y(i));
            high[k] = std::max(high[k], p_.y(i));
        }
        // The plot area is at least 0.6 of the terminal's width: at most this many buckets a pixel.
        const double bucketsPerPixel = static_cast<double>(n) / (0.6 * area_.width);
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
        if (leftOut(p_, i) || hidden(i)) return false;
        const std::size_t cell = counts_.cellOf(p_.x(i), p_.y(i));
        if (counts_.count(cell) >= 3) return false;
        counts_.add(cell);
        return true;
    }

    // The marks of the points before `end` that the line did not keep.
    void marksBefore(std::size_t end)
    {
        for (; nextMark_ < end; ++nextMark_)
            if (markShows(nextMark_)) out_.original(nextMark_);
    }

    const PointColumns& p_;
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
class Extremes {
public:
    explicit Extremes(bool largest) : largest_(largest) {}
    void offer(const PointColumns& p, std::size_t i)
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
    bool better(const PointColumns& p, std::size_t a, std::size_t b) const { return largest_ ? p.y(a) > p.y(b) : p.y(a) < p.y(b); }
    bool largest_;
    std::array<std::size_t, 3> kept_{};
    std::size_t count_ = 0;
};

// Per bucket the three largest and three smallest y (each impulse is a stroke of its own), and
// the first and last point of the data (the x range; without them gnuplot's grid dots moved).
void reduceImpulses(const PointColumns& p, const Extent& e, PixelArea area, KeptPoints& out)
{
    const Buckets buckets(e, static_cast<std::size_t>(kBucketsPerPixel) * static_cast<std::size_t>(area.width));
    Extremes high(true), low(false);
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
        if (leftOut(p, i)) continue;
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
template <std::size_t K> std::array<double, K> heightQuantiles(const PointColumns& p, const std::vector<std::size_t>& points)
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
class FilledCurveReducer {
public:
    FilledCurveReducer(const PointColumns& p, const Extent& e, PixelArea area, KeptPoints& out)
        : p_(p), e_(e), buckets_(e, static_cast<std::size_t>(kBucketsPerPixel) * static_cast<std::size_t>(area.width)), out_(out)
    {
    }

    void run()
    {
        std::size_t current = kNoPoint;
        for (std::size_t i = 0; i < p_.size(); ++i) {
            if (leftOut(p_, i)) continue;
            const std::size_t bucket = buckets_.of(p_.x(i));
            if ((bucket != current && current != kNoPoint) || points_.size() == kMostBufferedPoints) flush();
            current = bucket;
            points_.push_back(i);
        }
        flush();
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

    const PointColumns& p_;
    const Extent& e_;
    Buckets buckets_;
    KeptPoints& out_;
    std::vector<std::size_t> points_;  // the current bucket's drawn points
};

bool needsSortedX(ReducedStyle style) { return style != ReducedStyle::Points && style != ReducedStyle::Dots; }

bool reduceStyle(const PointColumns& p, const Extent& e, ReducedStyle style, PixelArea area, KeptPoints& out)
{
    switch (style) {
    case ReducedStyle::Lines: LineReducer(p, e, area, {false, true}, out).run(); return true;
    case ReducedStyle::Steps: LineReducer(p, e, area, {true, false}, out).run(); return true;
    case ReducedStyle::LinesPoints: {
        auto counts = CellCounts::over(e, static_cast<std::size_t>(area.width), static_cast<std::size_t>(area.height));
        if (!counts) return false;
        LinesPointsReducer(p, e, area, std::move(*counts), out).run();
        return true;
    }
    case ReducedStyle::Impulses: reduceImpulses(p, e, area, out); return true;
    case ReducedStyle::Points: return reduceMarks(p, e, area, false, out);
    case ReducedStyle::Dots: return reduceMarks(p, e, area, true, out);
    case ReducedStyle::FilledCurve: FilledCurveReducer(p, e, area, out).run(); return true;
    }
    return false;
}

}  // namespace

std::optional<std::size_t> reducePoints(const PointColumns& points, ReducedStyle style, MissingPoints missing,
                                        PixelArea area, KeptPoints& out)
{
    if (area.width < 1 || area.height < 1 || area.width > kMostPixels || area.height > kMostPixels) return std::nullopt;
    const auto extent = extentOf(points, missing);
    if (!extent || extent->count <= static_cast<std::size_t>(kReductionThresholdPerPixel) * static_cast<std::size_t>(area.width))
        return std::nullopt;
    const Extent& e = *extent;
    if (!(e.xmax > e.xmin) || !(e.ymax > e.ymin) || (needsSortedX(style) && !e.sorted)) return std::nullopt;
    Counted counted(out);
    if (!reduceStyle(points, e, style, area, counted)) return std::nullopt;
    return counted.count();
}

}  // namespace rizari
