#include <gtest/gtest.h>

#include <cmath>

#include "chart/GraphBaseClass.h"
#include "chart/ToolTipText.h"

namespace {

class RecordingGraph : public CGraphBaseClass {
public:
    using CGraphBaseClass::CGraphBaseClass;
    std::vector<CGraphNotify> records;
    PlotRanges view{1, 2, 3, 4};
    PlotRanges getViewRanges() const override { return view; }

protected:
    void notify(const CGraphNotify& record) override { records.push_back(record); }
};

TEST(GraphBaseClass, SlotsRunOutAndAreReused)
{
    RecordingGraph graph(32);
    for (int i = 0; i < 32; ++i)
        ASSERT_EQ(graph.addSeries(0xFF0000, "Channel", true), i);
    EXPECT_EQ(graph.addSeries(0xFF0000, "33rd"), -1);
    EXPECT_EQ(graph.seriesCount(), 32);
    EXPECT_EQ(graph.records.size(), 32u); // no notification for the refused add
    EXPECT_EQ(graph.records.back().code, kNotifySeriesAdded);
    EXPECT_EQ(graph.records.back().series, 31);

    graph.records.clear();
    EXPECT_EQ(graph.removeSeries(32), -1);
    EXPECT_EQ(graph.removeSeries(-1), -1);
    EXPECT_EQ(graph.removeSeries(7, false), 7);
    EXPECT_EQ(graph.removeSeries(7), -1); // already empty
    EXPECT_EQ(graph.removeSeries(3), 3);
    ASSERT_EQ(graph.records.size(), 2u);
    EXPECT_EQ(graph.records[0].code, kNotifySeriesRemoved);
    EXPECT_FALSE(graph.records[0].redraw);
    EXPECT_EQ(graph.getSeries(7), nullptr);
    EXPECT_EQ(graph.seriesCount(), 30);
    EXPECT_EQ(graph.addSeries(0x00FF00, "again"), 3); // lowest empty slot
    EXPECT_EQ(graph.addSeries(0x00FF00, "again"), 7);
}

TEST(GraphBaseClass, WalkingTheOccupiedSlots)
{
    RecordingGraph graph(8);
    int position = 5;
    EXPECT_EQ(graph.firstSeries(position), nullptr);
    EXPECT_EQ(position, -1);
    for (int i = 0; i < 6; ++i)
        graph.addSeries(0, "s" + std::to_string(i));
    graph.removeSeries(0);
    graph.removeSeries(2);
    std::vector<int> seen;
    for (CGraphProps* s = graph.firstSeries(position); s; s = graph.nextSeries(position)) {
        EXPECT_EQ(s, graph.getSeries(position));
        seen.push_back(position);
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 3, 4, 5}));
    EXPECT_EQ(position, -1);
}

TEST(GraphBaseClass, AddPointReportsTheActualIndex)
{
    RecordingGraph graph(4);
    const int s = graph.addSeries(0x0000FF, "s", true, true, false);
    graph.records.clear();
    EXPECT_EQ(graph.addPoint(s, 10, 1), -1); // the position argument comes back
    EXPECT_EQ(graph.addPoint(s, 5, 2, false), -1);
    EXPECT_EQ(graph.addPoint(3, 5, 2), -1); // no such series
    EXPECT_EQ(graph.addPoint(s, 7, 3, true, 0), 0);
    ASSERT_EQ(graph.records.size(), 3u);
    EXPECT_EQ(graph.records[1].code, kNotifyPointAdded);
    EXPECT_EQ(graph.records[1].index, 0); // x = 5 went in front
    EXPECT_FALSE(graph.records[1].redraw);
    EXPECT_EQ(graph.records[2].index, 1); // sorted: the position is not used
    EXPECT_EQ(graph.records[2].x, 7);
    EXPECT_EQ(graph.records[2].y, 3);

    EXPECT_TRUE(graph.removePoint(s, 0));
    EXPECT_TRUE(graph.editPoint(s, 0, 9));
    EXPECT_TRUE(graph.clearSeries(s));
    EXPECT_FALSE(graph.removePoint(s, 0));
    EXPECT_EQ(graph.records[3].code, kNotifyPointRemoved);
    EXPECT_EQ(graph.records[4].code, kNotifyPointEdited);
    EXPECT_EQ(graph.records[5].code, kNotifySeriesCleared);
}

TEST(GraphBaseClass, DataBoundsCoverVisibleSeriesWithPoints)
{
    RecordingGraph graph(4);
    DataBounds b;
    EXPECT_FALSE(graph.getDataBounds(b));
    const int a = graph.addSeries(0, "a"), c = graph.addSeries(0, "c"), e = graph.addSeries(0, "e");
    graph.addPoint(a, 0, 5);
    graph.addPoint(a, 10, 7);
    graph.addPoint(c, -2, 100);
    EXPECT_TRUE(graph.getDataBounds(b)); // e has no points and is skipped
    EXPECT_EQ(b.minX, -2);
    EXPECT_EQ(b.maxX, 10);
    EXPECT_EQ(b.minY, 5);
    EXPECT_EQ(b.maxY, 100);
    graph.getSeries(c)->setVisible(false);
    EXPECT_TRUE(graph.getDataBounds(b));
    EXPECT_EQ(b.minX, 0);
    EXPECT_EQ(b.maxY, 7);
    graph.getSeries(a)->setVisible(false);
    EXPECT_FALSE(graph.getDataBounds(b)); // every series hidden
    EXPECT_FALSE(graph.setDataBounds({0, 1, 0, 1}));
    // A series whose points are none of them finite has nothing to show either.
    graph.addPoint(e, 1, std::nan(""));
    graph.addPoint(e, 2, HUGE_VAL);
    EXPECT_FALSE(graph.getDataBounds(b));
    graph.getSeries(a)->setVisible(true);
    EXPECT_TRUE(graph.getDataBounds(b));
    EXPECT_EQ(b.minX, 0);
    EXPECT_EQ(b.maxY, 7);
}

TEST(GraphBaseClass, SetDataBoundsFirstExactlyOthersWidened)
{
    RecordingGraph graph(4);
    const int a = graph.addSeries(0, "a"), c = graph.addSeries(0, "c");
    graph.addPoint(a, 0, 5);
    graph.addPoint(a, 10, 7);
    graph.addPoint(c, -2, 100);
    EXPECT_TRUE(graph.setDataBounds({1, 2, 6, 6.5}));
    const CPointsCollection& first = graph.getSeries(a)->points();
    EXPECT_EQ(first.minX(), 1);
    EXPECT_EQ(first.maxY(), 6.5); // narrower than its points: taken exactly
    const CPointsCollection& second = graph.getSeries(c)->points();
    EXPECT_EQ(second.minX(), -2);
    EXPECT_EQ(second.maxX(), 2);
    EXPECT_EQ(second.minY(), 6);
    EXPECT_EQ(second.maxY(), 100);
    DataBounds b;
    graph.getDataBounds(b);
    EXPECT_EQ(b.minX, -2);
    EXPECT_EQ(b.maxY, 100);
}

TEST(GraphBaseClass, AxesStyleAndTheirNotifications)
{
    RecordingGraph graph(2);
    graph.setAxis("Time", "s", 0, kAxisX, false);
    graph.setAxis("", "", 2, kAxisY);
    EXPECT_EQ(graph.formatValue(3.14159, kAxisX, 1), "3 s");
    EXPECT_EQ(graph.formatValue(3.14159, kAxisY, 0), "3.14");
    EXPECT_EQ(graph.formatValue(3.14159, kAxisY, 3), "");
    ASSERT_EQ(graph.records.size(), 2u);
    EXPECT_EQ(graph.records[0].code, kNotifyAxisChanged);
    EXPECT_EQ(graph.records[0].axis, kAxisX);
    EXPECT_FALSE(graph.records[0].redraw);
    EXPECT_EQ(graph.records[1].axis, kAxisY);

    graph.setStyleKeepRanges(kStyleGrid);
    EXPECT_EQ(graph.records.back().code, kNotifyStyleAndRanges);
    EXPECT_EQ(graph.records.back().style, unsigned(kStyleGrid));
    EXPECT_EQ(graph.records.back().ranges, graph.view);
    graph.setStyleAndRanges(5, -1, 1, -2, 2, false);
    EXPECT_EQ(graph.records.back().ranges, (PlotRanges{-1, 1, -2, 2}));
    EXPECT_FALSE(graph.records.back().redraw);
}

TEST(ToolTipText, RowFromTheXFormatAndChannelLabels)
{
    CAxisDescription x;
    x.set("", " ", 0);
    EXPECT_EQ(toolTipRow(11.6, x), 12);
    EXPECT_EQ(toolTipRow(3.2, x), 3);
    EXPECT_EQ(toolTipRow(-0.4, x), 0);

    Unit unit;
    unit.setSpeedUnit("m/s");
    std::vector<std::uint8_t> visibility(13, 0);
    visibility[0] = visibility[1] = visibility[5] = visibility[12] = 1;
    auto cell = [](int column) { return "c" + std::to_string(column); };
    EXPECT_EQ(plotToolTipText(cell, visibility, unit),
              "Time: c0\n\nSoW: c1 m/s\nAzi: c2 \xB0\nAin4: c6 \nSonic: c13 \xB0" "C\n");
    visibility.assign(3, 0); // a short flag array shows nothing beyond it
    EXPECT_EQ(plotToolTipText(cell, visibility, unit), "Time: c0\n\n");
}

} // namespace
