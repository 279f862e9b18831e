#include "viewers/ViewFileDlg.h"

#include <QFile>

#include "viewers/CopyTable.h"
#include "viewers/ViewerColumns.h"

namespace {

const CViewerDialog::ToolTips kToolTips = {
    "Save As...", "Copy Table to Clipboard", "Copy Graph to Clipboard", "Zoom +",
    "Zoom -",     "Graph Settings",          "Export to Excel",         "Print"};

} // namespace

CViewFileDlg::CViewFileDlg(CViewerContext context, QWidget* parent)
    : CViewFileDlg(std::move(context), CViewerFileData(), parent)
{
    CViewerFileData file = readViewerFile(ViewerFile::Record, path());
    showHeldMessages(file, messages_);
    showFile(std::move(file));
}

CViewFileDlg::CViewFileDlg(CViewerContext context, CViewerFileData file, QWidget* parent)
    : CViewerDialog(std::move(context), ViewerFile::Record, kToolTips, recordInitialVisibility(),
                    parent),
      model_(rows_)
{
    setWindowTitle(QFile::decodeName(path().c_str())); // a path in the file system's encoding
    setTableModel(&model_);
    for (int column = 0; column < kRecordColumnCount; ++column)
        table().setColumnWidth(column, recordColumnWidth(column));
    showFile(std::move(file));
}

void CViewFileDlg::showFile(CViewerFileData file)
{
    rows_ = std::move(file.rows);
    model_.reload();
    if (file.read)
        buildGraph();
}

std::string CViewFileDlg::tableText() const { return recordTableText(rows_); }

std::vector<std::string> CViewFileDlg::dataTitles() const { return recordDataTitles(); }
