#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "app/live/LiveFeed.h"
#include "app/live/LiveRanges.h"
#include "app/live/StatsStripText.h"
#include "stats/CivilTime.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

LiveRow rowAt(double x, float value)
{
    LiveRow row;
    row.x = x;
    row.values.fill(value);
    return row;
}

// A value that wanders up and down, with ties, so that extremes repeat within buckets.
float wander(int i) { return static_cast<float>((i * 7919) % 101 / 4); }

} // namespace

TEST(LiveHistory, BucketsKeepEachChannelsExtremesThroughMerges)
{
    CLiveHistory history;
    std::vector<LiveRow> rows;
    for (int i = 0; i < 20000; ++i) {
        LiveRow row = rowAt(i * 0.5, wander(i));
        row.values[2] = i % 3 == 0 ? kNaN : -wander(i); // a channel with gaps
        row.values[5] = kNaN;                           // a channel that never has a value
        rows.push_back(row);
        history.add(row);
    }
    // 10,000 s in at most 4096 buckets: widths 1, 2, 4 (three merges).
    EXPECT_EQ(history.bucketWidth(), 4.0);
    EXPECT_EQ(history.buckets().size(), 2500u);
    EXPECT_EQ(history.totalRows(), 20000u);
    for (std::size_t b = 0; b < history.buckets().size(); ++b) {
        const LiveBucket& bucket = history.buckets()[b];
        for (std::size_t k : {0u, 2u, 5u}) {
            float min = kNaN, max = kNaN;
            double xMin = 0, xMax = 0;
            for (const LiveRow& row : rows) {
                const float v = row.values[k];
                if (row.x < b * 4.0 || row.x >= (b + 1) * 4.0 || std::isnan(v))
                    continue;
                if (std::isnan(min) || v < min) {
                    min = v;
                    xMin = row.x;
                }
                if (std::isnan(max) || v > max) {
                    max = v;
                    xMax = row.x;
                }
            }
            SCOPED_TRACE(testing::Message() << "bucket " << b << " channel " << k);
            if (std::isnan(min)) {
                EXPECT_TRUE(std::isnan(bucket.min[k]));
                continue;
            }
            EXPECT_EQ(bucket.min[k], min);
            EXPECT_EQ(bucket.max[k], max);
            EXPECT_EQ(bucket.xMin[k], xMin); // the first of equal extremes
            EXPECT_EQ(bucket.xMax[k], xMax);
        }
    }
}

TEST(LiveHistory, KeepsTheLastHourAtFullResolutionWithGrowingX)
{
    CLiveHistory history;
    const unsigned generation = history.bucketGeneration();
    for (int i = 0; i <= 5000; ++i)
        history.add(rowAt(i, 1.0f));
    EXPECT_EQ(history.recent().front().x, 5000 - CLiveHistory::kRecentSeconds);
    EXPECT_EQ(history.recent().size(), static_cast<std::size_t>(CLiveHistory::kRecentSeconds) + 1);
    EXPECT_EQ(history.firstRecentAt(4000.5), 4001u - 1100u);
    EXPECT_EQ(history.firstRecentAt(0), 0u);
    EXPECT_EQ(history.firstRecentAt(9999), history.recent().size());
    EXPECT_NE(history.bucketGeneration(), generation); // 5000 s merged once

    // A row that does not move forward (a clock step, two rows in one tick) goes just after
    // the previous one, so the graph's sorted series never scan for an equal x.
    history.add(rowAt(10, 2.0f));
    history.add(rowAt(5000, 3.0f));
    EXPECT_GT(history.recent()[history.recent().size() - 2].x, 5000.0);
    EXPECT_GT(history.recent().back().x, history.recent()[history.recent().size() - 2].x);

    history.clear();
    EXPECT_TRUE(history.empty());
    EXPECT_TRUE(history.recent().empty());
    EXPECT_TRUE(history.buckets().empty());
    EXPECT_EQ(history.bucketWidth(), 1.0);
}

TEST(LiveRanges, FollowingMovesTheViewInStepsAndWidensYOnlyWhenNeeded)
{
    struct Case {
        LiveSpan span;
        double lastX;
        double from, to;
    };
    const std::vector<Case> cases = {
        {LiveSpan::TenMinutes, 0, 0, 660}, // fills from the left
        {LiveSpan::TenMinutes, 599, 0, 660},
        {LiveSpan::TenMinutes, 600, 0, 660}, // then jumps a tenth ahead
        {LiveSpan::TenMinutes, 661, 61, 721},
        {LiveSpan::OneHour, 100, 0, 3960},
        {LiveSpan::OneHour, 7200, 3600, 7560},
        {LiveSpan::Everything, 10, 0, 75}, // at least a minute
        {LiveSpan::Everything, 1000, 0, 1250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.span) << " at " << c.lastX);
        const LiveXRange range = followXRange(c.span, 0, c.lastX);
        EXPECT_DOUBLE_EQ(range.from, c.from);
        EXPECT_DOUBLE_EQ(range.to, c.to);
        EXPECT_FALSE(needsNewXRange(range, c.lastX));
        EXPECT_TRUE(needsNewXRange(range, range.to + 0.001));
    }

    EXPECT_DOUBLE_EQ(fitYRange(10, 20).from, 9.5);
    EXPECT_DOUBLE_EQ(fitYRange(10, 20).to, 20.5);
    EXPECT_DOUBLE_EQ(fitYRange(-50, -50).from, -55);
    EXPECT_DOUBLE_EQ(fitYRange(0, 0).to, 1);
    const LiveYRange y{0, 10};
    EXPECT_FALSE(widenedYRange(y, 10));
    EXPECT_FALSE(widenedYRange(y, std::nan("")));
    EXPECT_FALSE(widenedYRange(y, std::numeric_limits<double>::infinity()));
    const auto up = widenedYRange(y, 30);
    ASSERT_TRUE(up);
    EXPECT_DOUBLE_EQ(up->from, 0);
    EXPECT_DOUBLE_EQ(up->to, 31.5);
    const auto down = widenedYRange(y, -10);
    ASSERT_TRUE(down);
    EXPECT_DOUBLE_EQ(down->from, -11);
    EXPECT_DOUBLE_EQ(down->to, 10);
}

TEST(LiveFeed, ANewLinkStartsANewGraphHistoryAndRoseButTheStatisticsGoOn)
{
    const std::string speed = "    2.50", direction = "  270.0 ", marker = "    _err";
    CLiveFeed::Fields fields;
    fields.fill("   10.00");
    fields[0] = speed;
    fields[1] = direction;
    fields[4] = marker;
    const double noon = static_cast<double>(civilSeconds(2024, 6, 1, 12, 0, 0));
    CLiveFeed feed;
    feed.addRow(noon + 0.25, 1000.0, fields);
    feed.addRow(noon + 1.25, 1001.0, fields);
    ASSERT_EQ(feed.history().totalRows(), 2u);
    EXPECT_EQ(feed.history().recent()[0].x, 0.0);
    EXPECT_EQ(feed.history().recent()[1].x, 1.0);
    EXPECT_EQ(feed.history().recent()[1].values[0], 2.5f);
    EXPECT_TRUE(std::isnan(feed.history().recent()[1].values[4])); // a marker: no point
    EXPECT_EQ(feed.timeText(61), "12:01:01");
    EXPECT_EQ(feed.statistics().current().samples, 2);
    EXPECT_EQ(feed.rose().count(12, 1), 2); // from the west, 2-4

    feed.linkClosed();
    feed.addRow(noon + 100.5, 5000.0, fields);
    EXPECT_EQ(feed.history().totalRows(), 1u);
    EXPECT_EQ(feed.history().recent()[0].x, 0.0);
    EXPECT_EQ(feed.timeText(0), "12:01:40");
    EXPECT_EQ(feed.statistics().current().samples, 3);
    EXPECT_EQ(feed.rose().total(), 1); // the rose, like the graph, is the link's
    ASSERT_TRUE(feed.statistics().current().vectorDirection);
    EXPECT_NEAR(*feed.statistics().current().vectorDirection, 270.0, 1e-9);
}

TEST(StatsStripText, ShowsTheCurrentAndTheLastPeriod)
{
    const double noon = static_cast<double>(civilSeconds(2024, 6, 1, 12, 0, 0));
    CWindStatistics statistics(600);
    StatsStripTexts texts = statsStripTexts(statistics, "m/s");
    EXPECT_EQ(texts.title, "Wind, 10 min periods");
    EXPECT_EQ(texts.current, (StatsStripRow{"no data yet", "---", "---", "---", "---"}));
    EXPECT_EQ(texts.last, (StatsStripRow{"none ended yet", "---", "---", "---", "---"}));

    // 11:50-12:00: directions either side of north, a gust, one marker.
    for (int s = 0; s < 4; ++s)
        statistics.add(
            makeWindSample(noon - 5 + s, "    4.00", s % 2 ? "  359.0 " : "    1.6 ", "", ""));
    statistics.add(makeWindSample(noon - 1, "    _err", "    1.6 ", "", ""));
    // 12:00-12:10 so far: calm.
    statistics.add(makeWindSample(noon + 1, "    0.00", "  123.0 ", "", ""));
    texts = statsStripTexts(statistics, "knots");
    EXPECT_EQ(texts.current,
              (StatsStripRow{"12:00-12:10 so far", "1", "0.00 knots", "calm", "---"}));
    EXPECT_EQ(texts.last,
              (StatsStripRow{"11:50-12:00", "5 (1 marked)", "4.00 knots", "0\xB0", "4.00 knots"}));

    // Before the instrument named its unit, speeds have none.
    EXPECT_EQ(statsStripTexts(statistics, "").last.mean, "4.00");
    CWindStatistics hourly(3600);
    hourly.add(makeWindSample(noon + 3599, "1", "90", "", ""));
    EXPECT_EQ(statsStripTexts(hourly, "m/s").current.period, "12:00-13:00 so far");
    EXPECT_EQ(statsStripTexts(hourly, "m/s").current.direction, "90\xB0");
    EXPECT_EQ(statsStripTexts(hourly, "m/s").title, "Wind, 1 h periods");
}
