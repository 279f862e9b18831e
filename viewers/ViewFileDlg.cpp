#include "viewers/ViewFileDlg.h"

#include <QFile>

#include "core/Channels.h"
#include "files/FileLimits.h"
#include "files/RecordFileReader.h"
#include "viewers/CopyTable.h"
#include "viewers/ViewerColumns.h"

namespace {

const CViewerDialog::ToolTips kToolTips = {
    "Save As...", "Copy Table to Clipboard", "Copy Graph to Clipboard", "Zoom +",
    "Zoom -",     "Graph Settings",          "Export to Excel",         "Print"};

} // namespace

CViewFileDlg::CViewFileDlg(CViewerContext context, QWidget* parent)
    : CViewerDialog(std::move(context), ViewerFile::Record, kToolTips, recordInitialVisibility(),
                    parent),
      model_(rows_)
{
    setWindowTitle(QFile::decodeName(path().c_str())); // a path in the file system's encoding
    setTableModel(&model_);
    const bool read = readRecordFile(path(), rows_, messages_) &&
                      admitToViewer(rows_, kChannelCount, kRecordFileOpenError, messages_);
    model_.reload();
    for (int column = 0; column < kRecordColumnCount; ++column)
        table().setColumnWidth(column, recordColumnWidth(column));
    if (read)
        buildGraph();
}

std::string CViewFileDlg::tableText() const { return recordTableText(rows_); }

std::vector<std::string> CViewFileDlg::dataTitles() const { return recordDataTitles(); }
