#pragma once
// The points of one series: a contiguous array of (x, y) pairs with their bounds, kept in
// ascending x when sorted. A min/max pyramid over y is kept alongside and brought up to date
// lazily, so that drawing can reduce any index range in logarithmic time. A point with a
// coordinate that is not finite is kept but has no place in the picture: bounds and drawing skip
// it. A sorted collection keeps points whose x is not a number after all others.
// Instead of the array, a collection may read its points from indexed values (point i at x = i),
// which stay with their owner: then only the pyramid is kept here, and a change to the points
// copies them into the array first.

#include <cmath>
#include <cstddef>
#include <memory>
#include <vector>

#include "chart/IndexedValues.h"
#include "chart/MinMaxPyramid.h"

struct GraphPoint {
    double x = 0;
    double y = 0;
    bool operator==(const GraphPoint&) const = default;
    // Both coordinates finite: the point is drawn and counts for the bounds.
    bool finite() const { return std::isfinite(x) && std::isfinite(y); }
};

class CPointsCollection {
public:
    CPointsCollection(bool sorted = true, bool duplicatesAllowed = false);

    bool sorted() const { return sorted_; }
    bool duplicatesAllowed() const { return duplicatesAllowed_; }

    int count() const { return static_cast<int>(size()); }
    std::size_t size() const { return indexed_ ? indexed_->size() : points_.size(); }
    bool empty() const { return size() == 0; }
    GraphPoint at(int index) const { return at(static_cast<std::size_t>(index)); }
    GraphPoint at(std::size_t index) const
    {
        return indexed_ ? GraphPoint{static_cast<double>(index), indexed_->value(index)}
                        : points_[index];
    }
    // The array of points; empty while the points are indexed values.
    const std::vector<GraphPoint>& points() const { return points_; }

    // Makes the points (i, values[i]) for i from 0 to values->size() - 1, read from values when
    // they are drawn; bounds and pyramid are computed at once. The collection must be sorted.
    void setIndexedValues(std::shared_ptr<const IIndexedValues> values);
    // The indexed values the points are read from; null for points held in the array.
    const IIndexedValues* indexedValues() const { return indexed_.get(); }

    // Adds a point by the collection's rules and returns its index. When a sorted collection
    // without duplicates replaces a point of the same x, the bounds are recomputed from all
    // points if recomputeBounds is set (otherwise they keep the replaced point's extent).
    int addPoint(double x, double y, bool recomputeBounds = true);

    // Inserts at position 0..count. At the end, or in a sorted collection, this is addPoint;
    // otherwise the point goes exactly there and the bounds are only recomputed when asked.
    // Returns the point's index, or -1 for a position outside 0..count.
    int insertPoint(int position, double x, double y, bool recomputeBounds = true);

    // Removes the point at index; false when there is none. Bounds follow when asked.
    bool removePoint(int index, bool recomputeBounds = true);
    // Replaces the y of the point at index (x stays, so the order holds); false when none.
    bool setPointY(int index, double y, bool recomputeBounds = true);
    void clear();

    // Reserves room for n points (a caller that knows the size avoids regrowth).
    void reserve(int n) { points_.reserve(static_cast<std::size_t>(n < 0 ? 0 : n)); }

    // True when the bounds hold the extent of at least one finite point (or were set): a
    // collection of only non-finite points has none, like an empty one.
    bool hasBounds() const { return hasBounds_; }
    double minX() const { return minX_; }
    double maxX() const { return maxX_; }
    double minY() const { return minY_; }
    double maxY() const { return maxY_; }
    void setBounds(double minX, double maxX, double minY, double maxY);
    void recomputeBounds();

    // The y pyramid of the current points (rebuilt from the first changed index on demand).
    const CMinMaxPyramid& pyramid() const;

private:
    void widenBounds(double x, double y);
    void insertAt(std::size_t index, GraphPoint point);
    void touch(std::size_t fromIndex);
    // Copies indexed points into the array before a change.
    void takeIntoArray();

    std::vector<GraphPoint> points_;
    std::shared_ptr<const IIndexedValues> indexed_;
    bool sorted_;
    bool duplicatesAllowed_;
    double minX_ = 0, maxX_ = 0, minY_ = 0, maxY_ = 0;
    bool hasBounds_ = false;
    mutable CMinMaxPyramid pyramid_;
    mutable std::size_t pyramidValidUpTo_ = 0; // points below this index are in the pyramid
};
