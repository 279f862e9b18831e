#include "stats/WindStatistics.h"

#include <cmath>

CWindStatistics::CWindStatistics(int period)
    : period_(isStatsPeriod(period) ? period : kDefaultStatsPeriod)
{
}

void CWindStatistics::setPeriod(int period)
{
    if (!isStatsPeriod(period) || period == period_)
        return;
    period_ = period;
    reset();
}

void CWindStatistics::reset()
{
    current_.reset();
    lastEnded_.reset();
}

bool CWindStatistics::add(const WindSample& sample)
{
    const auto second = static_cast<std::int64_t>(std::floor(sample.time));
    const std::int64_t start = statsPeriodStart(second, period_);
    bool ended = false;
    if (current_ && current_->start() != start)
        ended = finish();
    if (!current_)
        current_.emplace(start, start + period_);
    current_->add(sample);
    return ended;
}

bool CWindStatistics::finish()
{
    if (!current_)
        return false;
    current_->closeSecond();
    lastEnded_ = current_->figures();
    current_.reset();
    return true;
}

WindFigures CWindStatistics::current() const
{
    return current_ ? current_->figures() : WindFigures();
}
