#pragma once
// Whether any program on this machine opens .xlsx workbooks. The export asks before it writes,
// so that a machine without a spreadsheet program gets a message instead of a workbook that
// nothing opens.

inline constexpr const char* kWorkbookMimeType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

class ISpreadsheetApps {
public:
    virtual ~ISpreadsheetApps() = default;
    virtual bool canOpenWorkbooks() = 0;
};
