#pragma once
// Writes a realistic log file: one record a minute, each a "DATE-TIME:" line and one data line
// per instrument block (instruments at different heights see the same weather a little
// differently), lines ending CR CR LF as on disk.

#include <string>

bool writeDemoLogFile(const std::string& path, int records, int blocks, unsigned seed = 7);
