#pragma once
// "Select interval to Export": the intervals of 30000 rows of a table too large for one
// export, each with the date-time of its first row. OK is enabled once an interval is
// selected (a double click chooses one at once); Cancel ends the export.

#include <QDialog>
#include <vector>

#include "export/ExportRange.h"
#include "files/DataTable.h"

class QPushButton;
class QTableView;

class CSelExcelInterval final : public QDialog {
    Q_OBJECT
public:
    explicit CSelExcelInterval(const CDataTable& table, QWidget* parent = nullptr);

    // The chosen rows: first row and one past the last; both -1 until OK.
    long long startRow() const { return start_; }
    long long endRow() const { return end_; }

    QTableView* intervalList() const { return list_; }
    QPushButton* okButton() const { return ok_; }

    void accept() override;

private:
    int selectedInterval() const;

    const CDataTable& table_;
    std::vector<ExportRange> intervals_;
    QTableView* list_ = nullptr;
    QPushButton* ok_ = nullptr;
    long long start_ = -1;
    long long end_ = -1;
};
