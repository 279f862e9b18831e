#pragma once
// The record viewer: a record file (.ivt) as a virtual table of its rows and a graph of the 13
// channels (Azimuth, Temperature, Humidity and Elevation shown at first).

#include "viewers/RecordTableModel.h"
#include "viewers/ViewerDialog.h"
#include "viewers/ViewerFileData.h"

class CViewFileDlg : public CViewerDialog {
    Q_OBJECT
public:
    // Reads the file; one that cannot be opened leaves the viewer empty, without a graph.
    explicit CViewFileDlg(CViewerContext context, QWidget* parent = nullptr);
    // Shows the file as read already (readViewerFile), its messages shown by the caller.
    CViewFileDlg(CViewerContext context, CViewerFileData file, QWidget* parent = nullptr);

    CRecordTableModel& model() { return model_; }

protected:
    CViewerGraphPlan graphPlan() const override { return recordGraphPlan(); }
    QAbstractItemView* graphPartner() override { return &table(); }
    void prepareGraphSource() override { holdPlottedColumns(rows_, visibility()); }
    std::string tableText() const override;
    const GraphCaptions* graphCaptions() const override { return &kRecordGraphCaptions; }
    std::vector<std::string> dataTitles() const override;
    void rowsEmptied() override { model_.reload(); }

private:
    void showFile(CViewerFileData file);

    CRecordTableModel model_;
};
