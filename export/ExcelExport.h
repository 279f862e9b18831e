#pragma once
// The Export button of a viewer: writes the viewer's table (at most 30000 rows, a larger one
// an interval at a time) to a new .xlsx workbook in the temporary folder and opens it in the
// desktop's spreadsheet program. The viewer owns one CExcelExport for its lifetime, so the
// notice window is created on first use and kept.

#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "core/MessageBox.h"
#include "export/ExportRange.h"
#include "export/SpreadsheetApps.h"
#include "files/DataTable.h"

class QWidget;
class CQtMessageBox;
class CWaitExportingToExcelDlg;

class CExcelExport {
public:
    // Real message boxes ("Skyvane8u", over the viewer) and the desktop database's answer.
    CExcelExport();
    CExcelExport(IMessageBox& messages, ISpreadsheetApps& apps);
    ~CExcelExport();
    CExcelExport(const CExcelExport&) = delete;
    CExcelExport& operator=(const CExcelExport&) = delete;

    // Exports rows of `table`: column k of the sheet's values is table column k (0-based field
    // columns of CDataTable), for k < columnTitles.size(); titles are Windows-1252.
    void exportTable(QWidget* viewer, const CDataTable& table,
                     const std::vector<std::string>& columnTitles);

    // The notice window, once the first export has created it.
    CWaitExportingToExcelDlg* noticeWindow() const;

private:
    void showNotice(QWidget* viewer);
    int writeWorkbook(const std::string& path, const CDataTable& table,
                      const std::vector<std::string>& columnTitles, ExportRange range);

    std::unique_ptr<CQtMessageBox> ownMessages_;
    std::unique_ptr<ISpreadsheetApps> ownApps_;
    IMessageBox& messages_;
    ISpreadsheetApps& apps_;
    // Owned by the viewer as its child window, so it closes with it.
    QPointer<CWaitExportingToExcelDlg> notice_;
};
