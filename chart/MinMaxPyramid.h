#pragma once
// Minimum and maximum of y over index ranges of a point array, in O(log n) per query. Level 0
// holds one entry per block of 16 points, each further level halves the count. Entries store
// the indices of the extreme points (the first one on ties), so callers also learn their order.

#include <cstddef>
#include <cstdint>
#include <vector>

struct GraphPoint;

struct YExtremes {
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

// Merges b into a (a comes first in index order).
void mergeExtremes(YExtremes& a, const YExtremes& b, const std::vector<GraphPoint>& points);
