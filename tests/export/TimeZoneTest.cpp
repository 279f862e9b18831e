#include <gtest/gtest.h>

#include <cerrno>
#include <ctime>
#include <vector>

#include "export/UtcTimeline.h"
#include "stats/CivilTime.h"

namespace {

std::int64_t local(const char* text)
{
    std::int64_t seconds = 0;
    EXPECT_TRUE(parseCivilDateTime(text, seconds)) << text;
    return seconds;
}

// UTC instants are written as local times of UTC: the same calendar arithmetic.
std::int64_t utc(const char* text) { return local(text); }

CTimeZone zone(const char* name)
{
    CTimeZone z;
    EXPECT_EQ(z.select(name), 0) << name;
    return z;
}

} // namespace

TEST(TimeZone, OnlyZonesOfTheDatabaseAreSelected)
{
    for (const char* name : {"Europe/Berlin", "UTC", "America/New_York"})
        EXPECT_EQ(CTimeZone().select(name), 0) << name;
    // The C library would take each of these for UTC without a word.
    for (const char* name : {"Mars/Olympus_Mons", "", "/usr/share/zoneinfo/UTC", "../../etc/passwd",
                             "zone.tab", "Europe"})
        EXPECT_EQ(CTimeZone().select(name), ENOENT) << name;
}

// Every second of the two days of Berlin's clock changes in 2024, checked against the C
// library's own reading of each instant found; the hours in between come from the cache.
TEST(TimeZone, EverySecondOfTheChangeDaysMapsBackToItsLocalTime)
{
    const CTimeZone berlin = zone("Europe/Berlin");
    for (const char* day : {"2024/03/31 00:00:00", "2024/10/27 00:00:00"}) {
        const std::int64_t midnight = local(day);
        const bool spring = day[6] == '3';
        for (std::int64_t second = 0; second < 86400; ++second) {
            const CTimeZone::Instants found = berlin.instants(midnight + second);
            const bool changing = second >= 2 * 3600 && second < 3 * 3600;
            ASSERT_EQ(found.count, changing ? (spring ? 0 : 2) : 1) << day << " + " << second;
            for (int i = 0; i < found.count; ++i) {
                const std::time_t t = found.utc[i];
                std::tm tm{};
                localtime_r(&t, &tm);
                ASSERT_EQ(civilSeconds(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                                       tm.tm_min, tm.tm_sec),
                          midnight + second);
            }
        }
    }
}

TEST(TimeZone, RepeatedAndMissingTimesOfOtherZones)
{
    struct Row {
        const char* zone;
        const char* local;
        std::vector<std::int64_t> utc;
    };
    const Row rows[] = {
        {"America/New_York",
         "2024/11/03 01:30:00",
         {utc("2024/11/03 05:30:00"), utc("2024/11/03 06:30:00")}},
        {"America/New_York", "2024/03/10 02:30:00", {}},
        // Half an hour back at 02:00.
        {"Australia/Lord_Howe",
         "2024/04/07 01:45:00",
         {utc("2024/04/06 14:45:00"), utc("2024/04/06 15:15:00")}},
        {"Australia/Lord_Howe", "2024/04/07 02:00:00", {utc("2024/04/06 15:30:00")}},
        {"UTC", "2024/03/31 02:30:00", {utc("2024/03/31 02:30:00")}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.zone) + " " + row.local);
        const CTimeZone::Instants found = zone(row.zone).instants(local(row.local));
        EXPECT_EQ(std::vector<std::int64_t>(found.utc, found.utc + found.count), row.utc);
    }
}

// Rows of a file across the night the clocks go back: the repeated hour comes twice, in order.
TEST(UtcTimeline, RowsTakeTheRepeatedHourInFileOrder)
{
    const CTimeZone berlin = zone("Europe/Berlin");
    CUtcTimeline timeline(berlin);
    struct Row {
        const char* local;
        std::optional<std::int64_t> utc;
    };
    const Row rows[] = {
        {"2024/10/27 01:59:59", utc("2024/10/26 23:59:59")},
        {"2024/10/27 02:00:00", utc("2024/10/27 00:00:00")},
        {"2024/10/27 02:00:00", utc("2024/10/27 00:00:00")}, // a second row in the same second
        {"2024/10/27 02:59:59", utc("2024/10/27 00:59:59")},
        {"2024/10/27 02:00:00", utc("2024/10/27 01:00:00")}, // the clock went back
        {"2024/10/27 02:00:00", utc("2024/10/27 01:00:00")},
        {"2024/10/27 02:40:00", utc("2024/10/27 01:40:00")},
        {"2024/10/27 03:00:00", utc("2024/10/27 02:00:00")},
        {"2024/03/31 02:30:00", std::nullopt}, // the hour skipped in spring
    };
    for (const Row& row : rows)
        EXPECT_EQ(timeline.instant(local(row.local)), row.utc) << row.local;
}

// A period lasts from the instant the clock entered it to the instant it left it: a 10-minute
// period of the repeated hour ends when the clock goes back, an hour's period holds both.
TEST(UtcTimeline, PeriodsLastAsLongAsTheClockShowedThem)
{
    struct Period {
        const char* start;
        const char* end;
        const char* utcStart;
        const char* utcEnd;
    };
    const std::vector<std::vector<Period>> sequences = {
        {{"2024/10/27 01:50:00", "2024/10/27 02:00:00", "2024/10/26 23:50:00",
          "2024/10/27 00:00:00"},
         {"2024/10/27 02:50:00", "2024/10/27 03:00:00", "2024/10/27 00:50:00",
          "2024/10/27 01:00:00"},
         {"2024/10/27 02:00:00", "2024/10/27 02:10:00", "2024/10/27 01:00:00",
          "2024/10/27 01:10:00"},
         {"2024/10/27 02:50:00", "2024/10/27 03:00:00", "2024/10/27 01:50:00",
          "2024/10/27 02:00:00"}},
        {{"2024/10/27 02:00:00", "2024/10/27 03:00:00", "2024/10/27 00:00:00",
          "2024/10/27 02:00:00"},
         {"2024/10/27 00:00:00", "2024/10/28 00:00:00", "2024/10/26 22:00:00",
          "2024/10/27 23:00:00"}},
        {{"2024/03/31 01:50:00", "2024/03/31 02:00:00", "2024/03/31 00:50:00",
          "2024/03/31 01:00:00"},
         {"2024/03/31 02:00:00", "2024/03/31 04:00:00", "2024/03/31 01:00:00",
          "2024/03/31 02:00:00"}},
    };
    const CTimeZone berlin = zone("Europe/Berlin");
    for (const std::vector<Period>& sequence : sequences) {
        CUtcTimeline timeline(berlin);
        for (const Period& p : sequence) {
            SCOPED_TRACE(std::string(p.start) + " - " + p.end);
            const CUtcTimeline::Bounds bounds = timeline.period(local(p.start), local(p.end));
            EXPECT_EQ(bounds.start, utc(p.utcStart));
            EXPECT_EQ(bounds.end, utc(p.utcEnd));
        }
    }
}
