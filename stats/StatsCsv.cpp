#include "stats/StatsCsv.h"

#include <cerrno>
#include <charconv>

#include "core/CText.h"
#include "core/LineReader.h"
#include "files/DataTable.h"
#include "files/FileLimits.h"
#include "files/RecordFileReader.h"
#include "stats/CivilTime.h"
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

int flush(std::string& buffer, std::FILE* out)
{
    if (!buffer.empty() && std::fwrite(buffer.data(), 1, buffer.size(), out) != buffer.size())
        return errno != 0 ? errno : EIO;
    buffer.clear();
    return 0;
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
    CLineReader reader(kLinePieceLength);
    if (!reader.open(recordPath)) {
        messages.tell(kRecordFileOpenError, MessageIcon::Stop);
        return result;
    }
    result.opened = true;
    errno = 0;
    std::string buffer = statsCsvTitles() + '\n';
    CWindStatistics statistics(period);
    auto emit = [&]() {
        appendStatsCsvLine(buffer, *statistics.lastEnded());
        ++result.periods;
    };
    // One row at a time through the viewer's own cutting, so that fields are exactly those the
    // viewer shows, in constant memory however long the file is.
    CDataTable row;
    std::string_view piece;
    while (reader.next(piece)) {
        std::string_view line = ctext::trimRight(piece);
        if (line.empty())
            continue;
        row.reset(CDataTable::Layout::Record);
        addRecordLine(row, line);
        ++result.rows;
        std::int64_t seconds = 0;
        if (!parseCivilDateTime(row.dateTime(0), seconds)) {
            ++result.undated;
            continue;
        }
        const WindSample sample =
            makeWindSample(static_cast<double>(seconds), row.field(0, kWindSpeedChannel),
                           row.field(0, kWindDirectionChannel), row.field(0, kTemperatureChannel),
                           row.field(0, kPressureChannel));
        if (statistics.add(sample))
            emit();
        if (buffer.size() >= kFlushSize)
            if ((result.writeError = flush(buffer, out)) != 0)
                return result;
    }
    if (statistics.finish())
        emit();
    if ((result.writeError = flush(buffer, out)) != 0)
        return result;
    if (std::fflush(out) != 0)
        result.writeError = errno != 0 ? errno : EIO;
    return result;
}
