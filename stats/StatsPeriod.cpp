#include "stats/StatsPeriod.h"

bool isStatsPeriod(int seconds)
{
    return seconds >= kMinStatsPeriod && seconds <= kMaxStatsPeriod && 86400 % seconds == 0;
}

bool looksLikeStatsPeriod(std::string_view text)
{
    if (!text.empty() && (text.back() == 's' || text.back() == 'm' || text.back() == 'h'))
        text.remove_suffix(1);
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool parseStatsPeriod(std::string_view text, int& seconds)
{
    int scale = 60;
    if (!text.empty()) {
        switch (text.back()) {
        case 's':
            scale = 1;
            text.remove_suffix(1);
            break;
        case 'm':
            text.remove_suffix(1);
            break;
        case 'h':
            scale = 3600;
            text.remove_suffix(1);
            break;
        default:
            break;
        }
    }
    if (text.empty() || text.size() > 6)
        return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (value > kMaxStatsPeriod || !isStatsPeriod(value * scale))
        return false;
    seconds = value * scale;
    return true;
}

std::string statsPeriodText(int seconds)
{
    if (seconds % 3600 == 0)
        return std::to_string(seconds / 3600) + " h";
    if (seconds % 60 == 0)
        return std::to_string(seconds / 60) + " min";
    return std::to_string(seconds) + " s";
}
