#pragma once
// The viewers' table columns: titles (Windows-1252) and widths in pixels, and which channel
// bitmap each header carries (-1 for none).
//
// Record viewer: "Date Time" 140 wide, then the 13 channels 100 wide, titled with the channel
// name, a blank and its unit. Log viewer: "Date Time" 150 wide, then 13 columns per instrument
// block, 80 wide (the SoS column 150), titled " (SoW)", " (Azimuth)", " (Ain1)", ... with the
// model name before " (SoS)"; the first block carries the record viewer's titles and bitmaps.

#include <string>
#include <vector>

#include "core/Unit.h"

inline constexpr int kRecordColumnCount = 14;
inline constexpr const char* kModelName = "VA7310";

std::string recordColumnTitle(int column, const Unit& unit = Unit::instance());
int recordColumnWidth(int column);

int logColumnCount(int blockCount);
std::string logColumnTitle(int column, const Unit& unit = Unit::instance());
int logColumnWidth(int column);

// Titles of the data columns in order (column 1 on), as the export writes them.
std::vector<std::string> recordDataTitles(const Unit& unit = Unit::instance());
std::vector<std::string> logDataTitles(int blockCount, const Unit& unit = Unit::instance());

// Header bitmaps at first: channel k's bitmap on data column k of the first (or only) block.
std::vector<int> initialHeaderBitmaps(int columnCount);
