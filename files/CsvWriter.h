#pragma once
// Writes sample rows as CSV, laid out like the spreadsheet export: a title row "DATE", "TIME"
// and one title per field column, then one line per row with the date (the first 10 characters
// of its date-time), the time (from the 12th character on) and each field as a number: -999 for
// a field with a marker, 0 for text that is no number. Numbers are written in their shortest
// form that reads back to the same value. Text is converted from Windows-1252 to UTF-8; a
// value holding a comma, quote or line break is quoted, quotes doubled. Lines end in LF.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "core/Unit.h"
#include "files/DataTable.h"

// Titles of the field columns: for record files the viewer's titles ("Pressure mbar"), for log
// files the log channel names, followed by " #2", " #3", ... for every block when there are
// several. Trailing blanks (a channel without unit) are dropped.
std::vector<std::string> csvFieldTitles(const CDataTable& rows, const Unit& unit = Unit::instance());

// The most bytes writeCsv writes for these rows and titles (every character of a text at its
// longest in UTF-8 and quoted, every number at its longest), found without writing them.
std::uint64_t csvSizeBound(const CDataTable& rows, const std::vector<std::string>& fieldTitles);

// Writes the title row and every row to out; 0 on success, otherwise the errno of the failure.
int writeCsv(const CDataTable& rows, const std::vector<std::string>& fieldTitles, std::FILE* out);

// The line writeCsv writes for a record-file row of this date-time ("%Y/%m/%d %H:%M:%S") and
// data text, LF included: a sample can be streamed as CSV while it is recorded.
std::string csvSampleLine(std::string_view dateTime, std::string_view dataText);

// One CSV value: Windows-1252 text as UTF-8, quoted when it needs to be.
std::string csvText(std::string_view text);

// CSV writers build their lines in a buffer and hand it to the file a piece at a time.
// Writes what buffer holds to out and empties it; 0, or the errno of the failure.
int writeCsvBuffer(std::string& buffer, std::FILE* out);
// Writes the rest of buffer and flushes out; 0, or the errno of the failure.
int finishCsvBuffer(std::string& buffer, std::FILE* out);
