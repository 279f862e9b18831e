#pragma once
// ISpreadsheetApps asked of the desktop database: "xdg-mime query default <.xlsx type>" names
// the program that xdg-open (and so QDesktopServices::openUrl) starts for a workbook, and
// prints nothing when there is none.

#include <QString>

#include "export/SpreadsheetApps.h"

class CXdgSpreadsheetApps final : public ISpreadsheetApps {
public:
    // program: the query tool, found on PATH; tests name a script instead.
    explicit CXdgSpreadsheetApps(QString program = QStringLiteral("xdg-mime"));

    // False too when the tool is missing, fails or does not answer within a few seconds.
    bool canOpenWorkbooks() override;

private:
    QString program_;
};
