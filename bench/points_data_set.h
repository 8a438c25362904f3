// The points of a benchmark as the library's in-memory data set (the x values, then the y values),
// made once per shape and size and kept for the process.
#pragma once

#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>

#include "bench/points.h"
#include "data/data_file_writer.h"

namespace rizari::bench {

struct PointsDataSet {
    Points points;
    DataSet set;
};

inline PointsDataSet& pointsDataSet(Shape shape, long n)
{
    static std::map<std::pair<Shape, long>, PointsDataSet> cache;
    const auto key = std::make_pair(shape, n);
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    PointsDataSet d{makePoints(shape, static_cast<std::size_t>(n)), {}};
    const std::size_t bytes = static_cast<std::size_t>(n) * sizeof(double);
    d.set.pointCount = static_cast<int>(n);
    d.set.values = ValueBlock::allocate(2 * bytes);
    if (!d.set.values) std::abort();
    std::memcpy(d.set.values->data(), d.points.x.get(), bytes);
    std::memcpy(d.set.values->data() + bytes, d.points.y.get(), bytes);
    return cache.emplace(key, std::move(d)).first->second;
}

}  // namespace rizari::bench
