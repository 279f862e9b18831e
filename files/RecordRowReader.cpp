#include "files/RecordRowReader.h"

#include "core/CText.h"
#include "files/FileLimits.h"
#include "files/RecordFileReader.h"

CRecordRowReader::CRecordRowReader() : reader_(kLinePieceLength) {}

bool CRecordRowReader::open(const std::string& path) { return reader_.open(path); }

bool CRecordRowReader::next()
{
    if (error_ != 0)
        return false;
    std::string_view piece;
    while (reader_.next(piece)) {
        const std::string_view line = ctext::trimRight(piece);
        if (line.empty())
            continue;
        if (!recordRowsWithinLimit(++rows_, reader_.position())) {
            error_ = kTooManyRows;
            return false;
        }
        row_.reset(CDataTable::Layout::Record);
        addRecordLine(row_, line);
        return true;
    }
    return false;
}
