#pragma once
// Record and log files of made-up values for the file benchmarks: each data line holds thirteen
// 8-character fields whose values run through a fixed arithmetic pattern (-500.00 to 1499.99),
// now and then a marker ("  _err  "). Quick to write, and the same bytes on every machine.
// Lines end CR CR LF, as the recording writes them on disk.

#include <string>

// Appends the thirteen fields of data line i.
void appendPatternFields(std::string& line, int i);

// A record file of lines lines, one a second from 2024/01/01 00:00:00 (the calendar has 28-day
// months). false when the file cannot be written whole.
bool writePatternRecordFile(const std::string& path, int lines);

// A log file of records records, one a minute from 2024/01/01 00:00:00, each with two
// instrument blocks. false when the file cannot be written whole.
bool writePatternLogFile(const std::string& path, int records);

// Small hostile files that would swell without the readers' limits (files/FileLimits.h):
// a 2 MB log file whose first record has 1,000,000 data lines; a file of "#" lines of the given
// size (record file: a row of 13 fields out of every 2 bytes); a log file whose first record
// has the most blocks and whose further records are empty (about 34 bytes each, 3 MB in all).
bool writeManyBlocksLogFile(const std::string& path);
bool writeHashLinesFile(const std::string& path, std::size_t bytes);
bool writeEmptyBlocksLogFile(const std::string& path);
