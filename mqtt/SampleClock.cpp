#include "mqtt/SampleClock.h"

#include "core/CText.h"

void CSampleClock::set(std::string_view t)
{
    time_ = std::tm{};
    time_.tm_year = ctext::toInt(t.substr(0, 4)) - 1900;
    time_.tm_mon = ctext::toInt(t.substr(5, 2)) - 1;
    time_.tm_mday = ctext::toInt(t.substr(8, 2));
    time_.tm_hour = ctext::toInt(t.substr(11, 2));
    time_.tm_min = ctext::toInt(t.substr(14, 2));
    time_.tm_sec = ctext::toInt(t.substr(17, 2));
}
