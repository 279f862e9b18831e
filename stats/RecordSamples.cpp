#include "stats/RecordSamples.h"

#include "files/RecordFileReader.h"
#include "stats/CivilTime.h"

bool readRecordSamples(const std::string& path, IMessageBox& messages,
                       const RecordSampleHandler& sample, RecordSampleCounts& counts)
{
    CRecordRowReader reader;
    if (!reader.open(path)) {
        messages.tell(kRecordFileOpenError, MessageIcon::Stop);
        return false;
    }
    readRecordSamples(reader, sample, counts);
    return true;
}

void readRecordSamples(CRecordRowReader& reader, const RecordSampleHandler& sample,
                       RecordSampleCounts& counts)
{
    readDatedRows(
        reader,
        [&](const CDataTable& row, std::int64_t local) {
            return sample(
                makeWindSample(static_cast<double>(local), row.field(0, kWindSpeedChannel),
                               row.field(0, kWindDirectionChannel),
                               row.field(0, kTemperatureChannel), row.field(0, kPressureChannel)));
        },
        counts);
}

void readDatedRows(CRecordRowReader& reader,
                   const std::function<bool(const CDataTable& row, std::int64_t local)>& row,
                   RecordSampleCounts& counts)
{
    while (reader.next()) {
        ++counts.rows;
        std::int64_t local = 0;
        if (!parseCivilDateTime(reader.row().dateTime(0), local)) {
            ++counts.undated;
            continue;
        }
        if (!row(reader.row(), local))
            break;
    }
}
