#include "chart/PointsCollection.h"

#include <algorithm>

CPointsCollection::CPointsCollection(bool sorted, bool duplicatesAllowed)
    : sorted_(sorted), duplicatesAllowed_(duplicatesAllowed)
{
}

void CPointsCollection::widenBounds(double x, double y)
{
    if (!GraphPoint{x, y}.finite())
        return;
    if (!hasBounds_) {
        minX_ = maxX_ = x;
        minY_ = maxY_ = y;
        hasBounds_ = true;
        return;
    }
    minX_ = std::min(minX_, x);
    maxX_ = std::max(maxX_, x);
    minY_ = std::min(minY_, y);
    maxY_ = std::max(maxY_, y);
}

void CPointsCollection::touch(std::size_t fromIndex)
{
    pyramidValidUpTo_ = std::min(pyramidValidUpTo_, fromIndex);
}

void CPointsCollection::insertAt(std::size_t index, GraphPoint point)
{
    // std::vector grows geometrically, so appending stays amortised constant time.
    points_.insert(points_.begin() + static_cast<std::ptrdiff_t>(index), point);
    touch(index);
}

int CPointsCollection::addPoint(double x, double y, bool recomputeBounds)
{
    if (points_.empty()) { // bounds set on an empty collection give way to its first point
        minX_ = maxX_ = minY_ = maxY_ = 0;
        hasBounds_ = false;
    }
    widenBounds(x, y);
    const std::size_t n = points_.size();
    // An x that is not a number has no order: such points go after all others, which keeps the
    // rest in ascending order for the searches below.
    if (!sorted_ || n == 0 || x > points_.back().x || std::isnan(x)) {
        insertAt(n, {x, y});
        return static_cast<int>(n);
    }
    if (x < points_.front().x) {
        insertAt(0, {x, y});
        return 0;
    }
    // The first point whose x is not below the new x: a binary search finds the same point a
    // scan from the front would, since the points are in ascending x.
    auto it = std::lower_bound(points_.begin(), points_.end(), x,
                               [](const GraphPoint& p, double value) { return p.x < value; });
    const auto index = static_cast<std::size_t>(it - points_.begin());
    if (it->x == x && !duplicatesAllowed_) {
        *it = {x, y};
        touch(index);
        if (recomputeBounds)
            this->recomputeBounds();
        return static_cast<int>(index);
    }
    insertAt(index, {x, y});
    return static_cast<int>(index);
}

int CPointsCollection::insertPoint(int position, double x, double y, bool recomputeBounds)
{
    if (position < 0 || position > count())
        return -1;
    if (position == count() || sorted_)
        return addPoint(x, y, recomputeBounds);
    insertAt(static_cast<std::size_t>(position), {x, y});
    if (recomputeBounds)
        this->recomputeBounds();
    return position;
}

bool CPointsCollection::removePoint(int index, bool recomputeBounds)
{
    if (index < 0 || index >= count())
        return false;
    points_.erase(points_.begin() + index);
    touch(static_cast<std::size_t>(index));
    if (recomputeBounds || points_.empty())
        this->recomputeBounds();
    return true;
}

bool CPointsCollection::setPointY(int index, double y, bool recomputeBounds)
{
    if (index < 0 || index >= count())
        return false;
    points_[static_cast<std::size_t>(index)].y = y;
    touch(static_cast<std::size_t>(index));
    if (recomputeBounds)
        this->recomputeBounds();
    else
        widenBounds(points_[static_cast<std::size_t>(index)].x, y);
    return true;
}

void CPointsCollection::clear()
{
    points_.clear();
    touch(0);
    recomputeBounds();
}

void CPointsCollection::setBounds(double minX, double maxX, double minY, double maxY)
{
    minX_ = minX;
    maxX_ = maxX;
    minY_ = minY;
    maxY_ = maxY;
    hasBounds_ = true;
}

void CPointsCollection::recomputeBounds()
{
    minX_ = maxX_ = minY_ = maxY_ = 0;
    hasBounds_ = false;
    for (const GraphPoint& p : points_)
        widenBounds(p.x, p.y);
}

const CMinMaxPyramid& CPointsCollection::pyramid() const
{
    if (pyramidValidUpTo_ < points_.size() || pyramid_.levelCount() == 0 ||
        pyramidValidUpTo_ > points_.size()) {
        pyramid_.update(points_, pyramidValidUpTo_);
        pyramidValidUpTo_ = points_.size();
    }
    return pyramid_;
}
