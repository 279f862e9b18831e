#pragma once
// A record file read one row at a time, cut exactly as readRecordFile() cuts it, so that a
// conversion of a file of any length needs constant memory. It keeps the readers' limits: a read
// error or more rows than the file's size allows (files/FileLimits.h) ends the reading, and
// error() tells which.

#include <cstdint>
#include <string>

#include "core/LineReader.h"
#include "files/DataTable.h"

class CRecordRowReader {
public:
    CRecordRowReader();

    // Opens the file; false when it cannot be opened (errno tells why).
    bool open(const std::string& path);

    // Reads the next row into row(); false at the end of the file or on a failure (error()).
    bool next();

    // The row read last, as a table of one row.
    const CDataTable& row() const { return row_; }

    // 0, the errno of a failed read, or kTooManyRows.
    int error() const { return error_ != 0 ? error_ : reader_.error(); }

    // Bytes of the file read so far.
    std::uint64_t position() const { return reader_.position(); }

private:
    CLineReader reader_;
    CDataTable row_;
    std::uint64_t rows_ = 0;
    int error_ = 0;
};
