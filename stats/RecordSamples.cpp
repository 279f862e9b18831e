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
    while (reader.next()) {
        const CDataTable& row = reader.row();
        ++counts.rows;
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
}
