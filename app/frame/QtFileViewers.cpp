#include "app/frame/QtFileViewers.h"

#include "controls/QtFileDialog.h"
#include "controls/QtMessageBox.h"
#include "viewers/DispayLoggedDataDlg.h"
#include "viewers/ViewFileDlg.h"

CQtFileViewers::CQtFileViewers(QWidget* parent, std::string appDirectory)
    : parent_(parent), appDirectory_(std::move(appDirectory))
{
}

template <typename Viewer> void CQtFileViewers::run(const std::string& path)
{
    // Messages while the file is read stand over the main window; later ones over the viewer.
    CQtMessageBox messages(QStringLiteral("Skyvane8u"), parent_);
    CQtFileDialog saveDialog(parent_);
    Viewer viewer({path, appDirectory_, messages, saveDialog, makeViewerOutputs()}, parent_);
    messages.setParent(&viewer);
    saveDialog.setParent(&viewer);
    viewer.exec();
}

void CQtFileViewers::runRecordViewer(const std::string& path) { run<CViewFileDlg>(path); }

void CQtFileViewers::runLogViewer(const std::string& path) { run<CDispayLoggedDataDlg>(path); }
