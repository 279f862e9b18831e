#pragma once
// Which rows of a table one spreadsheet export writes, and how a row's date-time text splits
// into the sheet's date and time columns. An export writes at most kExportMaxRows rows; a
// larger table is offered in intervals of that many rows.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t kExportMaxRows = 30000;

// The rows first .. first + count - 1 of a table.
struct ExportRange {
    std::size_t first = 0;
    std::size_t count = 0;
    bool operator==(const ExportRange&) const = default;
};

// The intervals of a table: offsets 0, 30000, 60000, ... below the row count, each 30000 rows
// long except the last, which ends at the row count. None for an empty table.
std::vector<ExportRange> exportIntervals(std::size_t rowCount);

// The interval list's label of the interval with this 0-based index: "Interval  1", ...
std::string intervalLabel(std::size_t index);

// Date and time columns of a row: the first 10 characters of its date-time text, and the text
// from the 12th character on (empty when the text is shorter).
struct DateTimeParts {
    std::string_view date;
    std::string_view time;
};
DateTimeParts splitDateTime(std::string_view dateTime);
