#pragma once
// Where the live graph looks. While it follows the data, the x range moves in steps, not with
// every row: a window of the last 10 minutes or hour fills from the left, then jumps ahead by a
// tenth of its length whenever the newest row reaches its right end, so that rows in between
// are drawn incrementally. "Everything" spans from the first row and grows by a quarter when
// full. The y range fits the shown values with a margin and widens only when a value falls
// outside it.

#include <optional>

#include "chart/PlotMath.h"

enum class LiveSpan { TenMinutes, OneHour, Everything };

// 600, 3600, or 0 for everything.
double liveSpanSeconds(LiveSpan span);

struct LiveXRange {
    double from = 0;
    double to = 0;
};

// The x range to follow rows from firstX to lastX.
LiveXRange followXRange(LiveSpan span, double firstX, double lastX);

// True when a row at x no longer fits the followed range.
inline bool needsNewXRange(const LiveXRange& range, double x) { return x > range.to; }

struct LiveYRange {
    double from = 0;
    double to = 0;
};

// A range around min..max with 5 % of its height above and below; a flat line gets +-10 % of
// its value (+-1 at zero).
LiveYRange fitYRange(double min, double max);

// The range widened to hold y (with the same margin), or nothing when y is inside it or not a
// finite number.
std::optional<LiveYRange> widenedYRange(const LiveYRange& range, double y);
