#include "chart/MinMaxPyramid.h"

#include <algorithm>
#include <cmath>

#include "chart/PointsCollection.h"

namespace {

YExtremes single(const std::vector<GraphPoint>& points, std::size_t i)
{
    // NaN never wins a merge, so a point that is not finite drops out.
    const double y = points[i].finite() ? points[i].y : std::nan("");
    return {y, y, static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i)};
}

YExtremes scanRange(const std::vector<GraphPoint>& points, std::size_t first, std::size_t last)
{
    YExtremes result = single(points, first);
    for (std::size_t i = first + 1; i < last; ++i)
        mergeExtremes(result, single(points, i));
    return result;
}

} // namespace

void CMinMaxPyramid::update(const std::vector<GraphPoint>& points, std::size_t validUpTo)
{
    const std::size_t n = points.size();
    std::size_t size = (n + kBlock - 1) / kBlock;
    // The first block that holds a changed point; everything from it on is rebuilt.
    std::size_t from = std::min(validUpTo, n) / kBlock;
    if (levels_.empty())
        from = 0;
    int level = 0;
    while (size > 0) {
        if (static_cast<int>(levels_.size()) <= level)
            levels_.emplace_back();
        auto& entries = levels_[level];
        entries.resize(size);
        for (std::size_t i = from; i < size; ++i) {
            if (level == 0) {
                entries[i] = scanRange(points, i * kBlock, std::min(n, (i + 1) * kBlock));
            } else {
                const auto& below = levels_[level - 1];
                entries[i] = below[2 * i];
                if (2 * i + 1 < below.size())
                    mergeExtremes(entries[i], below[2 * i + 1]);
            }
        }
        if (size == 1)
            break;
        size = (size + 1) / 2;
        from /= 2;
        ++level;
    }
    levels_.resize(n == 0 ? 0 : static_cast<std::size_t>(level) + 1);
}

YExtremes CMinMaxPyramid::query(const std::vector<GraphPoint>& points, std::size_t first,
                                std::size_t last) const
{
    // Ragged ends point by point, then whole blocks bottom-up; pieces are merged in index order
    // on each side so that ties resolve to the earliest point.
    YExtremes left{};
    bool haveLeft = false;
    auto appendLeft = [&](const YExtremes& piece) {
        if (haveLeft) {
            mergeExtremes(left, piece);
        } else {
            left = piece;
            haveLeft = true;
        }
    };
    std::size_t a = first;
    while (a < last && a % kBlock != 0)
        appendLeft(single(points, a++));
    if (a >= last)
        return left;
    std::size_t b = last;
    bool haveRight = false;
    YExtremes right{};
    auto prependRight = [&](const YExtremes& piece) {
        if (!haveRight) {
            right = piece;
            haveRight = true;
            return;
        }
        YExtremes merged = piece;
        mergeExtremes(merged, right);
        right = merged;
    };
    while (b > a && b % kBlock != 0) {
        --b;
        prependRight(single(points, b));
    }
    std::size_t lo = a / kBlock, hi = b / kBlock;
    for (int level = 0; lo < hi; ++level) {
        const auto& entries = levels_[level];
        if (lo & 1)
            appendLeft(entries[lo++]);
        if (hi & 1)
            prependRight(entries[--hi]);
        lo >>= 1;
        hi >>= 1;
    }
    if (haveRight)
        appendLeft(right);
    return left;
}
