#pragma once
// The modeless notice a viewer shows while it exports: "Exporting operation could take some
// minutes: please wait....", with an OK button that closes it.

#include <QDialog>

class CWaitExportingToExcelDlg final : public QDialog {
    Q_OBJECT
public:
    explicit CWaitExportingToExcelDlg(QWidget* parent = nullptr);
};
