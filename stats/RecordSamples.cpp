#include "stats/RecordSamples.h"

#include <cerrno>

#include "files/RecordFileReader.h"
#include "stats/CivilTime.h"

bool readRecordSamples(const std::string& path, IMessageBox& messages,
                       const RecordSampleHandler& sample, RecordSampleCounts& counts)
{
    CRecordRowReader reader;
    errno = 0;
    if (!reader.open(path)) {
        messages.tell(kRecordFileOpenError, MessageIcon::Stop);
        return false;
    }
    if (!readRecordSamples(reader, sample, counts)) {
        errno = reader.error();
        messages.tell(kRecordFileOpenError, MessageIcon::Stop);
        return false;
    }
    return true;
}

bool readRecordSamples(CRecordRowReader& reader, const RecordSampleHandler& sample,
                       RecordSampleCounts& counts)
{
    return readDatedRows(
        reader,
        [&](const CDataTable& row, std::int64_t local) {
            return sample(
                makeWindSample(static_cast<double>(local), row.field(0, kWindSpeedChannel),
                               row.field(0, kWindDirectionChannel),
                               row.field(0, kTemperatureChannel), row.field(0, kPressureChannel)));
        },
        counts);
}

bool readDatedRows(CRecordRowReader& reader,
                   const std::function<bool(const CDataTable& row, std::int64_t local)>& row,
                   RecordSampleCounts& counts)
{
    while (reader.next()) {
        ++counts.rows;
        counts.bytes = reader.position();
        std::int64_t local = 0;
        if (!parseCivilDateTime(reader.row().dateTime(0), local)) {
            ++counts.undated;
            continue;
        }
        if (!row(reader.row(), local))
            break;
    }
    counts.bytes = reader.position();
    return reader.error() == 0;
}
