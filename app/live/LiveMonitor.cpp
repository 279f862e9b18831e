#include "app/live/LiveMonitor.h"

#include <chrono>
#include <ctime>

#include "app/live/LiveGraphWnd.h"
#include "app/live/StatsStrip.h"
#include "app/view/VentoraView.h"
#include "core/Unit.h"
#include "stats/CivilTime.h"

namespace {

// The strip's place on the form, below the LED, in dialog units.
const QRect kStripUnits(5, 262, 676, 46);

// Seconds of the local clock (stats/CivilTime.h) with their fraction.
double localWallTime(std::chrono::system_clock::time_point now)
{
    const auto since = now.time_since_epoch();
    const auto whole = std::chrono::floor<std::chrono::seconds>(since);
    const std::time_t t = static_cast<std::time_t>(whole.count());
    std::tm local{};
    localtime_r(&t, &local);
    const std::int64_t seconds = civilSeconds(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                              local.tm_hour, local.tm_min, local.tm_sec);
    return static_cast<double>(seconds) + std::chrono::duration<double>(since - whole).count();
}

} // namespace

CLiveMonitor::CLiveMonitor(CVentoraView& view, QWidget* windowParent)
    : view_(view), windowParent_(windowParent), strip_(new CStatsStrip(&view))
{
    strip_->setGeometry(CVentoraView::dialogUnitsToPixels(kStripUnits));
    strip_->setCurrentPeriod(feed_.statistics().period());
    strip_->setPeriodChosen([this](int seconds) { setStatisticsPeriod(seconds); });
    showStatistics();
}

CLiveMonitor::~CLiveMonitor() = default;

void CLiveMonitor::takeRows(int first)
{
    if (view_.tableModel().columnCount() != kOverviewColumnCount)
        return;
    for (int row = std::max(first, 0); row < view_.rowCount(); ++row)
        addRow(row);
}

void CLiveMonitor::addRow(int row)
{
    std::array<std::string, kChannelCount> cells;
    CLiveFeed::Fields fields;
    for (int k = 0; k < kChannelCount; ++k) {
        cells[static_cast<std::size_t>(k)] = view_.cellText(row, k + 1);
        fields[static_cast<std::size_t>(k)] = cells[static_cast<std::size_t>(k)];
    }
    const double steady =
        std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    const std::size_t before = feed_.history().totalRows();
    feed_.addRow(localWallTime(std::chrono::system_clock::now()), steady, fields);
    if (graph_) {
        if (feed_.history().totalRows() <= before)
            graph_->historyRestarted();
        else
            graph_->rowAdded();
    }
    showStatistics();
}

void CLiveMonitor::linkClosed() { feed_.linkClosed(); }

void CLiveMonitor::showGraph()
{
    if (!graph_)
        graph_ = std::make_unique<CLiveGraphWnd>(feed_, windowParent_);
    graph_->show();
    graph_->raise();
    graph_->activateWindow();
}

void CLiveMonitor::setStatisticsPeriod(int seconds)
{
    feed_.setStatisticsPeriod(seconds);
    strip_->setCurrentPeriod(feed_.statistics().period());
    showStatistics();
}

void CLiveMonitor::showStatistics()
{
    strip_->setTexts(statsStripTexts(feed_.statistics(), Unit::instance().text(Unit::SoW)));
}
