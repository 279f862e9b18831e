#pragma once
// Local date-times as plain second counts: the seconds from 1970/01/01 00:00:00 of the same
// calendar, without any time zone. Record files hold local times, and statistics periods are
// aligned to the local clock, so no zone conversion is wanted anywhere.

#include <cstdint>
#include <string>
#include <string_view>

// Reads "YYYY/MM/DD HH:MM:SS" (the recording-file layout, trailing blanks allowed); false for
// any other shape or an impossible date or time. Second 60 (a leap second) is accepted.
bool parseCivilDateTime(std::string_view text, std::int64_t& seconds);

// Writes seconds as "YYYY/MM/DD HH:MM:SS".
std::string formatCivilDateTime(std::int64_t seconds);

// Writes the time of day of seconds as "HH:MM" or, with withSeconds, "HH:MM:SS".
std::string formatCivilTimeOfDay(std::int64_t seconds, bool withSeconds);

// The count of a calendar date and time of day (month 1..12, day 1..31).
std::int64_t civilSeconds(int year, int month, int day, int hour, int minute, int second);

// Floor division of a second count by a positive step, also for times before 1970.
inline std::int64_t floorToStep(std::int64_t seconds, std::int64_t step)
{
    std::int64_t q = seconds / step;
    if (seconds % step != 0 && seconds < 0)
        --q;
    return q * step;
}
