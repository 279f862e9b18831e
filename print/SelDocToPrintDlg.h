#pragma once
// The print choice dialog of the viewers ("Skyvane"): a title for the printout, pre-filled
// with "Title", and "Print Table" (pre-selected) or "Print Graph" in the group "Select print".

#include <QDialog>

class QLineEdit;
class QRadioButton;

class CSelDocToPrintDlg : public QDialog {
    Q_OBJECT
public:
    enum Selection { kPrintTable = 0, kPrintGraph = 1 };

    explicit CSelDocToPrintDlg(QWidget* parent = nullptr);

    QString title() const;
    int selection() const;

    QLineEdit* titleEdit() const { return title_; }
    QRadioButton* tableButton() const { return table_; }
    QRadioButton* graphButton() const { return graph_; }

private:
    QLineEdit* title_;
    QRadioButton* table_;
    QRadioButton* graph_;
};
