#pragma once
// The about box of the "&?" menu: the program's name and version, closed with OK.

#include <QDialog>

class CAboutDlg final : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
