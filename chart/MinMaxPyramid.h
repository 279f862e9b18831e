#pragma once
// Minimum and maximum of y over index ranges of a point array, in O(log n) per query. Level 0
// holds one entry per block of 16 points, each further level halves the count. Entries store
// the extreme values with the indices of their points (the first one on ties), so callers also
// learn their order without touching the points again. Points that are not finite take no part:
// a range of only such points has NaN extremes.

#include <cstddef>
#include <cstdint>
#include <vector>

struct GraphPoint;

struct YExtremes {
    double minY = 0;
    double maxY = 0;
    std::uint32_t minIndex = 0;
    std::uint32_t maxIndex = 0;
};

class CMinMaxPyramid {
public:
    static constexpr std::size_t kBlock = 16;

    // Brings the pyramid up to date for points, where everything below validUpTo is unchanged
    // since the last update (0 rebuilds everything).
    void update(const std::vector<GraphPoint>& points, std::size_t validUpTo);

    // Extremes over the index range [first, last), which must be non-empty.
    YExtremes query(const std::vector<GraphPoint>& points, std::size_t first,
                    std::size_t last) const;

    int levelCount() const { return static_cast<int>(levels_.size()); }
    // Entry of a level (level 0: blocks of kBlock points; level k: kBlock << k points).
    const YExtremes& entry(int level, std::size_t index) const { return levels_[level][index]; }
    std::size_t levelSize(int level) const { return levels_[level].size(); }

private:
    std::vector<std::vector<YExtremes>> levels_;
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
