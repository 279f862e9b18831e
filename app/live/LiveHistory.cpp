#include "app/live/LiveHistory.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
}

LiveBucket::LiveBucket()
{
    min.fill(kNone);
    max.fill(kNone);
    xMin.fill(0);
    xMax.fill(0);
}

void LiveBucket::add(const LiveRow& row)
{
    for (std::size_t k = 0; k < row.values.size(); ++k) {
        const float v = row.values[k];
        if (std::isnan(v))
            continue;
        if (std::isnan(min[k]) || v < min[k]) {
            min[k] = v;
            xMin[k] = row.x;
        }
        if (std::isnan(max[k]) || v > max[k]) {
            max[k] = v;
            xMax[k] = row.x;
        }
    }
}

void LiveBucket::merge(const LiveBucket& later)
{
    for (std::size_t k = 0; k < min.size(); ++k) {
        if (std::isnan(later.min[k]))
            continue;
        // Ties keep the earlier point, as adding the rows one by one would.
        if (std::isnan(min[k]) || later.min[k] < min[k]) {
            min[k] = later.min[k];
            xMin[k] = later.xMin[k];
        }
        if (std::isnan(max[k]) || later.max[k] > max[k]) {
            max[k] = later.max[k];
            xMax[k] = later.xMax[k];
        }
    }
}

void CLiveHistory::clear()
{
    recent_.clear();
    buckets_.clear();
    buckets_.shrink_to_fit();
    bucketWidth_ = 1.0;
    ++bucketGeneration_;
    totalRows_ = 0;
    lastX_ = 0;
}

void CLiveHistory::add(LiveRow row)
{
    if (!std::isfinite(row.x) || row.x < 0)
        row.x = 0;
    if (totalRows_ > 0 && row.x <= lastX_)
        row.x = std::nextafter(lastX_, std::numeric_limits<double>::infinity());
    lastX_ = row.x;
    ++totalRows_;

    recent_.push_back(row);
    while (recent_.size() > 1 && recent_.front().x < row.x - kRecentSeconds)
        recent_.pop_front();

    auto index = static_cast<std::size_t>(row.x / bucketWidth_);
    while (index >= kMaxBuckets) {
        // Halve the resolution: bucket i takes buckets 2i and 2i + 1.
        for (std::size_t i = 0; 2 * i < buckets_.size(); ++i) {
            LiveBucket merged = buckets_[2 * i];
            if (2 * i + 1 < buckets_.size())
                merged.merge(buckets_[2 * i + 1]);
            buckets_[i] = merged;
        }
        buckets_.resize((buckets_.size() + 1) / 2);
        bucketWidth_ *= 2;
        ++bucketGeneration_;
        index = static_cast<std::size_t>(row.x / bucketWidth_);
    }
    if (buckets_.size() <= index)
        buckets_.resize(index + 1);
    buckets_[index].add(row);
}

std::size_t CLiveHistory::firstRecentAt(double from) const
{
    auto at = std::lower_bound(recent_.begin(), recent_.end(), from,
                               [](const LiveRow& row, double x) { return row.x < x; });
    return static_cast<std::size_t>(at - recent_.begin());
}

std::size_t CLiveHistory::memoryBytes() const
{
    return recent_.size() * sizeof(LiveRow) + buckets_.capacity() * sizeof(LiveBucket);
}
