#pragma once
// Reads a log file (.lvt) into sample rows. A record is a line containing "DATE-TIME:" (its
// date-time is the line from the 12th character on) followed by one data line per instrument
// block, each cut into 13 fields of 8 characters. The first record sets the number of blocks;
// further data lines of later records are dropped. Lines before the first record are skipped,
// and an empty line after a data line ends the reading.

#include <string>
#include <string_view>

#include "core/MessageBox.h"
#include "files/DataTable.h"
#include "files/LoadControl.h"

inline constexpr std::string_view kLogFileOpenError = "ERROR: unable to open LogInstr file.";

// Empties rows and fills them from the file; the first record's data lines set the blocks. A
// file that cannot be opened shows kLogFileOpenError (stop icon) twice, once for each reading
// pass the user knows of. A file that cannot be read, is larger than the machine's memory, does
// not fit in the memory left or has more than kMaxLogBlocks blocks (files/FileLimits.h) is
// refused with the same message once, errno telling why (a code for fileErrorText()). Every
// failure returns false with rows empty.
// A reading stopped through control returns false with errno ECANCELED and shows nothing.
bool readLogFile(const std::string& path, CDataTable& rows, IMessageBox& messages,
                 CLoadControl* control = nullptr);

// The same reading from a file's bytes in memory: 0, or ENOMEM or kTooManyBlocks (rows empty).
int readLogText(std::string_view bytes, CDataTable& rows);
