#include "chart/MinMaxPyramid.h"

#include <algorithm>

#include "chart/IndexedValues.h"
#include "chart/PointsCollection.h"

namespace {

double drawnY(double y) { return std::isfinite(y) ? y : std::nan(""); }

// The y of a point as the pyramid counts it.
double pointY(const std::vector<GraphPoint>& points, std::size_t i)
{
    return points[i].finite() ? points[i].y : std::nan("");
}

} // namespace

YExtremes IIndexedValues::extremes(std::size_t first, std::size_t count) const
{
    double ys[CMinMaxPyramid::kIndexedBlock];
    YExtremes result{};
    for (std::size_t done = 0; done < count;) {
        const std::size_t n = std::min(count - done, CMinMaxPyramid::kIndexedBlock);
        const std::size_t at = first + done;
        values(at, n, ys);
        const YExtremes piece =
            foldExtremes(at, at + n, [&ys, at](std::size_t i) { return drawnY(ys[i - at]); });
        if (done == 0)
            result = piece;
        else
            mergeExtremes(result, piece);
        done += n;
    }
    return result;
}

void CMinMaxPyramid::buildUpperLevels(std::size_t from)
{
    std::size_t size = levels_[0].size();
    std::size_t level = 0;
    while (size > 1) {
        size = (size + 1) / 2;
        from /= 2;
        ++level;
        if (levels_.size() <= level)
            levels_.emplace_back();
        const auto& below = levels_[level - 1];
        auto& entries = levels_[level];
        entries.resize(size);
        for (std::size_t i = from; i < size; ++i) {
            entries[i] = below[2 * i];
            if (2 * i + 1 < below.size())
                mergeExtremes(entries[i], below[2 * i + 1]);
        }
    }
    levels_.resize(levels_.empty() || levels_[0].empty() ? 0 : level + 1);
}

void CMinMaxPyramid::update(const std::vector<GraphPoint>& points, std::size_t validUpTo)
{
    const std::size_t n = points.size();
    // The first block that holds a changed point; everything from it on is rebuilt.
    std::size_t from = std::min(validUpTo, n) / block_;
    if (levels_.empty()) {
        levels_.emplace_back();
        from = 0;
    }
    auto& entries = levels_[0];
    entries.resize((n + block_ - 1) / block_);
    for (std::size_t i = from; i < entries.size(); ++i) {
        const std::size_t first = i * block_;
        entries[i] = foldExtremes(first, std::min(n, first + block_),
                                  [&points](std::size_t k) { return pointY(points, k); });
    }
    buildUpperLevels(from);
}

void CMinMaxPyramid::build(const IIndexedValues& values)
{
    const std::size_t n = values.size();
    levels_.assign(1, {});
    auto& entries = levels_[0];
    entries.resize((n + block_ - 1) / block_);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t first = i * block_;
        entries[i] = values.extremes(first, std::min(n, first + block_) - first);
    }
    buildUpperLevels(0);
}

YExtremes CMinMaxPyramid::query(const std::vector<GraphPoint>& points, std::size_t first,
                                std::size_t last) const
{
    return query(first, last, [&points](std::size_t i) { return pointY(points, i); });
}
