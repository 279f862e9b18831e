#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "stats/CivilTime.h"
#include "stats/StatsPeriod.h"
#include "stats/WindStatistics.h"

namespace {

// One row as the files hold it: a time and the field texts of SoW, Azimuth, Temperature and
// Pressure.
struct Row {
    double time;
    const char* speed;
    const char* direction;
    const char* temperature = "   20.00";
    const char* pressure = "  1000.0";
};

using Opt = std::optional<double>;
const Opt none;

struct Expected {
    long long samples;
    long long marked;
    Opt mean, min, max, vectorSpeed, vectorDirection, sd, gust, temperature, pressure;
};

struct Case {
    const char* name;
    std::vector<Row> rows;
    Expected expected;
};

// Directions are compared as angles: 359.99 is close to 0.
double angleGap(double a, double b)
{
    const double d = std::fabs(std::fmod(a - b + 540.0, 360.0) - 180.0);
    return d;
}

void expectFigure(const char* what, const Opt& actual, const Opt& expected, bool angle = false)
{
    SCOPED_TRACE(what);
    ASSERT_EQ(actual.has_value(), expected.has_value());
    if (!expected)
        return;
    if (angle)
        EXPECT_NEAR(angleGap(*actual, *expected), 0.0, 1e-6) << *actual;
    else
        EXPECT_NEAR(*actual, *expected, 1e-6);
}

WindFigures figuresOf(const std::vector<Row>& rows)
{
    CWindStatistics statistics(600);
    for (const Row& r : rows)
        EXPECT_FALSE(statistics.add(
            makeWindSample(r.time, r.speed, r.direction, r.temperature, r.pressure)));
    EXPECT_TRUE(statistics.finish());
    return *statistics.lastEnded();
}

} // namespace

// Hand-computed periods. Yamartino: eps = sqrt(1 - (mean sin^2 + mean cos^2)),
// sd = asin(eps) (1 + (2/sqrt(3) - 1) eps^3).
TEST(WindAccumulator, FiguresOfHandComputedPeriods)
{
    const std::vector<Case> cases = {
        {"wrap-around at north: 350 and 10 average to 0 and spread 10 degrees",
         {{0, "    5.00", "  350.0 "}, {1, "    5.00", "   10.0 "}},
         {2, 0, 5, 5, 5, 5 * std::cos(10 * M_PI / 180), 0.0, 10.008100326, none, 20, 1000}},
        {"speed-weighted vector mean, three directions",
         {{0, "2", "30"}, {1, "4", "60"}, {2, "6", "90"}},
         {3, 0, 4, 2, 6, 3.703236210, 70.371083362, 24.666118428, 4, 20, 1000}},
        {"calm samples count in speeds and vectors but have no direction",
         {{0, "    0.00", "   90.0 "}, {1, "    4.00", "   90.0 "}, {2, "    0.00", "  270.0 "}},
         {3, 0, 4.0 / 3, 0, 4, 4.0 / 3, 90, 0, 4.0 / 3, 20, 1000}},
        {"all calm: no direction, no spread",
         {{0, "0.00", "123"}, {1, "0.00", "321"}},
         {2, 0, 0, 0, 0, 0, none, none, none, 20, 1000}},
        {"opposite winds cancel: no vector direction, the widest spread",
         {{0, "3", "90"}, {1, "3", "270"}},
         {2, 0, 3, 3, 3, 0, none, 103.923048454, none, 20, 1000}},
        {"markers and missing fields leave their quantity out",
         {{0, "    2.00", "   10.0 ", "   10.00", "  1010.0"},
          {1, "    _err", "   20.0 ", "    _und", "  1020.0"},
          {2, "    4.00", "---- -- ", "   30.00", "    _ofl"},
          {3, "", "", "", ""}},
         {4, 3, 3, 2, 4, 2, 10, 0, none, 20, 1015}},
        {"one sample: its own values, no spread, no gust",
         {{0, "7.5", "200", "-3.25", "990.5"}},
         {1, 0, 7.5, 7.5, 7.5, 7.5, 200, 0, none, -3.25, 990.5}},
        {"gust: several samples a second weigh each sample",
         {{0.1, "1", "0"}, {0.6, "3", "0"}, {1.2, "2", "0"}, {2.0, "4", "0"}, {2.9, "6", "0"}},
         {5, 0, 3.2, 1, 6, 3.2, 0, 0, 3.2, 20, 1000}},
        {"gust: no window spans a gap in time",
         {{0, "10", "0"}, {1, "10", "0"}, {3, "1", "0"}, {4, "2", "0"}, {5, "3", "0"}},
         {5, 0, 5.2, 1, 10, 5.2, 0, 0, 2, 20, 1000}},
        {"gust: two seconds do not cover three",
         {{0, "10", "0"}, {0.5, "10", "0"}, {1, "10", "0"}, {1.9, "10", "0"}},
         {4, 0, 10, 10, 10, 10, 0, 0, none, 20, 1000}},
        {"gust: seconds without a speed are not covered",
         {{0, "5", "0"}, {1, "_err", "0"}, {2, "5", "0"}, {3, "5", "0"}},
         {4, 1, 5, 5, 5, 5, 0, 0, none, 20, 1000}},
        {"gust: the highest of the running three-second means",
         {{0, "1", "0"}, {1, "2", "0"}, {2, "3", "0"}, {3, "9", "0"}, {4, "1", "0"}, {5, "1", "0"}},
         {6, 0, 17.0 / 6, 1, 9, 17.0 / 6, 0, 0, 14.0 / 3, 20, 1000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WindFigures f = figuresOf(c.rows);
        const Expected& e = c.expected;
        EXPECT_EQ(f.samples, e.samples);
        EXPECT_EQ(f.marked, e.marked);
        expectFigure("mean", f.meanSpeed, e.mean);
        expectFigure("min", f.minSpeed, e.min);
        expectFigure("max", f.maxSpeed, e.max);
        expectFigure("vector speed", f.vectorSpeed, e.vectorSpeed);
        expectFigure("vector direction", f.vectorDirection, e.vectorDirection, true);
        expectFigure("direction sd", f.directionSd, e.sd);
        expectFigure("gust", f.gust, e.gust);
        expectFigure("temperature", f.meanTemperature, e.temperature);
        expectFigure("pressure", f.meanPressure, e.pressure);
        if (f.vectorDirection) {
            EXPECT_GE(*f.vectorDirection, 0.0);
            EXPECT_LT(*f.vectorDirection, 360.0);
        }
    }
}

TEST(WindAccumulator, GustOfTheOpenSecondCountsOnlyOnceItIsOver)
{
    CWindAccumulator period(0, 600);
    for (double t : {0.0, 1.0, 2.0})
        period.add(makeWindSample(t, "6", "0", "", ""));
    EXPECT_FALSE(period.figures().gust); // second 2 may still get samples
    period.add(makeWindSample(2.5, "0", "0", "", ""));
    period.add(makeWindSample(3.0, "0", "0", "", ""));
    ASSERT_TRUE(period.figures().gust);
    EXPECT_DOUBLE_EQ(*period.figures().gust, 4.5); // (6 + 6 + 6 + 0) / 4
    period.closeSecond();
    EXPECT_DOUBLE_EQ(*period.figures().gust, 4.5); // (6 + 6 + 0 + 0) / 4 = 3 is lower
}

TEST(WindStatistics, PeriodsAlignedToTheClockEndOnTheirFirstForeignSample)
{
    const std::int64_t noon = civilSeconds(2024, 6, 1, 12, 0, 0);
    struct Step {
        std::int64_t offset; // seconds after noon
        bool ends;           // the sample ends the current period
        std::int64_t endedStart, endedEnd;
        long long endedSamples;
    };
    // 10-minute periods: :00-:10, :10-:20, ...
    const std::vector<Step> steps = {
        {5, false, 0, 0, 0},        {599, false, 0, 0, 0},
        {600, true, 0, 600, 2},     // 12:10:00 starts the next period
        {2100, true, 600, 1200, 1}, // a gap: 12:35 ends 12:10-12:20
        {300, true, 1800, 2400, 1}, // clock set back to 12:05
        {301, false, 0, 0, 0},
    };
    CWindStatistics statistics(600);
    for (const Step& s : steps) {
        SCOPED_TRACE(s.offset);
        EXPECT_EQ(
            statistics.add(makeWindSample(static_cast<double>(noon + s.offset), "1", "0", "", "")),
            s.ends);
        if (s.ends) {
            EXPECT_EQ(statistics.lastEnded()->start, noon + s.endedStart);
            EXPECT_EQ(statistics.lastEnded()->end, noon + s.endedEnd);
            EXPECT_EQ(statistics.lastEnded()->samples, s.endedSamples);
        }
    }
    EXPECT_EQ(statistics.current().start, noon);
    EXPECT_EQ(statistics.current().samples, 2);

    // An hour's period starts on the hour; changing the period starts afresh.
    statistics.setPeriod(3600);
    EXPECT_FALSE(statistics.hasCurrent());
    EXPECT_FALSE(statistics.lastEnded());
    statistics.add(makeWindSample(static_cast<double>(noon + 3599), "1", "0", "", ""));
    EXPECT_EQ(statistics.current().start, noon);
    EXPECT_EQ(statistics.current().end, noon + 3600);
    statistics.setPeriod(7); // not a period: ignored
    EXPECT_EQ(statistics.period(), 3600);
}

TEST(StatsPeriod, ReadsPeriodsThatDivideADay)
{
    const std::vector<std::pair<const char*, int>> texts = {
        {"10m", 600}, {"10", 600}, {"1h", 3600}, {"600s", 600},   {"24h", 86400}, {"1m", 60},
        {"90s", 90},  {"7m", 0},   {"30s", 0},   {"25h", 0},      {"", 0},        {"m", 0},
        {"1.5h", 0},  {"-10m", 0}, {"10min", 0}, {"99999999m", 0}};
    for (const auto& [text, seconds] : texts) {
        SCOPED_TRACE(text);
        int read = -1;
        EXPECT_EQ(parseStatsPeriod(text, read), seconds != 0);
        if (seconds != 0) {
            EXPECT_EQ(read, seconds);
        }
    }
    EXPECT_EQ(statsPeriodText(600), "10 min");
    EXPECT_EQ(statsPeriodText(7200), "2 h");
}

TEST(CivilTime, ReadsAndWritesRecordDateTimes)
{
    const std::vector<std::pair<const char*, bool>> texts = {{"2024/02/29 23:59:59", true},
                                                             {"1970/01/01 00:00:00", true},
                                                             {"1969/12/31 23:59:59", true},
                                                             {"2024/03/05 07:08:09  ", true},
                                                             {"2023/02/29 00:00:00", false},
                                                             {"2024/13/01 00:00:00", false},
                                                             {"2024/01/01 24:00:00", false},
                                                             {"2024-01-01 00:00:00", false},
                                                             {"2024/01/01 00:00", false},
                                                             {" 2024/01/01 00:00:00", false},
                                                             {"", false},
                                                             {"2024/0a/01 00:00:00", false}};
    for (const auto& [text, valid] : texts) {
        SCOPED_TRACE(text);
        std::int64_t seconds = 0;
        ASSERT_EQ(parseCivilDateTime(text, seconds), valid);
        if (valid) {
            EXPECT_EQ(formatCivilDateTime(seconds), std::string(text).substr(0, 19));
        }
    }
    std::int64_t seconds = 0;
    ASSERT_TRUE(parseCivilDateTime("1970/01/02 00:00:01", seconds));
    EXPECT_EQ(seconds, 86401);
    // Periods before 1970 still start on the clock.
    EXPECT_EQ(formatCivilDateTime(statsPeriodStart(-1, 600)), "1969/12/31 23:50:00");
    EXPECT_EQ(formatCivilTimeOfDay(civilSeconds(2024, 1, 1, 9, 5, 7), true), "09:05:07");
}
