#pragma once
// Record and log files of realistic VA7310 samples, so that benchmarks, screenshots and demos
// need no instrument. The weather wanders (a daily cycle, gusts, veering wind) from a seeded
// random generator: the same arguments always write the same bytes. Lines end CR CR LF, as the
// recording writes them on disk.

#include <string>

// A record file: rows lines, one a second from 2026/03/14 00:00:00 local time. false when the
// file cannot be written whole.
bool writeDemoRecordFile(const std::string& path, int rows, unsigned seed = 1);

// A log file: one record a minute from 2026/05/02 00:00:00 local time, each a "DATE-TIME:" line
// and one data line per instrument block (instruments at different heights see the same
// weather a little differently). false when the file cannot be written whole.
bool writeDemoLogFile(const std::string& path, int records, int blocks, unsigned seed = 7);
