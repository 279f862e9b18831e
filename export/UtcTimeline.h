#pragma once
// Local times of a file, in file order, as UTC instants of one zone. A time of the hour that
// repeats when clocks go back is taken at its first occurrence, and at its second once the
// times before it have passed the first; a time in the gap when clocks go forward does not
// exist. Statistics periods of the local clock get the instants at which the clock entered
// and left them.

#include <cstdint>
#include <optional>

#include "export/TimeZone.h"

class CUtcTimeline {
public:
    explicit CUtcTimeline(const CTimeZone& zone) : zone_(zone) {}

    // The instant of the next row's local time; nothing when the zone has no such time.
    std::optional<std::int64_t> instant(std::int64_t local);

    struct Bounds {
        std::int64_t start = 0;
        std::int64_t end = 0;
    };
    // The next period [start, end) of the local clock: from the instant the clock showed start
    // (or jumped past it) to the instant it showed end or went back before start.
    Bounds period(std::int64_t start, std::int64_t end);

private:
    // The occurrence of a local time that follows the instant taken last.
    std::int64_t inOrder(const CTimeZone::Instants& instants) const;
    // The instant the clock jumped past a local time in a gap.
    std::int64_t jumpPast(std::int64_t local) const;

    const CTimeZone& zone_;
    std::int64_t last_ = INT64_MIN;
};
