#pragma once
// The wind samples of a record file, read line by line and cut exactly as the record viewer
// cuts them, so memory stays constant however long the file is. Rows whose date-time cannot be
// read are counted and left out.

#include <functional>
#include <string>

#include "core/MessageBox.h"
#include "stats/WindSample.h"

struct RecordSampleCounts {
    long long rows = 0;          // rows read
    long long undated = 0;       // rows left out: no readable date-time
    unsigned long long bytes = 0; // bytes of the file read so far
};

// Calls sample() for every dated row, in file order, until it returns false. Returns false
// when the file cannot be opened or read, or has more rows than its size allows
// (files/FileLimits.h), after showing the record viewer's open error with errno telling why.
bool readRecordSamples(const std::string& path, IMessageBox& messages,
                       const std::function<bool(const WindSample&)>& sample,
                       RecordSampleCounts& counts);
