#pragma once
// IFileViewers with the real viewers: the file is read off the window thread (CFileLoadDlg),
// then its viewer runs modally over the main window, with its own message boxes and save
// dialog, and is destroyed when it closes.

#include <QPointer>
#include <QWidget>
#include <string>

#include "app/frame/FileOpen.h"
#include "viewers/SaveAs.h"

class CQtFileViewers final : public IFileViewers {
public:
    CQtFileViewers(QWidget* parent, std::string appDirectory);

    void runRecordViewer(const std::string& path) override;
    void runLogViewer(const std::string& path) override;

private:
    template <typename Viewer> void run(ViewerFile kind, const std::string& path);

    QPointer<QWidget> parent_;
    std::string appDirectory_;
};
