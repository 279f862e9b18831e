#include "core/Clock.h"

std::tm CSystemClock::localNow() const
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::string formatTime(const std::tm& time, const char* layout)
{
    char buffer[128];
    std::size_t length = std::strftime(buffer, sizeof buffer, layout, &time);
    return std::string(buffer, length);
}
