#pragma once
// Wind statistics of a record file as CSV: a title row, then one line per period with its start
// and end ("YYYY/MM/DD HH:MM:SS", local time, the end being the next period's start), the
// sample counts and the figures of WindAccumulator.h. Speeds are in the instrument's unit with
// two decimals, directions in degrees with one, temperature (degrees Celsius) and pressure
// (mbar) with two. A figure without a value is an empty field. Lines end in LF.

#include <cstdio>
#include <string>

#include "core/MessageBox.h"
#include "stats/WindAccumulator.h"

// The title row, without its line end.
std::string statsCsvTitles();

// One period's line, with its line end.
void appendStatsCsvLine(std::string& out, const WindFigures& figures);

struct StatsConversion {
    bool opened = false;   // false: the file could not be opened (the message was shown)
    int writeError = 0;    // errno of a failed write, kOutputTooLarge for an output more than
                           // files/FileLimits.h allows; 0 when everything was written
    long long rows = 0;    // rows read
    long long undated = 0; // rows left out because their date-time could not be read
    long long periods = 0; // lines written below the titles
};

// Reads a record file line by line, cut as the record viewer cuts it, and writes the
// statistics of every period to out. When the file cannot be opened, shows the record viewer's
// open error through messages and writes nothing.
StatsConversion writeStatsCsv(const std::string& recordPath, int period, std::FILE* out,
                              IMessageBox& messages);
