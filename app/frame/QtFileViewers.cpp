#include "app/frame/QtFileViewers.h"

#include "controls/QtFileDialog.h"
#include "controls/QtMessageBox.h"
#include "viewers/DispayLoggedDataDlg.h"
#include "viewers/FileLoadDlg.h"
#include "viewers/ViewFileDlg.h"

CQtFileViewers::CQtFileViewers(QWidget* parent, std::string appDirectory)
    : parent_(parent), appDirectory_(std::move(appDirectory))
{
}

template <typename Viewer> void CQtFileViewers::run(ViewerFile kind, const std::string& path)
{
    // The file is read on a worker while the window goes on; a cancelled reading opens nothing.
    std::optional<CViewerFileData> file = CFileLoadDlg::load(kind, path, parent_);
    if (!file)
        return;
    // Messages of the reading stand over the main window; later ones over the viewer.
    CQtMessageBox messages(QStringLiteral("Skyvane8u"), parent_);
    CQtFileDialog saveDialog(parent_);
    showHeldMessages(*file, messages);
    Viewer viewer({path, appDirectory_, messages, saveDialog, makeViewerOutputs()},
                  std::move(*file), parent_);
    messages.setParent(&viewer);
    saveDialog.setParent(&viewer);
    viewer.exec();
}

void CQtFileViewers::runRecordViewer(const std::string& path)
{
    run<CViewFileDlg>(ViewerFile::Record, path);
}

void CQtFileViewers::runLogViewer(const std::string& path)
{
    run<CDispayLoggedDataDlg>(ViewerFile::Log, path);
}
