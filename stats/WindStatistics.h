#pragma once
// Wind statistics period by period: samples go to the accumulator of the clock-aligned period
// their time falls in. A sample of another period (the next one, a later one after a gap, or an
// earlier one when the clock was set back) ends the current period, which then becomes the
// last ended one; so every sample is counted exactly once, in file or arrival order.

#include <optional>

#include "stats/StatsPeriod.h"
#include "stats/WindAccumulator.h"

class CWindStatistics {
public:
    explicit CWindStatistics(int period = kDefaultStatsPeriod);

    // A period that isStatsPeriod() rejects is ignored. Changing the period starts afresh.
    void setPeriod(int period);
    int period() const { return period_; }

    // Adds a sample; true when it ended the current period (see lastEnded()).
    bool add(const WindSample& sample);

    // Ends the current period (the end of a file); true when there was one.
    bool finish();

    // Forgets every period.
    void reset();

    bool hasCurrent() const { return current_.has_value(); }
    // The figures of the current period so far (empty figures when there is none).
    WindFigures current() const;
    // The figures of the period ended last.
    const std::optional<WindFigures>& lastEnded() const { return lastEnded_; }

private:
    int period_;
    std::optional<CWindAccumulator> current_;
    std::optional<WindFigures> lastEnded_;
};
