#include "stats/RecordSamples.h"

#include <cerrno>

#include "core/CText.h"
#include "core/LineReader.h"
#include "files/DataTable.h"
#include "files/FileLimits.h"
#include "files/RecordFileReader.h"
#include "stats/CivilTime.h"

bool readRecordSamples(const std::string& path, IMessageBox& messages,
                       const std::function<bool(const WindSample&)>& sample,
                       RecordSampleCounts& counts)
{
    CLineReader reader(kLinePieceLength);
    errno = 0;
    if (!reader.open(path)) {
        messages.tell(kRecordFileOpenError, MessageIcon::Stop);
        return false;
    }
    // One row at a time through the viewer's own cutting.
    CDataTable row;
    std::string_view piece;
    while (reader.next(piece)) {
        std::string_view line = ctext::trimRight(piece);
        if (line.empty())
            continue;
        row.reset(CDataTable::Layout::Record);
        addRecordLine(row, line);
        ++counts.rows;
        counts.bytes = reader.position();
        if (!recordRowsWithinLimit(static_cast<std::uint64_t>(counts.rows), counts.bytes)) {
            errno = kTooManyRows;
            messages.tell(kRecordFileOpenError, MessageIcon::Stop);
            return false;
        }
        std::int64_t seconds = 0;
        if (!parseCivilDateTime(row.dateTime(0), seconds)) {
            ++counts.undated;
            continue;
        }
        if (!sample(makeWindSample(static_cast<double>(seconds), row.field(0, kWindSpeedChannel),
                                   row.field(0, kWindDirectionChannel),
                                   row.field(0, kTemperatureChannel),
                                   row.field(0, kPressureChannel))))
            break;
    }
    if (reader.error() != 0) {
        errno = reader.error();
        messages.tell(kRecordFileOpenError, MessageIcon::Stop);
        return false;
    }
    return true;
}
