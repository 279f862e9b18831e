#include "app/live/LiveRanges.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kEverythingMinimum = 60;
}

double liveSpanSeconds(LiveSpan span)
{
    switch (span) {
    case LiveSpan::TenMinutes:
        return 600;
    case LiveSpan::OneHour:
        return 3600;
    case LiveSpan::Everything:
        break;
    }
    return 0;
}

LiveXRange followXRange(LiveSpan span, double firstX, double lastX)
{
    const double length = liveSpanSeconds(span);
    if (length == 0) {
        const double run = std::max(lastX - firstX, kEverythingMinimum);
        return {firstX, firstX + run * 1.25};
    }
    if (lastX < firstX + length)
        return {firstX, firstX + length * 1.1};
    const double to = lastX + length / 10;
    return {to - length * 1.1, to};
}

LiveYRange fitYRange(double min, double max)
{
    if (max < min)
        std::swap(min, max);
    if (max == min) {
        const double margin = min == 0 ? 1.0 : std::fabs(min) * 0.1;
        return {min - margin, max + margin};
    }
    const double margin = (max - min) * 0.05;
    return {min - margin, max + margin};
}

std::optional<LiveYRange> widenedYRange(const LiveYRange& range, double y)
{
    if (!std::isfinite(y) || (y >= range.from && y <= range.to))
        return std::nullopt;
    // The current range holds its margin already; widen by 5 % of the new height beyond y.
    const double from = std::min(range.from, y), to = std::max(range.to, y);
    const double margin = (to - from) * 0.05;
    return LiveYRange{y < range.from ? from - margin : from, y > range.to ? to + margin : to};
}
