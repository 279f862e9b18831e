#include "stats/StatsCsv.h"

#include <cerrno>
#include <charconv>

#include "files/CsvWriter.h"
#include "files/FileLimits.h"
#include "stats/CivilTime.h"
#include "stats/RecordSamples.h"
#include "stats/WindStatistics.h"

namespace {

constexpr std::size_t kFlushSize = 1 << 16;

void appendFixed(std::string& out, const std::optional<double>& value, int decimals,
                 bool degrees = false)
{
    out += ',';
    if (!value)
        return;
    // Room for the largest double in fixed notation (309 digits before the point).
    char text[400];
    auto result =
        std::to_chars(text, text + sizeof text, *value, std::chars_format::fixed, decimals);
    std::string_view written(text, static_cast<std::size_t>(result.ptr - text));
    // A direction just below 360 rounds up to it: that is north, written 0.
    if (degrees && written.starts_with("360"))
        written = decimals > 0 ? std::string_view("0.0000000000").substr(0, 2 + decimals) : "0";
    if (written.starts_with("-") && written.find_first_not_of("-0.") == std::string_view::npos)
        written.remove_prefix(1); // no "-0.00"
    out += written;
}

} // namespace

std::string statsCsvTitles()
{
    return "START,END,SAMPLES,MARKED,SPEED MEAN,SPEED MIN,SPEED MAX,VECTOR SPEED,"
           "VECTOR DIRECTION,DIRECTION SD,GUST,TEMPERATURE MEAN,PRESSURE MEAN";
}

void appendStatsCsvLine(std::string& out, const WindFigures& f)
{
    out += formatCivilDateTime(f.start);
    out += ',';
    out += formatCivilDateTime(f.end);
    out += ',';
    out += std::to_string(f.samples);
    out += ',';
    out += std::to_string(f.marked);
    appendFixed(out, f.meanSpeed, 2);
    appendFixed(out, f.minSpeed, 2);
    appendFixed(out, f.maxSpeed, 2);
    appendFixed(out, f.vectorSpeed, 2);
    appendFixed(out, f.vectorDirection, 1, true);
    appendFixed(out, f.directionSd, 1);
    appendFixed(out, f.gust, 2);
    appendFixed(out, f.meanTemperature, 2);
    appendFixed(out, f.meanPressure, 2);
    out += '\n';
}

StatsConversion writeStatsCsv(const std::string& recordPath, int period, std::FILE* out,
                              IMessageBox& messages)
{
    StatsConversion result;
    errno = 0;
    std::string buffer = statsCsvTitles() + '\n';
    CWindStatistics statistics(period);
    auto emit = [&]() {
        appendStatsCsvLine(buffer, *statistics.lastEnded());
        ++result.periods;
    };
    RecordSampleCounts counts;
    std::uint64_t written = 0;
    result.opened = readRecordSamples(
        recordPath, messages,
        [&](const WindSample& sample) {
            if (statistics.add(sample))
                emit();
            if (!outputWithinLimit(written + buffer.size(), counts.bytes))
                result.writeError = kOutputTooLarge;
            else if (buffer.size() >= kFlushSize) {
                written += buffer.size();
                result.writeError = writeCsvBuffer(buffer, out);
            }
            return result.writeError == 0;
        },
        counts);
    result.rows = counts.rows;
    result.undated = counts.undated;
    if (!result.opened || result.writeError != 0)
        return result;
    if (statistics.finish())
        emit();
    result.writeError = finishCsvBuffer(buffer, out);
    return result;
}
