#include <gtest/gtest.h>

#include "export/ExportRange.h"

TEST(ExportRange, IntervalsOf30000RowsEndWithTheTable)
{
    struct Case {
        std::size_t rows;
        std::vector<ExportRange> intervals;
    };
    const Case cases[] = {
        {0, {}},
        {1, {{0, 1}}},
        {30000, {{0, 30000}}},
        {30001, {{0, 30000}, {30000, 1}}},
        {60000, {{0, 30000}, {30000, 30000}}},
        {65000, {{0, 30000}, {30000, 30000}, {60000, 5000}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(exportIntervals(c.rows), c.intervals) << c.rows << " rows";

    EXPECT_EQ(intervalLabel(0), "Interval  1");
    EXPECT_EQ(intervalLabel(11), "Interval  12");
}

TEST(ExportRange, DateTimeSplitsAfterTenCharactersAndFromTheTwelfth)
{
    struct Case {
        std::string dateTime, date, time;
    };
    const Case cases[] = {
        {"2024/03/05 07:08:09", "2024/03/05", "07:08:09"},
        {"2024/03/05 07:08", "2024/03/05", "07:08"},
        {"2024/03/05 ", "2024/03/05", ""},
        {"2024/03/05", "2024/03/05", ""},
        {"5/3/24", "5/3/24", ""},
        {"", "", ""},
        // The eleventh character is skipped whatever it is.
        {"2024/03/05T07:08:09", "2024/03/05", "07:08:09"},
    };
    for (const Case& c : cases) {
        DateTimeParts parts = splitDateTime(c.dateTime);
        EXPECT_EQ(parts.date, c.date) << c.dateTime;
        EXPECT_EQ(parts.time, c.time) << c.dateTime;
    }
}
