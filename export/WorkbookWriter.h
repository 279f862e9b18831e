#pragma once
// The export's workbook: an .xlsx file written with libxlsxwriter in constant-memory mode (each
// row goes to disk when the next one starts, so memory stays flat whatever the row count).
// Sheet layout: row 1 "DATE", "TIME" and one title per value column, row 2 empty, from row 3
// one row per table row: its date and time as text, then its values as numbers.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "export/ExportRange.h"
#include "files/DataTable.h"

inline constexpr std::size_t kSheetRowLimit = 1048576;
inline constexpr std::size_t kSheetColumnLimit = 16384;
// Table rows that one sheet holds below its two title rows.
inline constexpr std::size_t kSheetDataRows = kSheetRowLimit - 2;

// Called while a workbook is written with the number of table rows written so far.
using WorkbookProgress = std::function<void(std::size_t rowsWritten)>;

// Writes the rows of `range` to a new workbook at path. Value column k is table column k (its
// value(): -999 for a marker, 0 for text that is no number) for every k below titles.size();
// titles and table texts are Windows-1252. Rows beyond rowsPerSheet continue on further sheets,
// each with the two title rows. Returns 0, or the errno of the failure (EOVERFLOW when the data
// do not fit a sheet's columns or cells); the file at path is the caller's to remove then.
// libxlsxwriter's own error lines are kept off standard error.
int writeExportWorkbook(const std::string& path, const CDataTable& table,
                        const std::vector<std::string>& titles, ExportRange range,
                        const WorkbookProgress& progress = {},
                        std::size_t rowsPerSheet = kSheetDataRows);

// ventora-convert's workbook: every row of the table under the converter's field titles.
int convertToWorkbook(const CDataTable& table, const std::string& path);

// True for an output path ending in ".xlsx", in any case.
bool isWorkbookPath(std::string_view path);

// Creates an empty file "Ventora-export-XXXXXX.xlsx" with a unique name, readable by the user
// only, in the temporary folder ($TMPDIR, else /tmp). Returns 0 and sets path, or the errno.
int createTemporaryWorkbook(std::string& path);

// What a failure code of the functions above means, for a message to the user.
std::string workbookErrorText(int code);
