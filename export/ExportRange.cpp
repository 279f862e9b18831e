#include "export/ExportRange.h"

#include <algorithm>

std::vector<ExportRange> exportIntervals(std::size_t rowCount)
{
    std::vector<ExportRange> intervals;
    for (std::size_t first = 0; first < rowCount; first += kExportMaxRows)
        intervals.push_back({first, std::min(kExportMaxRows, rowCount - first)});
    return intervals;
}

std::string intervalLabel(std::size_t index) { return "Interval  " + std::to_string(index + 1); }

DateTimeParts splitDateTime(std::string_view dateTime)
{
    constexpr std::size_t kDateLength = 10;
    constexpr std::size_t kTimeStart = 11;
    DateTimeParts parts;
    parts.date = dateTime.substr(0, std::min(kDateLength, dateTime.size()));
    if (dateTime.size() > kTimeStart)
        parts.time = dateTime.substr(kTimeStart);
    return parts;
}
