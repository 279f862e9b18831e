#pragma once
// The averaging period of the wind statistics: a whole number of seconds that divides a day,
// so that periods are aligned to the clock (a 10-minute period starts at :00, :10, ...).

#include <cstdint>
#include <string>
#include <string_view>

#include "stats/CivilTime.h"

inline constexpr int kDefaultStatsPeriod = 600;
inline constexpr int kMinStatsPeriod = 60;
inline constexpr int kMaxStatsPeriod = 86400;

// True for a period of kMinStatsPeriod..kMaxStatsPeriod seconds that divides a day.
bool isStatsPeriod(int seconds);

// Reads "10m", "1h", "600s" or a bare number of minutes ("10"); false for anything else and
// for a period that isStatsPeriod rejects.
bool parseStatsPeriod(std::string_view text, int& seconds);

// What a word shaped like a period but not one is told.
inline constexpr const char* kStatsPeriodError =
    "not a statistics period: from 1m to 24h, dividing a day (10m, 1h, ...)";

// A word shaped like a period ("7m", "90"), as opposed to a file name.
bool looksLikeStatsPeriod(std::string_view text);

// "10 min", "1 h", "90 s": the period as users read it.
std::string statsPeriodText(int seconds);

// Start of the period holding a time (seconds of the local clock, see CivilTime.h).
inline std::int64_t statsPeriodStart(std::int64_t time, int period)
{
    return floorToStep(time, period);
}
