#include "app/live/StatsStripText.h"

#include <charconv>
#include <cmath>

#include "stats/CivilTime.h"

namespace {

std::string speedText(const std::optional<double>& speed, const std::string& unit)
{
    if (!speed)
        return kStripNoValue;
    // to_chars, not printf: the GUI runs in the user's locale, which may write "3,42".
    char text[400]; // the largest double in fixed notation fits
    const auto end = std::to_chars(text, text + sizeof text, *speed, std::chars_format::fixed, 2);
    std::string result(text, end.ptr);
    return unit.empty() ? result : result + " " + unit;
}

std::string directionText(const WindFigures& f)
{
    if (!f.vectorDirection)
        return f.meanSpeed && *f.meanSpeed == 0 ? "calm" : kStripNoValue;
    auto degrees = static_cast<long>(std::lround(*f.vectorDirection));
    if (degrees >= 360)
        degrees -= 360;
    return std::to_string(degrees) + "\xB0";
}

StatsStripRow rowOf(const WindFigures& f, const std::string& unit, const char* suffix)
{
    StatsStripRow row;
    row.period =
        formatCivilTimeOfDay(f.start, false) + "-" + formatCivilTimeOfDay(f.end, false) + suffix;
    row.samples = std::to_string(f.samples);
    if (f.marked > 0)
        row.samples += " (" + std::to_string(f.marked) + " marked)";
    row.mean = speedText(f.meanSpeed, unit);
    row.direction = directionText(f);
    row.gust = speedText(f.gust, unit);
    return row;
}

StatsStripRow emptyRow(const char* period)
{
    return {period, kStripNoValue, kStripNoValue, kStripNoValue, kStripNoValue};
}

} // namespace

StatsStripTexts statsStripTexts(const CWindStatistics& statistics, const std::string& speedUnit)
{
    StatsStripTexts texts;
    texts.title = "Wind, " + statsPeriodText(statistics.period()) + " periods";
    texts.current = statistics.hasCurrent() ? rowOf(statistics.current(), speedUnit, " so far")
                                            : emptyRow("no data yet");
    texts.last = statistics.lastEnded() ? rowOf(*statistics.lastEnded(), speedUnit, "")
                                        : emptyRow("none ended yet");
    return texts;
}
