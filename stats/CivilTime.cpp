#include "stats/CivilTime.h"

#include <cstdio>

namespace {

constexpr std::int64_t kDay = 86400;

// Days from 1970/01/01 to a proleptic Gregorian date (Howard Hinnant's days_from_civil).
std::int64_t daysFromCivil(std::int64_t y, int m, int d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct CivilDate {
    std::int64_t year;
    int month;
    int day;
};

CivilDate civilFromDays(std::int64_t z)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (m <= 2), m, d};
}

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : kDays[m - 1];
}

// The number of `count` digits at text[at]; false when one is no digit.
bool digits(std::string_view text, std::size_t at, std::size_t count, int& value)
{
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

} // namespace

std::int64_t civilSeconds(int year, int month, int day, int hour, int minute, int second)
{
    return daysFromCivil(year, month, day) * kDay + hour * 3600 + minute * 60 + second;
}

bool parseCivilDateTime(std::string_view text, std::int64_t& seconds)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (text.size() != 19 || text[4] != '/' || text[7] != '/' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':')
        return false;
    int y, mo, d, h, mi, s;
    if (!digits(text, 0, 4, y) || !digits(text, 5, 2, mo) || !digits(text, 8, 2, d) ||
        !digits(text, 11, 2, h) || !digits(text, 14, 2, mi) || !digits(text, 17, 2, s))
        return false;
    if (mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo) || h > 23 || mi > 59 || s > 60)
        return false;
    seconds = civilSeconds(y, mo, d, h, mi, s);
    return true;
}

std::string formatCivilDateTime(std::int64_t seconds)
{
    const std::int64_t day = floorToStep(seconds, kDay);
    const CivilDate date = civilFromDays(day / kDay);
    const auto time = static_cast<int>(seconds - day);
    char text[96];
    std::snprintf(text, sizeof text, "%04lld/%02d/%02d %02d:%02d:%02d",
                  static_cast<long long>(date.year), date.month, date.day, time / 3600,
                  time / 60 % 60, time % 60);
    return text;
}

std::string formatCivilTimeOfDay(std::int64_t seconds, bool withSeconds)
{
    const auto time = static_cast<int>(seconds - floorToStep(seconds, kDay));
    char text[48];
    if (withSeconds)
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", time / 3600, time / 60 % 60, time % 60);
    else
        std::snprintf(text, sizeof text, "%02d:%02d", time / 3600, time / 60 % 60);
    return text;
}
