#include "stats/WindSample.h"

#include <cmath>

#include "core/CText.h"
#include "files/DataText.h"

std::optional<double> windFieldValue(std::string_view field)
{
    // A field cut short by a short line reads as 0: that is no calm, it is no reading.
    if (hasFieldMarker(field) || ctext::trimBoth(field).empty())
        return std::nullopt;
    const double value = fieldValue(field);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

WindSample makeWindSample(double time, std::string_view speed, std::string_view direction,
                          std::string_view temperature, std::string_view pressure)
{
    return {time, windFieldValue(speed), windFieldValue(direction), windFieldValue(temperature),
            windFieldValue(pressure)};
}
