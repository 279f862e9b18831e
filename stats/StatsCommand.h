#pragma once
// ventora-convert --stats [PERIOD] FILE.ivt [OUT.csv]: the wind statistics of a record file,
// one CSV line per period (StatsCsv.h), written to OUT.csv or standard output. PERIOD is
// "10m", "1h", "600s" or a number of minutes, dividing a day; 10 minutes when left out.

#include <cstdio>

inline constexpr const char* kStatsUsage =
    "usage: ventora-convert --stats [PERIOD] FILE.ivt [OUT.csv]\n"
    "Writes the wind statistics of a record file, one CSV line per period aligned to the\n"
    "clock; PERIOD such as 10m (the default), 1h or 600s must divide a day.\n";

// Runs the command for the arguments after "--stats"; messages go to err. Exit codes as the
// converter's: 0 done, 1 a file could not be read or written, 2 bad arguments.
int runStatsCommand(int argc, const char* const* argv, std::FILE* err = stderr);
