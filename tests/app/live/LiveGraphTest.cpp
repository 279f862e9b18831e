// The live graph window and the statistics strip, offscreen, fed by hand.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTest>

#include "app/live/LiveGraphWnd.h"
#include "app/live/LiveMonitor.h"
#include "app/live/StatsStrip.h"
#include "app/live/WindRoseView.h"
#include "app/view/VentoraView.h"
#include "chart/GraphPanel.h"
#include "core/Unit.h"
#include "protocol/ProtocolView.h"

namespace {

class LiveGraph : public ::testing::Test {
protected:
    LiveGraph() : window(feed) {}

    // A row at second x of the link: Azimuth and Temperature as given, the rest 1.00.
    void addRow(double x, const char* azimuth, const char* temperature = "   20.00")
    {
        CLiveFeed::Fields fields;
        fields.fill("    1.00");
        fields[1] = azimuth;
        fields[3] = temperature;
        feed.addRow(1.7e9 + x, 5000.0 + x, fields);
        window.rowAdded();
    }
    int points(int channel) { return window.graph().getSeries(channel)->points().count(); }
    PlotRanges view() { return window.graph().getViewRanges(); }

    CLiveFeed feed;
    CLiveGraphWnd window;
};

} // namespace

TEST_F(LiveGraph, FollowsTheNewestRowsInStepsWithTheChosenChannels)
{
    window.show();
    // Azimuth, Temperature, Humidity and Elevation at first; every other series is empty.
    for (int k = 0; k < kChannelCount; ++k)
        EXPECT_EQ(window.channelBox(k).isChecked(), k == 1 || k == 3 || k == 4 || k == 10) << k;
    for (int x = 0; x <= 660; ++x)
        addRow(x, x == 5 ? "    _err" : "  180.0 ");
    // 10 minutes fill from the left; the rows up to the right end drew into the same view.
    EXPECT_EQ(view(), (PlotRanges{0, 660, view().yFrom, view().yTo}));
    EXPECT_EQ(points(1), 660); // the marker row has no azimuth point
    EXPECT_EQ(points(3), 661);
    EXPECT_EQ(points(0), 0);
    EXPECT_LT(view().yFrom, 20);
    EXPECT_GT(view().yTo, 180);

    // The next row jumps the view a minute ahead, fitting y to what it shows.
    addRow(661, "  181.0 ");
    EXPECT_EQ(view().xFrom, 61);
    EXPECT_EQ(view().xTo, 721);
    EXPECT_EQ(points(3), 662);
    EXPECT_GT(view().yTo, 181);

    // A value beyond the view widens it at once.
    addRow(662, "  400.0 ");
    EXPECT_GT(view().yTo, 400);

    // Points that left the view go once they would fill a whole window; until then the series
    // hold at most two windows.
    for (int x = 663; x <= 1500; ++x) {
        addRow(x, "  180.0 ");
        ASSERT_LE(points(3), 2 * 660 + 60) << x;
        ASSERT_EQ(window.graph().getSeries(3)->points().at(points(3) - 1).x, x);
    }
    EXPECT_GE(view().xTo, 1500); // steps of a tenth of the window past the row that moved it
    EXPECT_LE(view().xTo, 1561);
    EXPECT_DOUBLE_EQ(view().xTo - view().xFrom, 660);
    EXPECT_GE(window.graph().getSeries(3)->points().at(0).x, view().xFrom - 600 - 1);
    EXPECT_LT(view().yTo, 400); // the 400 has left the view; a step fitted y again

    // A channel switched on brings its history; one switched off drops its points.
    window.channelBox(0).setChecked(true);
    EXPECT_EQ(window.graph().getSeries(0)->points().at(points(0) - 1).x, 1500);
    EXPECT_LE(window.graph().getSeries(0)->points().at(0).x, view().xFrom);
    EXPECT_TRUE(window.graph().getSeries(0)->visible());
    window.channelBox(3).setChecked(false);
    EXPECT_EQ(points(3), 0);
    EXPECT_FALSE(window.graph().getSeries(3)->visible());

    // The wind rose shows beside the graph on demand.
    EXPECT_FALSE(window.roseView().isVisible());
    window.roseBox().setChecked(true);
    EXPECT_TRUE(window.roseView().isVisible());
}

TEST_F(LiveGraph, AZoomOrPanByTheUserStopsFollowingUntilTicked)
{
    window.show();
    for (int x = 0; x < 100; ++x)
        addRow(x, "   90.0 ");
    const PlotRanges mine{10, 20, 0, 100};
    window.graph().panel()->setRanges(mine, true); // as a pan or zoom does
    for (int x = 100; x < 800; ++x)
        addRow(x, "   90.0 ");
    EXPECT_FALSE(window.following());
    EXPECT_FALSE(window.followBox().isChecked());
    EXPECT_EQ(view(), mine);
    // The series stay bounded by the history even while nothing trims them.
    EXPECT_LE(static_cast<std::size_t>(points(1)), feed.history().recent().size() + 1);

    window.followBox().setChecked(true);
    EXPECT_TRUE(window.following());
    EXPECT_EQ(view().xTo, 799 + 60);
}

TEST_F(LiveGraph, EverythingDrawsTheBucketsAndAHiddenWindowCatchesUpWhenShown)
{
    window.setSpan(LiveSpan::Everything);
    for (int x = 0; x < 5000; ++x)
        addRow(x * 2.0, x % 2 ? "   10.0 " : "   30.0 ", x == 4000 ? "   99.00" : "   20.00");
    // Nothing was drawn while hidden.
    EXPECT_EQ(points(1), 0);
    window.show();
    // 10,000 s: buckets of 4 s, each with its minimum and maximum.
    const std::size_t buckets = feed.history().buckets().size();
    EXPECT_EQ(feed.history().bucketWidth(), 4.0);
    EXPECT_EQ(static_cast<std::size_t>(points(1)), 2 * buckets);
    EXPECT_EQ(static_cast<std::size_t>(points(3)), buckets + 1); // 99 stands alone
    EXPECT_EQ(view().xFrom, 0);
    EXPECT_GE(view().xTo, 9998);
    EXPECT_GT(view().yTo, 99);

    // Rows that change the last bucket replace its points; a new bucket adds its own.
    addRow(10000, "   50.0 ");
    addRow(10001, "    5.0 ");
    EXPECT_EQ(static_cast<std::size_t>(points(1)), 2 * buckets + 2);
    const GraphPoint last = window.graph().getSeries(1)->points().at(points(1) - 1);
    EXPECT_EQ(last, (GraphPoint{10001, 5}));
    EXPECT_LT(view().yFrom, 5);
}

TEST(LiveMonitor, ReadsDataRowsOfTheTableOnlyAndShowsTheirStatistics)
{
    Unit::instance().setSpeedUnit("m/s");
    QWidget frame;
    CVentoraView view(&frame);
    CLiveMonitor monitor(view, &frame);
    const std::string data = "    3.00  090.0   1013.0   20.00" + std::string(72, ' ');
    // The set-up menu's lines are no data.
    view.SetupMenuColumns();
    view.appendRow("1 - Unit");
    monitor.takeRows(0);
    EXPECT_EQ(monitor.feed().history().totalRows(), 0u);

    view.SetupColumns(IProtocolView::kLayoutData);
    view.deleteAllRows(); // as the engine does when the menu closes
    view.appendDataRow("12:00:00 2024/06/01", data);
    view.appendDataRow("12:00:00 2024/06/01", data);
    monitor.takeRows(0);
    view.appendDataRow("12:00:01 2024/06/01", data);
    monitor.takeRows(2);
    EXPECT_EQ(monitor.feed().history().totalRows(), 3u);
    EXPECT_EQ(monitor.strip().texts().current.samples, "3");
    EXPECT_EQ(monitor.strip().texts().current.mean, "3.00 m/s");
    EXPECT_EQ(monitor.strip().texts().current.direction, "90\xB0");
    EXPECT_EQ(monitor.strip().geometry(),
              CVentoraView::dialogUnitsToPixels(QRect(5, 262, 676, 46)));

    // The strip's period choice starts the statistics afresh.
    monitor.setStatisticsPeriod(3600);
    EXPECT_EQ(monitor.strip().texts().title, "Wind, 1 h periods");
    EXPECT_EQ(monitor.strip().texts().current.samples, "---");
    Unit::instance().reset();
}
