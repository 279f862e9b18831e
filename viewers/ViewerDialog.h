#pragma once
// What the record and log viewers share: the modal dialog with the button bar (Save As, Copy
// Table, Copy Graph, Zoom +, Zoom -, Graph Settings, Export, Print) and the table in the upper
// half, the graph window in the lower half (created on the first build and kept), the rows,
// and the button operations. Each viewer supplies its table, its graph series and its texts.

#include <QDialog>
#include <QTableView>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/FileDialog.h"
#include "core/MessageBox.h"
#include "files/DataTable.h"
#include "viewers/GraphSettings.h"
#include "viewers/SaveAs.h"
#include "viewers/ViewerGraph.h"
#include "viewers/ViewerOutputs.h"

class CGraphWnd;
class CIconButton;
class QHBoxLayout;
class QVBoxLayout;

// What a viewer is given: the file to show, the program's folder (where Save As starts), the
// message boxes and save dialog it shows, and its export and print outputs (null: none).
struct CViewerContext {
    std::string path;
    std::string appDirectory;
    IMessageBox& messages;
    IFileDialog& fileDialog;
    std::unique_ptr<IViewerOutputs> outputs;
};

class CViewerDialog : public QDialog {
    Q_OBJECT
public:
    enum Button { SaveAs, CopyTable, CopyGraph, ZoomIn, ZoomOut, GraphSettings, Export, Print };
    static constexpr int kButtonCount = 8;
    static constexpr int kGraphSlots = 32;

    ~CViewerDialog() override;

    CIconButton& button(Button which) { return *buttons_[which]; }
    QTableView& table() { return *table_; }
    // The graph window; null until the first build.
    CGraphWnd* graph() const { return graph_; }
    const CDataTable& rows() const { return rows_; }
    const std::string& path() const { return path_; }
    // First selected table row, -1 while none is.
    int selectedRow() const { return selectedRow_; }
    // The channel visibility flags: the graph's, or those it will start with.
    std::vector<std::uint8_t>& visibility();

    // The buttons.
    void OnSaveAs();
    void OnCopyTable();
    void OnCopyGraph();
    void OnZoomIn();
    void OnZoomOut();
    void OnGraphSettings();
    void OnExport();
    void OnPrint();

    // Builds the graph from the rows (creating the graph window the first time), then shows
    // the full view. Zoom - keeps its state.
    void buildGraph();

    // A file cut shorter while shown (its missing end read as zeros) is reported with the
    // open-failure message once, and the viewer is emptied as if the file could not be read.
    // True while the file is whole.
    bool checkFile();

    using ToolTips = std::array<const char*, kButtonCount>;

protected:
    CViewerDialog(CViewerContext context, ViewerFile kind, const ToolTips& toolTips,
                  std::vector<std::uint8_t> initialVisibility, QWidget* parent);

    // Adds a control to the bar after the buttons.
    void addBarWidget(QWidget* widget);
    // Hands the table its model and follows its selection.
    void setTableModel(QAbstractItemModel* model);

    virtual CViewerGraphPlan graphPlan() const = 0;
    // The list the graph reads row texts from and scrolls on a zoom-in.
    virtual QAbstractItemView* graphPartner() = 0;
    // Called before each build.
    virtual void prepareGraphSource() {}
    virtual std::string tableText() const = 0;
    // Captions of the Pressure, Temperature and Humidity boxes; null for none.
    virtual const GraphCaptions* graphCaptions() const = 0;
    virtual std::vector<std::string> dataTitles() const = 0;
    // The table models take the emptied rows.
    virtual void rowsEmptied() {}

    CDataTable rows_;
    IMessageBox& messages_;

private:
    void createGraph();
    void updateSelectedRow();

    std::string path_;
    std::string appDirectory_;
    IFileDialog& fileDialog_;
    std::unique_ptr<IViewerOutputs> outputs_;
    ViewerFile kind_;
    std::vector<std::uint8_t> initialVisibility_;
    std::array<CIconButton*, kButtonCount> buttons_{};
    QHBoxLayout* bar_ = nullptr;
    QTableView* table_ = nullptr;
    QWidget* graphHost_ = nullptr;
    QVBoxLayout* graphLayout_ = nullptr;
    CGraphWnd* graph_ = nullptr;
    int selectedRow_ = -1;
};
