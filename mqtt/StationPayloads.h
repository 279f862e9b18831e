#pragma once
// The JSON of a station's statistics and status topics.
//   stats:  {"station", "period" (seconds), "start", "end" (ISO 8601 local times), "count",
//            "marked", "meanSpeed", "minSpeed", "maxSpeed", "vectorSpeed", "vectorDirection",
//            "directionSd", "gust", "meanTemperature", "meanPressure", "units"}; a figure without
//            a value is null; speeds with two decimals, directions with one, as --stats writes.
//   status: {"station", "state": "online", "instrument": {"line": "RS232", "port", "rate",
//            "units"} or null while no instrument is connected}, or {"station", "state":
//            "offline"} (a clean stop, or the broker's last will).

#include <string>
#include <string_view>

#include "stats/WindAccumulator.h"

class Unit;

struct InstrumentLink {
    std::string lineType; // "232" or "485"
    std::string port;     // "COM2" or a device path
    int rate = 0;         // baud
};

std::string statsPayload(std::string_view station, int period, const WindFigures& figures,
                         const Unit& unit);

// link null: online, no instrument connected yet.
std::string onlinePayload(std::string_view station, const InstrumentLink* link, const Unit& unit);
std::string offlinePayload(std::string_view station);
