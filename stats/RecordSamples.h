#pragma once
// The wind samples of a record file, read line by line and cut exactly as the record viewer
// cuts them, so memory stays constant however long the file is. Rows whose date-time cannot be
// read are counted and left out.

#include <cstdint>
#include <functional>
#include <string>

#include "core/MessageBox.h"
#include "files/RecordRowReader.h"
#include "stats/WindSample.h"

struct RecordSampleCounts {
    long long rows = 0;          // rows read
    long long undated = 0;       // rows left out: no readable date-time
    unsigned long long bytes = 0; // bytes of the file read so far
};

using RecordSampleHandler = std::function<bool(const WindSample&)>;

// Calls sample() for every dated row, in file order, until it returns false. Returns false
// when the file cannot be opened or read, or has more rows than its size allows
// (files/FileLimits.h), after showing the record viewer's open error with errno telling why.
bool readRecordSamples(const std::string& path, IMessageBox& messages,
                       const RecordSampleHandler& sample, RecordSampleCounts& counts);

// The same from a reader already open, without a message: false when the reading failed
// (reader.error() tells why).
bool readRecordSamples(CRecordRowReader& reader, const RecordSampleHandler& sample,
                       RecordSampleCounts& counts);

// Calls row() with every dated row (a table of one row) and its local time (CivilTime.h), in
// file order, until it returns false. False when the reading failed (reader.error()).
bool readDatedRows(CRecordRowReader& reader,
                   const std::function<bool(const CDataTable& row, std::int64_t local)>& row,
                   RecordSampleCounts& counts);
