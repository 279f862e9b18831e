#pragma once
// Minimum and maximum of y over index ranges of a series' points, in O(log n) per query. Level 0
// holds one entry per block of points (16 for points held in a vector, more for indexed values,
// where the pyramid is most of what the series costs), each further level halves the count.
// Entries store the extreme values with the indices of their points (the first one on ties), so
// callers also learn their order without touching the points again. Points that are not finite
// take no part: a range of only such points has NaN extremes.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

struct GraphPoint;
class IIndexedValues;

struct YExtremes {
    double minY = 0;
    double maxY = 0;
    std::uint32_t minIndex = 0;
    std::uint32_t maxIndex = 0;
};

// Merges b into a (a comes first in index order). A value that is not a number never wins
// against one that is, so one NaN cannot hide the extremes of a whole block.
inline void mergeExtremes(YExtremes& a, const YExtremes& b)
{
    if (b.minY < a.minY || (a.minY != a.minY && b.minY == b.minY)) {
        a.minY = b.minY;
        a.minIndex = b.minIndex;
    }
    if (b.maxY > a.maxY || (a.maxY != a.maxY && b.maxY == b.maxY)) {
        a.maxY = b.maxY;
        a.maxIndex = b.maxIndex;
    }
}

// Extremes of the points [first, last), non-empty, read one by one: yAt(i) gives the y of point
// i, NaN when it is not drawn.
template <class YAt> YExtremes foldExtremes(std::size_t first, std::size_t last, YAt yAt)
{
    auto single = [&yAt](std::size_t i) {
        const double y = yAt(i);
        return YExtremes{y, y, static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i)};
    };
    YExtremes result = single(first);
    for (std::size_t i = first + 1; i < last; ++i)
        mergeExtremes(result, single(i));
    return result;
}

class CMinMaxPyramid {
public:
    static constexpr std::size_t kBlock = 16;
    static constexpr std::size_t kIndexedBlock = 128;

    explicit CMinMaxPyramid(std::size_t block = kBlock) : block_(block) {}
    std::size_t block() const { return block_; }

    // Brings the pyramid up to date for points, where everything below validUpTo is unchanged
    // since the last update (0 rebuilds everything).
    void update(const std::vector<GraphPoint>& points, std::size_t validUpTo);
    // Builds it over indexed values, reading them a block at a time.
    void build(const IIndexedValues& values);

    // Extremes over the index range [first, last), which must be non-empty.
    YExtremes query(const std::vector<GraphPoint>& points, std::size_t first,
                    std::size_t last) const;
    // The same for any points: yAt(i) gives the y of point i, NaN when it is not drawn.
    template <class YAt>
        requires std::is_invocable_r_v<double, YAt, std::size_t>
    YExtremes query(std::size_t first, std::size_t last, YAt yAt) const;
    // The same, where stretch(a, b) gives the extremes of [a, b), a non-empty run within one
    // block, as foldExtremes() finds them: for points whose owner answers a run in one call.
    template <class Stretch>
        requires std::is_invocable_r_v<YExtremes, Stretch, std::size_t, std::size_t>
    YExtremes query(std::size_t first, std::size_t last, Stretch stretch) const;

    int levelCount() const { return static_cast<int>(levels_.size()); }
    // Entry of a level (level 0: blocks of block() points; level k: block() << k points).
    const YExtremes& entry(int level, std::size_t index) const { return levels_[level][index]; }
    std::size_t levelSize(int level) const { return levels_[level].size(); }

private:
    // Level 0 has entries from `from` on; builds the levels above it.
    void buildUpperLevels(std::size_t from);

    std::size_t block_;
    std::vector<std::vector<YExtremes>> levels_;
};

template <class YAt>
    requires std::is_invocable_r_v<double, YAt, std::size_t>
YExtremes CMinMaxPyramid::query(std::size_t first, std::size_t last, YAt yAt) const
{
    return query(first, last,
                 [&yAt](std::size_t a, std::size_t b) { return foldExtremes(a, b, yAt); });
}

template <class Stretch>
    requires std::is_invocable_r_v<YExtremes, Stretch, std::size_t, std::size_t>
YExtremes CMinMaxPyramid::query(std::size_t first, std::size_t last, Stretch stretch) const
{
    // The ragged run at each end in one call, then whole blocks bottom-up; pieces are merged in
    // index order on each side so that ties resolve to the earliest point.
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
    if (a < last && a % block_ != 0) {
        a = std::min(last, (a / block_ + 1) * block_);
        appendLeft(stretch(first, a));
    }
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
    if (b % block_ != 0) {
        b = b / block_ * block_; // not below a, which is at a block's start here
        prependRight(stretch(b, last));
    }
    std::size_t lo = a / block_, hi = b / block_;
    for (int level = 0; lo < hi; ++level) {
        const auto& entries = levels_[static_cast<std::size_t>(level)];
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
