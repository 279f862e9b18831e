#pragma once
// The rows the live graph draws, kept for as long as the link runs at a cost that does not grow
// with its length: the last hour and some at full resolution, and everything since the link
// came up as per-channel minimum and maximum over buckets of equal time. Bucket widths start at
// one second and double (neighbours merged) whenever kMaxBuckets would not cover the run, so a
// week at ten rows a second stays a few thousand buckets.
//
// x is seconds since the link came up; rows arrive with strictly growing x (a row that does not
// is moved just after the previous one). A channel without a value in a row holds NaN.

#include <array>
#include <cstddef>
#include <deque>
#include <vector>

#include "core/Channels.h"

struct LiveRow {
    double x = 0;
    std::array<float, kChannelCount> values{};
};

struct LiveBucket {
    // Per channel; min is NaN while the bucket holds no value of the channel.
    std::array<float, kChannelCount> min;
    std::array<float, kChannelCount> max;
    std::array<double, kChannelCount> xMin;
    std::array<double, kChannelCount> xMax;
    LiveBucket();
    void add(const LiveRow& row);
    void merge(const LiveBucket& later);
};

class CLiveHistory {
public:
    static constexpr double kRecentSeconds = 3900; // an hour's window and its headroom
    static constexpr std::size_t kMaxBuckets = 4096;

    void clear();
    void add(LiveRow row);

    std::size_t totalRows() const { return totalRows_; }
    bool empty() const { return totalRows_ == 0; }
    double lastX() const { return lastX_; }

    // The rows of the last kRecentSeconds (at least the last row), oldest first.
    const std::deque<LiveRow>& recent() const { return recent_; }
    // Index of the first recent row with x >= from.
    std::size_t firstRecentAt(double from) const;

    // Bucket i covers x from i * bucketWidth() to (i + 1) * bucketWidth().
    double bucketWidth() const { return bucketWidth_; }
    const std::vector<LiveBucket>& buckets() const { return buckets_; }
    // Changes whenever buckets were merged, so that a drawing of them must start again.
    unsigned bucketGeneration() const { return bucketGeneration_; }

    // Bytes held, for the memory budget.
    std::size_t memoryBytes() const;

private:
    std::deque<LiveRow> recent_;
    std::vector<LiveBucket> buckets_;
    double bucketWidth_ = 1.0;
    unsigned bucketGeneration_ = 0;
    std::size_t totalRows_ = 0;
    double lastX_ = 0;
};
