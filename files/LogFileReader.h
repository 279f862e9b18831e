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

// Empties rows and fills them in two passes over the file: the first counts the blocks, the
// second cuts the rows. Each pass that cannot open the file shows kLogFileOpenError (stop icon);
// the result is false when either failed. A file larger than the machine's memory, or one that
// does not fit in the memory left, is refused with the same message once (errno tells why) and
// leaves rows empty. A reading stopped through control returns false with errno ECANCELED and
// shows nothing more.
bool readLogFile(const std::string& path, CDataTable& rows, IMessageBox& messages,
                 CLoadControl* control = nullptr);

// The same reading from a file's bytes in memory: 0, or ENOMEM (rows empty).
int readLogText(std::string_view bytes, CDataTable& rows);
