#include "data/reduction_band.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace rizari {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The interior stays this far inside what every pixel column within the line's half width covers
// (the antialiased rows at the ends of a column's strokes).
constexpr double kMarginPixels = 1;
// The pieces end this far inside the interior, so that the strokes that fill it overlap them.
constexpr double kCutPixels = 1;
// A piece is at least this long: gnuplot snaps a vertical stroke longer than a pixel onto the pixel
// grid, and a piece of it is to be snapped as well.
constexpr double kShortestPiece = 2;
// cairo terminals place everything on a lattice of 1/200 pixel.
constexpr double kEngineUnit = 1.0 / 200.0;
// A piece of a stroke narrower than this keeps the stroke's width (the shift is too small to see).
constexpr double kNarrowestShift = 0.05;
// A bucket of fewer drawn points is drawn as thinned.
constexpr std::uint32_t kFewestPoints = 8;
// The interior is filled by a stroke down and one up every so many buckets: at most a pixel apart,
// each two pixels wide.
constexpr std::size_t kGroupBuckets = 4;

enum class Zone {
    Whole,   // outside any band: drawn as thinned
    Top,     // above the band's interior
    Bottom,  // below it
    Inside,  // in it: left out
};

struct Interior {
    double top = 0, bottom = 0;
};

// Per bucket, the interior where it has one: inside what every bucket within the line's half width
// covers, tall enough for the miters, and with enough points around for the strokes to cover it.
std::vector<std::optional<Interior>> interiorsOf(const BucketSpans& spans, const BandScale& scale)
{
    const std::size_t n = spans.low.size();
    const double bucketsPerPixel = 1 / (spans.bucketWidth * scale.xPixelsLeast);
    const auto reach = static_cast<std::size_t>(std::ceil(scale.lineWidth / 2 * bucketsPerPixel));
    const double margin = kMarginPixels / scale.yPixelsLeast;
    // Miters of ten half widths at the cut ends, the margins and the cuts.
    const double thinnest = (5 * scale.lineWidth + 2 * (kMarginPixels + kCutPixels) + 2) / scale.yPixelsLeast;
    std::vector<std::optional<Interior>> interiors(n);
    for (std::size_t b = reach; b + reach < n; ++b) {
        Interior in{kInfinity, -kInfinity};
        std::uint32_t fewest = kFewestPoints;
        for (std::size_t q = b - reach; q <= b + reach; ++q) {
            in.top = std::min(in.top, spans.high[q]);
            in.bottom = std::max(in.bottom, spans.low[q]);
            fewest = std::min(fewest, spans.points[q]);
        }
        in.top -= margin;
        in.bottom += margin;
        if (fewest >= kFewestPoints && in.top - in.bottom >= thinnest) interiors[b] = in;
    }
    return interiors;
}

class BandCutter {
public:
    BandCutter(const std::vector<LinePoint>& line, const BucketSpans& spans, const BandScale& scale)
        : line_(line), spans_(spans), scale_(scale), bucketsPerUnit_(1 / spans.bucketWidth), interiors_(interiorsOf(spans, scale)),
          cut_(kCutPixels / scale.yPixelsLeast), shortest_(kShortestPiece / scale.yPixelsLeast)
    {
    }

    std::optional<std::vector<LinePoint>> run()
    {
        if (std::none_of(interiors_.begin(), interiors_.end(), [](const auto& in) { return in.has_value(); })) return std::nullopt;
        if (!splitIntoRuns()) return std::nullopt;
        out_.reserve(line_.size() + cuts_.size() + runs_.size());
        for (std::size_t i = 0; i < runs_.size();) {
            std::size_t j = i + 1;
            if (runs_[i].zone == Zone::Whole) {
                emitRun(runs_[i]);
            } else {
                while (j < runs_.size() && runs_[j].zone != Zone::Whole) ++j;
                emitStretch(i, j);
            }
            i = j;
        }
        return std::move(out_);
    }

private:
    // Where a point of the line lies: its zone, and its bucket when it is in a band's.
    struct Place {
        Zone zone = Zone::Whole;
        std::size_t bucket = 0;
    };
    // A run of consecutive points in one zone: the line's points first .. last, after the cut
    // end of a stroke that enters the zone and before that of one that leaves it (in cuts_).
    struct Run {
        Zone zone;
        std::uint32_t group;
        std::uint32_t first, last;
        std::optional<std::uint32_t> entry, exit;
    };

    std::optional<std::size_t> bucketOf(double x) const
    {
        const double at = (x - spans_.xLow) * bucketsPerUnit_;
        const std::size_t n = spans_.low.size();
        if (!(at >= 0 && at <= static_cast<double>(n))) return std::nullopt;
        return std::min(n - 1, static_cast<std::size_t>(at));
    }
    double cutTop(std::size_t b) const { return interiors_[b]->top - cut_; }
    double cutBottom(std::size_t b) const { return interiors_[b]->bottom + cut_; }

    Place placeOf(const LinePoint& p) const
    {
        const auto b = bucketOf(p.x);
        if (!b || !interiors_[*b]) return {};
        if (p.y >= cutTop(*b)) return {Zone::Top, *b};
        if (p.y <= cutBottom(*b)) return {Zone::Bottom, *b};
        return {Zone::Inside, *b};
    }

    // Where the stroke from `end` (in the zone) towards `other` enters the interior: at the cut
    // level of both their buckets, at least the shortest piece from `end`; `other` itself when the
    // stroke does not reach that far into the interior. gnuplot snaps an exactly vertical stroke
    // (both ends on one column of its lattice) and no other: a piece is clearly slanted, or as wide
    // as its stroke, ending on the column of `other`.
    LinePoint cutPoint(const LinePoint& end, const Place& endAt, const LinePoint& other, const Place& otherAt) const
    {
        const std::size_t a = endAt.bucket, b = otherAt.bucket;
        const Zone zone = endAt.zone;
        const double lowestTop = std::min(cutTop(a), cutTop(b)), highestBottom = std::max(cutBottom(a), cutBottom(b));
        const double level = zone == Zone::Top ? std::min(lowestTop, end.y - shortest_) : std::max(highestBottom, end.y + shortest_);
        const bool reaches = zone == Zone::Top ? other.y < level : other.y > level;
        const bool inInterior = zone == Zone::Top ? level > highestBottom : level < lowestTop;
        if (!reaches || !inInterior) return other;
        const double t = (end.y - level) / (end.y - other.y), width = std::fabs(other.x - end.x);
        if (t * width * scale_.xPixelsLeast >= 2 * kEngineUnit) return {end.x + t * (other.x - end.x), level, std::nullopt};
        if (width * scale_.xPixelsMost <= kNarrowestShift) return {other.x, level, std::nullopt};
        return other;
    }

    void open(Zone zone, std::size_t group, std::size_t k)
    {
        const auto at = static_cast<std::uint32_t>(k);
        runs_.push_back({zone, static_cast<std::uint32_t>(group), at, at, std::nullopt, std::nullopt});
    }
    std::uint32_t cutOf(const LinePoint& p)
    {
        cuts_.push_back(p);
        return static_cast<std::uint32_t>(cuts_.size() - 1);
    }

    // The line as runs: the zones' points with the cut ends of their strokes, the points outside
    // any band, and the interior's points next to those (their strokes stay whole); the other
    // interior points are left out. False when no point is left out.
    bool splitIntoRuns()
    {
        // Fresh memory costs a page fault a page: the lists are made as large as they can grow.
        runs_.reserve(line_.size());
        cuts_.reserve(line_.size());
        bool inRun = false, anyInside = false;  // the last run is open for more points of its zone
        Place was, at = placeOf(line_.front()), next;
        for (std::size_t k = 0; k < line_.size(); ++k, was = at, at = next) {
            next = k + 1 < line_.size() ? placeOf(line_[k + 1]) : Place{};
            const Zone z = at.zone;
            if (k > 0 && was.zone != z) {
                const bool leaves = was.zone == Zone::Top || was.zone == Zone::Bottom, enters = z == Zone::Top || z == Zone::Bottom;
                if (leaves && z != Zone::Whole) {
                    runs_.back().exit = cutOf(cutPoint(line_[k - 1], was, line_[k], at));
                    inRun = false;
                }
                if (enters && was.zone != Zone::Whole) {
                    open(z, at.bucket / kGroupBuckets, k);
                    runs_.back().entry = cutOf(cutPoint(line_[k], at, line_[k - 1], was));
                    inRun = true;
                    continue;
                }
            }
            if (z == Zone::Inside) {
                inRun = false;
                anyInside = true;
                const bool nextToWhole = (k > 0 && was.zone == Zone::Whole) || (k + 1 < line_.size() && next.zone == Zone::Whole);
                if (nextToWhole) open(z, at.bucket / kGroupBuckets, k);
                continue;
            }
            if (inRun && runs_.back().zone == z) {
                runs_.back().last = static_cast<std::uint32_t>(k);
            } else {
                open(z, z == Zone::Whole ? 0 : at.bucket / kGroupBuckets, k);
                inRun = true;
            }
        }
        return anyInside;
    }

    // Runs i .. j - 1, all in bands: the first and last group as they come (they join the line
    // outside), each group between with its runs above the interior first, then those below, so
    // that one stroke goes down through the interior and one up; a group without either gets a
    // point of the interior's own there.
    void emitStretch(std::size_t i, std::size_t j)
    {
        const std::size_t first = runs_[i].group, last = runs_[j - 1].group;
        std::size_t k = i;
        for (std::size_t group = first; group <= last; ++group) {
            const std::size_t from = k;
            while (k < j && runs_[k].group == group) ++k;
            if (group == first || group == last) {
                for (std::size_t r = from; r < k; ++r) emitRun(runs_[r]);
                continue;
            }
            for (const Zone zone : {Zone::Top, Zone::Bottom}) {
                bool any = false;
                for (std::size_t r = from; r < k; ++r)
                    if (runs_[r].zone == zone) emitRun(runs_[r]), any = true;
                if (!any) emitFiller(group, zone);
            }
        }
    }

    void emitFiller(std::size_t group, Zone zone)
    {
        const std::size_t b = std::min(group * kGroupBuckets + kGroupBuckets / 2, interiors_.size() - 1);
        if (!interiors_[b]) return;
        const double x = spans_.xLow + (static_cast<double>(b) + 0.5) * spans_.bucketWidth;
        const LinePoint filler{x, zone == Zone::Top ? cutTop(b) : cutBottom(b), std::nullopt};
        if (!afterWhole_) connectTo(filler);
        out_.push_back(filler);
        afterWhole_ = false;
    }

    void emitRun(const Run& run)
    {
        const LinePoint& start = run.entry ? cuts_[*run.entry] : line_[run.first];
        // The stroke from a point outside the bands to the next is the thinned line's own.
        if (run.zone != Zone::Whole && !afterWhole_) connectTo(start);
        if (run.entry) out_.push_back(cuts_[*run.entry]);
        out_.insert(out_.end(), line_.begin() + static_cast<std::ptrdiff_t>(run.first), line_.begin() + static_cast<std::ptrdiff_t>(run.last + 1));
        if (run.exit) out_.push_back(cuts_[*run.exit]);
        afterWhole_ = run.zone == Zone::Whole;
    }

    // A stroke between two points of the interior stays in it: where the interior of a bucket in
    // between is lower (or higher) than the stroke, it dips through a point of that interior.
    void connectTo(const LinePoint& to)
    {
        if (out_.empty()) return;
        const LinePoint& from = out_.back();
        const auto a = bucketOf(std::min(from.x, to.x)), b = bucketOf(std::max(from.x, to.x));
        if (!a || !b || *b - *a < 2) return;
        double top = kInfinity, bottom = -kInfinity;
        for (std::size_t q = *a + 1; q < *b; ++q) {
            if (!interiors_[q]) return;
            top = std::min(top, cutTop(q));
            bottom = std::max(bottom, cutBottom(q));
        }
        if (std::max(from.y, to.y) <= top + cut_ && std::min(from.y, to.y) >= bottom - cut_) return;
        if (bottom > top) return;
        const double y = std::clamp((from.y + to.y) / 2, bottom, top);
        out_.push_back({(from.x + to.x) / 2, y, std::nullopt});
    }

    const std::vector<LinePoint>& line_;
    const BucketSpans& spans_;
    const BandScale& scale_;
    double bucketsPerUnit_;
    std::vector<std::optional<Interior>> interiors_;
    double cut_, shortest_;
    std::vector<Run> runs_;
    std::vector<LinePoint> cuts_;  // the cut ends of strokes
    std::vector<LinePoint> out_;
    bool afterWhole_ = false;  // the last point handed out is outside the bands
};

}  // namespace

std::optional<std::vector<LinePoint>> cutThroughBand(const std::vector<LinePoint>& line, const BucketSpans& spans, const BandScale& scale)
{
    // Narrower lines leave a pixel column partly uncovered between strokes.
    // Run positions are 32-bit.
    if (scale.lineWidth < 2 || !(scale.yPixelsLeast > 0) || !(scale.xPixelsLeast > 0) || spans.low.empty() ||
        line.size() >= std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return BandCutter(line, spans, scale).run();
}

}  // namespace rizari
