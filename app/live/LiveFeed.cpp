#include "app/live/LiveFeed.h"

#include <cmath>
#include <limits>

#include "stats/CivilTime.h"

void CLiveFeed::addRow(double wallTime, double steadyTime, const Fields& fields)
{
    if (newLink_) {
        newLink_ = false;
        history_.clear();
        rose_.clear();
        steadyStart_ = steadyTime;
        wallStart_ = wallTime;
    }
    LiveRow row;
    row.x = steadyTime - steadyStart_;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const std::optional<double> value = windFieldValue(fields[k]);
        row.values[k] =
            value ? static_cast<float>(*value) : std::numeric_limits<float>::quiet_NaN();
    }
    history_.add(row);
    const WindSample sample =
        makeWindSample(wallTime, fields[kWindSpeedChannel], fields[kWindDirectionChannel],
                       fields[kTemperatureChannel], fields[kPressureChannel]);
    statistics_.add(sample);
    rose_.add(sample);
}

std::string CLiveFeed::timeText(double x) const
{
    return formatCivilTimeOfDay(static_cast<std::int64_t>(std::floor(wallStart_ + x)), true);
}
