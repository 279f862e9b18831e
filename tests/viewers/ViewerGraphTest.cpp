// The graph a viewer builds from its rows: the y-range rule, the series and points, and the log
// viewer's block choice.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/Channels.h"
#include "files/RecordFileReader.h"
#include "viewers/LogBlocks.h"
#include "viewers/ViewerGraph.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A graph that keeps the notifications it sends.
class CRecordingGraph : public CGraphBaseClass {
public:
    CRecordingGraph() : CGraphBaseClass(32) {}
    std::vector<CGraphNotify> sent;

protected:
    void notify(const CGraphNotify& record) override { sent.push_back(record); }
};

// A record line whose 13 fields are the given texts, each right-aligned in 8 characters.
std::string recordLine(const std::vector<std::string>& fields)
{
    std::string line = "2026/03/14 10:20:30#";
    for (const std::string& f : fields)
        line += std::string(8 - f.size(), ' ') + f;
    return line;
}

CDataTable recordRows(const std::vector<std::vector<std::string>>& lines)
{
    CDataTable rows;
    rows.reset(CDataTable::Layout::Record);
    for (const auto& fields : lines)
        addRecordLine(rows, recordLine(fields));
    return rows;
}

std::vector<double> ys(const CGraphBaseClass& graph, int series)
{
    std::vector<double> result;
    for (const GraphPoint& p : graph.getSeries(series)->points().points())
        result.push_back(p.y);
    return result;
}

} // namespace

TEST(ViewerGraph, YRangeIsWidenedByATenthOfTheSpreadAndNeverEmpty)
{
    struct Row {
        double minY, maxY;
        double from, to; // NaN: only checked to be finite and in order
    };
    const Row rows[] = {
        {0, 10, -1, 11},
        {5, 5, 4.5, 5.5}, // all equal: a tenth of the value
        {-5, -5, -5.5, -4.5},
        {0, 0, -1, 1},            // all zero: a unit around them
        {-999, 1, -1099, 101},    // a marker widens the range
        {-kInf, 3, -1e307, kNaN}, // numbers too big to show are held within 1e307
        {-kInf, kInf, -1e307, 1e307},
        {kNaN, 2, kNaN, kNaN},
        {kNaN, kNaN, -1, 1},
        {1e308, 1e308, kNaN, 1e307},
        {5e-324, 5e-324, kNaN, kNaN}, // too tiny for a tenth to count
    };
    for (const Row& row : rows) {
        const DataBounds result = widenedYBounds({0, 9, row.minY, row.maxY});
        const std::string where = std::to_string(row.minY) + ".." + std::to_string(row.maxY);
        EXPECT_TRUE(std::isfinite(result.minY) && std::isfinite(result.maxY)) << where;
        EXPECT_LT(result.minY, result.maxY) << where;
        EXPECT_TRUE(std::isfinite(result.maxY - result.minY)) << where;
        if (!std::isnan(row.from)) {
            EXPECT_DOUBLE_EQ(result.minY, row.from) << where;
        }
        if (!std::isnan(row.to)) {
            EXPECT_DOUBLE_EQ(result.maxY, row.to) << where;
        }
        EXPECT_EQ(result.minX, 0);
        EXPECT_EQ(result.maxX, 9);
    }
}

TEST(ViewerGraph, RecordGraphPlotsTheVisibleChannelsWithMarkersAtMinus999)
{
    const CDataTable rows = recordRows({
        {"1", "200", "1013", "20", "50", "2", "1", "1", "0", "1", "3", "340", "20"},
        {"2", "210", "1013", "_ofl", "51", "2", "1", "1", "0", "1", "4", "340", "21"},
        {"3", "nothing", "1013", "22", "---- --", "2", "1", "1", "0", "1", "5", "340", "22"},
    });
    CRecordingGraph graph;
    graph.visibility() = recordInitialVisibility();
    ASSERT_TRUE(fillViewerGraph(graph, rows, recordGraphPlan()));

    ASSERT_EQ(graph.seriesCount(), 13);
    for (int k = 0; k < 13; ++k) {
        const CGraphProps* series = graph.getSeries(k);
        EXPECT_EQ(series->title(), "Channel " + std::to_string(k));
        EXPECT_EQ(series->colour(), channelColour(k));
        EXPECT_TRUE(series->points().sorted());
        EXPECT_FALSE(series->points().duplicatesAllowed());
        const bool shown = k == 1 || k == 3 || k == 4 || k == 10;
        EXPECT_EQ(series->points().count(), shown ? 3 : 0) << k;
    }
    EXPECT_EQ(ys(graph, 1), (std::vector<double>{200, 210, 0})); // text that is no number: 0
    EXPECT_EQ(ys(graph, 3), (std::vector<double>{20, -999, 22}));
    EXPECT_EQ(ys(graph, 4), (std::vector<double>{50, 51, -999}));
    EXPECT_EQ(graph.getSeries(10)->points().at(2).x, 2);

    DataBounds bounds;
    ASSERT_TRUE(graph.getDataBounds(bounds));
    EXPECT_EQ(bounds.minX, 0);
    EXPECT_EQ(bounds.maxX, 2);
    EXPECT_DOUBLE_EQ(bounds.minY, -999 - 120.9);
    EXPECT_DOUBLE_EQ(bounds.maxY, 210 + 120.9);

    EXPECT_EQ(graph.getAxis(kAxisX).unit(), " ");
    EXPECT_EQ(graph.getAxis(kAxisX).precision(), 0);
    EXPECT_EQ(graph.getAxis(kAxisY).unit(), "");
    EXPECT_EQ(graph.getAxis(kAxisY).precision(), 2);
}

TEST(ViewerGraph, ARebuildReplacesTheSeriesAndFollowsTheFlags)
{
    const CDataTable rows =
        recordRows({{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"}});
    CRecordingGraph graph;
    graph.visibility() = recordInitialVisibility();
    fillViewerGraph(graph, rows, recordGraphPlan());
    graph.sent.clear();
    graph.visibility().assign(13, 0);
    graph.visibility()[0] = 1;
    ASSERT_TRUE(fillViewerGraph(graph, rows, recordGraphPlan()));

    int removed = 0;
    unsigned style = 0;
    for (const CGraphNotify& n : graph.sent) {
        if (n.code == kNotifySeriesRemoved) {
            EXPECT_TRUE(n.redraw);
            ++removed;
        }
        if (n.code == kNotifyStyleAndRanges)
            style = n.style;
    }
    EXPECT_EQ(removed, 13);
    EXPECT_EQ(style, unsigned(kStyleExtendRanges | kStyleMouseCoordinates));
    EXPECT_EQ(graph.seriesCount(), 13);
    EXPECT_EQ(ys(graph, 0), std::vector<double>{1});
    EXPECT_EQ(graph.getSeries(1)->points().count(), 0);

    // Every channel hidden: no bounds, and the graph says so.
    graph.visibility().assign(13, 0);
    EXPECT_FALSE(fillViewerGraph(graph, rows, recordGraphPlan()));
}

TEST(ViewerGraph, NumbersTheViewCannotSpanKeepAFiniteRange)
{
    const CDataTable rows = recordRows({
        {"1", "1e999", "3", "nan", "5", "6", "7", "8", "9", "10", "11", "12", "13"},
        {"1", "2", "3", "4", "-1e999", "6", "7", "8", "9", "10", "11", "12", "13"},
        {"1", "9e307", "3", "4", "5", "6", "7", "8", "9", "10", "-9e307", "12", "13"},
    });
    CRecordingGraph graph;
    graph.visibility() = recordInitialVisibility();
    ASSERT_TRUE(fillViewerGraph(graph, rows, recordGraphPlan()));
    DataBounds bounds;
    ASSERT_TRUE(graph.getDataBounds(bounds));
    EXPECT_TRUE(std::isfinite(bounds.minY) && std::isfinite(bounds.maxY));
    EXPECT_LT(bounds.minY, bounds.maxY);
    EXPECT_TRUE(std::isfinite(bounds.maxY - bounds.minY)); // a span the view can map
}

TEST(ViewerGraph, LogGraphPlotsFiveColumnsFromTheChosenBlock)
{
    CDataTable rows;
    rows.reset(CDataTable::Layout::Log, 2);
    for (int r = 0; r < 4; ++r) {
        rows.addRow("2026/05/02 10:0" + std::to_string(r) + ":00");
        std::string first, second;
        for (int k = 0; k < 13; ++k) {
            std::string a = std::to_string(r * 100 + k), b = std::to_string(1000 + r * 100 + k);
            first += std::string(8 - a.size(), ' ') + a;
            second += std::string(8 - b.size(), ' ') + b;
        }
        rows.addDataLine(first);
        rows.addDataLine(second);
    }
    CRecordingGraph graph;
    graph.visibility() = logInitialVisibility();
    const CViewerGraphPlan plan = logGraphPlan(blockStartColumn(1) - 1);
    ASSERT_TRUE(fillViewerGraph(graph, rows, plan));
    ASSERT_EQ(graph.seriesCount(), 5);
    const std::uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xBEBE00, 0x00FFFF};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(graph.getSeries(i)->colour(), colours[i]);
        EXPECT_EQ(graph.getSeries(i)->title(), "Channel " + std::to_string(i));
        EXPECT_EQ(ys(graph, i),
                  (std::vector<double>{1000.0 + i, 1100.0 + i, 1200.0 + i, 1300.0 + i}));
    }

    // A log file without blocks has no columns to plot.
    CDataTable empty;
    empty.reset(CDataTable::Layout::Log, 0);
    empty.addRow("2026/05/02 10:00:00");
    CRecordingGraph none;
    none.visibility() = logInitialVisibility();
    EXPECT_FALSE(fillViewerGraph(none, empty, logGraphPlan(0)));
    EXPECT_EQ(none.seriesCount(), 5);
}

TEST(LogBlocks, ChoosingABlockMovesThePlottedBitmapsAndScrolls)
{
    EXPECT_EQ(blockStartColumn(0), 1);
    EXPECT_EQ(blockStartColumn(2), 27);

    struct Row {
        int oldStart, newStart, scroll;
    };
    for (const Row& row :
         {Row{1, 14, 2800}, Row{14, 27, 5400}, Row{27, 14, -2800}, Row{14, 1, -200}}) {
        EXPECT_EQ(blockChoiceScroll(row.oldStart, row.newStart), row.scroll)
            << row.oldStart << " to " << row.newStart;
    }

    std::vector<int> bitmaps(40, -1);
    for (int c = 1; c <= 13; ++c)
        bitmaps[static_cast<std::size_t>(c)] = c - 1;
    const std::vector<int> initial = bitmaps;
    moveBlockBitmaps(bitmaps, 1, 27);
    for (int c = 0; c < 40; ++c) {
        int expected = -1;
        if (c >= 6 && c <= 13)
            expected = c - 1; // the unplotted columns of the first block keep theirs
        if (c >= 27 && c <= 31)
            expected = c - 27;
        EXPECT_EQ(bitmaps[static_cast<std::size_t>(c)], expected) << c;
    }
    moveBlockBitmaps(bitmaps, 27, 14);
    moveBlockBitmaps(bitmaps, 14, 1);
    EXPECT_EQ(bitmaps, initial);
}

TEST(LogBlocks, TheChosenBlockIsBroughtIntoView)
{
    struct Row {
        int scroll, viewWidth, left, width, expected;
    };
    const Row rows[] = {
        {0, 1000, 150, 80, 0},        // wholly visible: stays
        {0, 1000, 950, 80, 950},      // cut at the right
        {2800, 1000, 1190, 80, 1190}, // left of the view
        {500, 1000, 500, 80, 500},    // just at the left edge
        {0, 60, 150, 80, 150},        // wider than the view: its left edge first
    };
    for (const Row& row : rows)
        EXPECT_EQ(scrollToShowColumn(row.scroll, row.viewWidth, row.left, row.width), row.expected)
            << row.scroll << " " << row.left;
}
