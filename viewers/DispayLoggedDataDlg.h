#pragma once
// The log viewer ("Ventora Log Viewer"): a log file (.lvt) as a table of 13 columns per
// instrument block, and a graph of five columns of the block chosen in "CURRENT PLOT" (the
// first block at first). The graph reads its texts from a hidden six-column list refilled
// from the chosen block before each build.

#include <QComboBox>

#include "viewers/LogGraphSourceModel.h"
#include "viewers/LogTableModel.h"
#include "viewers/ViewerDialog.h"
#include "viewers/ViewerFileData.h"

class CDispayLoggedDataDlg : public CViewerDialog {
    Q_OBJECT
public:
    // Reads the file; one that cannot be opened leaves the viewer empty, without a graph.
    explicit CDispayLoggedDataDlg(CViewerContext context, QWidget* parent = nullptr);
    // Shows the file as read already (readViewerFile), its messages shown by the caller.
    CDispayLoggedDataDlg(CViewerContext context, CViewerFileData file, QWidget* parent = nullptr);

    CLogTableModel& model() { return model_; }
    CLogGraphSourceModel& graphSource() { return source_; }
    QTableView& graphSourceList() { return *sourceList_; }
    QComboBox& blockChoice() { return *plot_; }
    // Table column of the chosen block's first field.
    int startColumn() const { return startColumn_; }

    // Shows block (0-based) in the graph; choosing the current block does nothing.
    void OnBlockChoice(int block);

protected:
    CViewerGraphPlan graphPlan() const override { return logGraphPlan(startColumn_ - 1); }
    QAbstractItemView* graphPartner() override { return sourceList_; }
    void prepareGraphSource() override { source_.refill(startColumn_); }
    std::string tableText() const override;
    const GraphCaptions* graphCaptions() const override { return nullptr; }
    std::vector<std::string> dataTitles() const override;

private:
    void showFile(CViewerFileData file);
    void setColumnWidths();

    CLogTableModel model_;
    CLogGraphSourceModel source_;
    QTableView* sourceList_ = nullptr;
    QComboBox* plot_ = nullptr;
    int startColumn_ = 1;
};
