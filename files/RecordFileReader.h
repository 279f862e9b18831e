#pragma once
// Reads a record file (.ivt, such as the recording file dump.ivt) into sample rows. Each
// non-empty line is one row: the text before the first "#" is its date-time, the 13 fields
// follow the "#" at 8-character steps, the 13th runs to the end of the line. A line without
// "#" has an empty date-time and fields cut from its first character. Lines are read in pieces
// of at most 255 characters, so a longer line gives several rows.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/MessageBox.h"
#include "files/DataTable.h"
#include "files/LoadControl.h"

inline constexpr std::string_view kRecordFileOpenError = "ERROR: Unable to open selected file";

// How a record file is read: with the field values in columns (what a graph needs), and under
// a control that can stop the reading and follows its progress. With values, the columns in
// valueColumns (bit k: column k) are parsed as the file is read, the others when asked for.
struct CRecordReading {
    bool values = false;
    CLoadControl* control = nullptr;
    std::uint16_t valueColumns = 0x1FFF;
};

// Empties rows and reads the file's rows in place (CRecordStore). When the file cannot be opened
// or read, is larger than the machine's memory, does not fit in the memory left, has more rows
// than its size allows (files/FileLimits.h) or is cut shorter while it is read, shows
// kRecordFileOpenError (stop icon) with errno telling why (a code for fileErrorText()), and
// returns false with rows left empty. A reading stopped through its control returns false with
// errno ECANCELED and shows nothing.
bool readRecordFile(const std::string& path, CDataTable& rows, IMessageBox& messages,
                    const CRecordReading& how = {});

// The same reading, with values, from a file's bytes in memory: 0, or ENOMEM or kTooManyRows
// (rows empty).
int readRecordText(std::string_view bytes, CDataTable& rows);

// Cuts one line (trailing white space already trimmed, not empty) into a row of rows.
void addRecordLine(CDataTable& rows, std::string_view line);
