#pragma once
// Writes a record file of realistic VA7310 samples (one a second), so that benchmarks and
// screenshots need no instrument.

#include <string>

// rows lines starting at 2026/03/14 00:00:00; false when the file cannot be written.
bool writeDemoRecordFile(const std::string& path, int rows, unsigned seed = 1);
