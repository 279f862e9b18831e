#include "mqtt/StationPayloads.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "core/CText.h"
#include "core/Unit.h"
#include "mqtt/SamplePayload.h"
#include "mqtt/SampleUnits.h"
#include "stats/CivilTime.h"

using nlohmann::ordered_json;

namespace {

ordered_json rounded(const std::optional<double>& value, int decimals, bool degrees = false)
{
    if (!value)
        return nullptr;
    const double scale = std::pow(10.0, decimals);
    double result = std::round(*value * scale) / scale;
    if (degrees && result >= 360.0)
        result -= 360.0; // just below north rounds to north
    return result == 0 ? 0.0 : result; // no -0
}

std::string utf8(std::string_view ansi)
{
    std::string text;
    ctext::appendUtf8(text, ansi);
    return text;
}

} // namespace

std::string statsPayload(std::string_view station, int period, const WindFigures& f,
                         const Unit& unit)
{
    ordered_json out;
    out["station"] = std::string(station);
    out["period"] = period;
    out["start"] = isoLocalTime(formatCivilDateTime(f.start));
    out["end"] = isoLocalTime(formatCivilDateTime(f.end));
    out["count"] = f.samples;
    out["marked"] = f.marked;
    out["meanSpeed"] = rounded(f.meanSpeed, 2);
    out["minSpeed"] = rounded(f.minSpeed, 2);
    out["maxSpeed"] = rounded(f.maxSpeed, 2);
    out["vectorSpeed"] = rounded(f.vectorSpeed, 2);
    out["vectorDirection"] = rounded(f.vectorDirection, 1, true);
    out["directionSd"] = rounded(f.directionSd, 1);
    out["gust"] = rounded(f.gust, 2);
    out["meanTemperature"] = rounded(f.meanTemperature, 2);
    out["meanPressure"] = rounded(f.meanPressure, 2);
    out["units"] = {{"speed", utf8(unit.text(Unit::SoW))},
                    {"direction", utf8(unit.text(Unit::Azimuth))},
                    {"temperature", utf8(unit.text(Unit::Temperature))},
                    {"pressure", utf8(unit.text(Unit::Pressure))}};
    return out.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

std::string onlinePayload(std::string_view station, const InstrumentLink* link, const Unit& unit)
{
    ordered_json out;
    out["station"] = std::string(station);
    out["state"] = "online";
    if (link) {
        out["instrument"] = {{"line", "RS" + link->lineType},
                             {"port", link->port},
                             {"rate", link->rate},
                             {"units", unitsObject(unit)}};
    } else {
        out["instrument"] = nullptr;
    }
    return out.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

std::string offlinePayload(std::string_view station)
{
    ordered_json out;
    out["station"] = std::string(station);
    out["state"] = "offline";
    return out.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}
