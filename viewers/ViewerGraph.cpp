#include "viewers/ViewerGraph.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/Channels.h"
#include "files/RecordStore.h"
#include "viewers/ColumnValues.h"

namespace {

constexpr double kYLimit = 1e307;

std::vector<std::uint8_t> flagsFor(std::initializer_list<int> visible)
{
    std::vector<std::uint8_t> flags(kChannelCount, 0);
    for (int k : visible)
        flags[static_cast<std::size_t>(k)] = 1;
    return flags;
}

double held(double value)
{
    if (std::isnan(value))
        return 0;
    return std::clamp(value, -kYLimit, kYLimit);
}

} // namespace

CViewerGraphPlan recordGraphPlan()
{
    CViewerGraphPlan plan;
    for (int k = 0; k < kChannelCount; ++k)
        plan.colours.push_back(channelColour(k));
    return plan;
}

CViewerGraphPlan logGraphPlan(int firstColumn)
{
    return {{0xFF0000, 0x00FF00, 0x0000FF, 0xBEBE00, 0x00FFFF}, firstColumn};
}

std::vector<std::uint8_t> recordInitialVisibility() { return flagsFor({1, 3, 4, 10}); }
std::vector<std::uint8_t> logInitialVisibility() { return flagsFor({0, 1, 2, 3, 4}); }

std::uint16_t recordPlottedColumns(const std::vector<std::uint8_t>& flags)
{
    std::uint16_t columns = 0;
    for (std::size_t k = 0; k < flags.size() && k < kChannelCount; ++k)
        if (flags[k])
            columns |= static_cast<std::uint16_t>(1u << k);
    return columns;
}

int holdPlottedColumns(CDataTable& rows, const std::vector<std::uint8_t>& flags)
{
    CRecordStore* store = rows.store();
    return store && store->hasValues() ? store->addColumns(recordPlottedColumns(flags)) : 0;
}

DataBounds widenedYBounds(const DataBounds& bounds)
{
    DataBounds result = bounds;
    const double low = held(std::min(bounds.minY, bounds.maxY));
    const double high = held(std::max(bounds.minY, bounds.maxY));
    // The spread, or the value itself when all are equal; each end is within 1e307, so
    // neither the spread nor the widened ends overflow.
    double spread = high - low;
    if (spread == 0)
        spread = high;
    const double margin = std::fabs(spread) * 0.1;
    result.minY = std::max(low - margin, -kYLimit);
    result.maxY = std::min(high + margin, kYLimit);
    if (!(result.minY < result.maxY)) {
        // All values 0 (or too tiny for a tenth of them to count): a unit range around them.
        result.minY = low - 1;
        result.maxY = high + 1;
    }
    return result;
}

bool fillViewerGraph(CGraphBaseClass& graph, const CDataTable& rows, const CViewerGraphPlan& plan)
{
    const int seriesCount = static_cast<int>(plan.colours.size());
    for (int i = 0; i < seriesCount; ++i) {
        // Hidden first, so that the re-render each removal causes draws none of the old points.
        if (CGraphProps* old = graph.getSeries(i))
            old->setVisible(false);
    }
    for (int i = 0; i < seriesCount; ++i)
        graph.removeSeries(i, true);
    graph.setAxis("", " ", 0, kAxisX);
    graph.setAxis("", "", 2, kAxisY);
    graph.setStyleKeepRanges((graph.getStyle() | kStyleExtendRanges | kStyleMouseCoordinates) &
                             ~unsigned(kStylePointMarks | kStyleGrid));

    const auto& flags = graph.visibility();
    const std::size_t rowCount = rows.rowCount();
    struct Filled {
        int series;
        int column;
    };
    std::vector<Filled> filled;
    for (int i = 0; i < seriesCount; ++i) {
        const int series = graph.addSeries(plan.colours[static_cast<std::size_t>(i)],
                                           "Channel " + std::to_string(i), true, true, false);
        if (series < 0)
            continue;
        // A series whose column the rows lack (a log file without blocks) stays empty.
        const int column = plan.firstColumn + i;
        if (static_cast<std::size_t>(i) < flags.size() && flags[static_cast<std::size_t>(i)] &&
            column < rows.columnCount())
            filled.push_back({series, column});
    }
    const auto& store = rows.sharedStore();
    if (store && store->hasValues()) {
        // The values stay in the store's columns; the series read them from there.
        for (const Filled& f : filled)
            graph.setSeriesValues(f.series, std::make_shared<CColumnValues>(store, f.column),
                                  false);
    } else {
        for (const Filled& f : filled)
            graph.getSeries(f.series)->points().reserve(static_cast<int>(rowCount));
        for (std::size_t row = 0; row < rowCount; ++row) {
            const double x = static_cast<double>(row);
            for (const Filled& f : filled)
                graph.addPoint(f.series, x, rows.value(row, f.column), false);
        }
    }

    DataBounds bounds;
    if (!graph.getDataBounds(bounds))
        return false;
    const DataBounds widened = widenedYBounds(bounds);
    graph.setDataBounds(widened);
    // Points beyond what the view can span (not finite, or past 1e307) would widen the other
    // series' bounds again; hold them too, so that the full view is exactly the widened range.
    for (const Filled& f : filled) {
        CPointsCollection& points = graph.getSeries(f.series)->points();
        if (points.empty())
            continue;
        const double low = std::isnan(points.minY()) ? widened.minY : points.minY();
        const double high = std::isnan(points.maxY()) ? widened.maxY : points.maxY();
        points.setBounds(points.minX(), points.maxX(), std::clamp(low, widened.minY, widened.maxY),
                         std::clamp(high, widened.minY, widened.maxY));
    }
    return true;
}
