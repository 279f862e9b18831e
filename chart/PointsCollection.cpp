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

void CPointsCollection::setIndexedValues(std::shared_ptr<const IIndexedValues> values)
{
    points_.clear();
    points_.shrink_to_fit();
    indexed_ = std::move(values);
    pyramid_ = CMinMaxPyramid(CMinMaxPyramid::kIndexedBlock);
    pyramid_.build(*indexed_);
    pyramidValidUpTo_ = indexed_->size();
    minX_ = maxX_ = minY_ = maxY_ = 0;
    hasBounds_ = false;
    if (pyramid_.levelCount() == 0)
        return;
    const YExtremes all = pyramid_.entry(pyramid_.levelCount() - 1, 0);
    if (std::isnan(all.minY))
        return; // no value is drawn
    minX_ = 0;
    maxX_ = static_cast<double>(indexed_->size() - 1);
    minY_ = all.minY;
    maxY_ = all.maxY;
    hasBounds_ = true;
}

void CPointsCollection::takeIntoArray()
{
    if (!indexed_)
        return;
    const std::size_t n = indexed_->size();
    std::vector<double> ys(n);
    if (n > 0)
        indexed_->values(0, n, ys.data());
    points_.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        points_[i] = {static_cast<double>(i), ys[i]};
    indexed_.reset();
    pyramid_ = CMinMaxPyramid();
    pyramidValidUpTo_ = 0;
}

int CPointsCollection::addPoint(double x, double y, bool recomputeBounds)
{
    takeIntoArray();
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
    takeIntoArray();
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
    takeIntoArray();
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
    takeIntoArray();
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
    if (indexed_) {
        indexed_.reset();
        pyramid_ = CMinMaxPyramid();
    }
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
    if (indexed_) {
        setIndexedValues(indexed_);
        return;
    }
    minX_ = maxX_ = minY_ = maxY_ = 0;
    hasBounds_ = false;
    for (const GraphPoint& p : points_)
        widenBounds(p.x, p.y);
}

const CMinMaxPyramid& CPointsCollection::pyramid() const
{
    if (indexed_)
        return pyramid_; // built with the values
    if (pyramidValidUpTo_ < points_.size() || pyramid_.levelCount() == 0 ||
        pyramidValidUpTo_ > points_.size()) {
        pyramid_.update(points_, pyramidValidUpTo_);
        pyramidValidUpTo_ = points_.size();
    }
    return pyramid_;
}
