#pragma once
// What the program keeps of the data rows while the link runs, for the live graph and the
// statistics strip: the graph's history and the wind rose of the current link, and the wind
// statistics per period. The frame hands over each data row as its thirteen field texts with two
// clock readings: the local time (for the statistics periods) and a steady clock (for the graph's
// x, seconds since the link came up, which no clock setting can turn back).

#include <array>
#include <string>
#include <string_view>

#include "app/live/LiveHistory.h"
#include "stats/WindRose.h"
#include "stats/WindStatistics.h"

class CLiveFeed {
public:
    using Fields = std::array<std::string_view, kChannelCount>;

    // A data row: wallTime in seconds of the local clock (stats/CivilTime.h, with a fraction),
    // steadyTime in seconds of a steady clock.
    void addRow(double wallTime, double steadyTime, const Fields& fields);

    // The link went down: the next row starts a new graph history. The statistics go on, as
    // their periods belong to the clock, not to the link.
    void linkClosed() { newLink_ = true; }

    const CLiveHistory& history() const { return history_; }
    const CWindStatistics& statistics() const { return statistics_; }
    // The wind rose of the current link.
    const CWindRose& rose() const { return rose_; }
    // A new period length starts the statistics afresh.
    void setStatisticsPeriod(int seconds) { statistics_.setPeriod(seconds); }

    // "HH:MM:SS" of the local time at graph x (seconds since the link came up).
    std::string timeText(double x) const;
    // Local clock seconds at x = 0.
    double linkStartWallTime() const { return wallStart_; }

private:
    CLiveHistory history_;
    CWindStatistics statistics_;
    CWindRose rose_;
    bool newLink_ = true;
    double steadyStart_ = 0;
    double wallStart_ = 0;
};
