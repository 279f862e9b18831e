#pragma once
// A zone of the system's time zone database (tzdata), read through the C library (TZ, tzset,
// localtime_r), for turning the local date-times of record files into UTC. Local times are
// second counts of the local calendar (stats/CivilTime.h). The C library's zone is process-wide:
// each object sets it again before use when another zone was selected since.

#include <cstdint>
#include <string>

class CTimeZone {
public:
    // The UTC instants that show a local time: none in a gap (clocks going forward), two in a
    // repeated hour (clocks going back), earlier first.
    struct Instants {
        int count = 0;
        std::int64_t utc[2] = {0, 0};
    };

    // Selects a zone by its database name ("Europe/Berlin", "UTC"). 0, or ENOENT when the
    // database holds no such zone (the C library would silently take it for UTC).
    int select(const std::string& name);

    // The zone the system uses: TZ when set, else the zone /etc/localtime leads to (UTC when
    // there is none). Empty when that file is no link into the database and /etc/timezone
    // names no zone.
    static std::string systemZoneName();

    // UTC offset in seconds at an instant.
    std::int64_t offsetAt(std::int64_t utc) const;

    Instants instants(std::int64_t local) const;

    // The first instant after `after`, and at most at `limit`, whose offset differs from the
    // offset at `after`; limit when there is none.
    std::int64_t nextTransition(std::int64_t after, std::int64_t limit) const;

private:
    Instants computeInstants(std::int64_t local) const;
    void apply() const;

    std::string name_ = "UTC";
    // The local hour last looked up, when all of it maps to UTC with one offset.
    mutable std::int64_t cachedHour_ = INT64_MIN;
    mutable bool cachedUniform_ = false;
    mutable std::int64_t cachedOffset_ = 0;
};
