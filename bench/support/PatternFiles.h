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
