#pragma once
// A record file read one row at a time, cut exactly as readRecordFile() cuts it, so that a
// conversion of a file of any length needs constant memory.

#include <string>

#include "core/LineReader.h"
#include "files/DataTable.h"

class CRecordRowReader {
public:
    CRecordRowReader();

    // Opens the file; false when it cannot be opened (errno tells why).
    bool open(const std::string& path);

    // Reads the next row into row(); false at the end of the file.
    bool next();

    // The row read last, as a table of one row.
    const CDataTable& row() const { return row_; }

private:
    CLineReader reader_;
    CDataTable row_;
};
