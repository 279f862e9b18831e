#pragma once
// Reading a viewer's file without holding up the window: readViewerFile() runs on a worker
// thread and hands its result back by value through a queued call, while the event loop goes
// on (the windows repaint, the live link keeps recording). A file read within kQuickMs needs
// no event loop at all; a reading that takes more than a moment shows this small modal window,
// with the progress and Cancel, which asks the reading to stop; before that, user input waits.

#include <QDialog>
#include <optional>

#include "files/LoadControl.h"
#include "viewers/ViewerFileData.h"

class QProgressBar;
class QTimer;

class CFileLoadDlg : public QDialog {
    Q_OBJECT
public:
    // The file as read, or nothing when the user cancelled the reading.
    static std::optional<CViewerFileData> load(ViewerFile kind, const std::string& path,
                                               QWidget* parent);

    // How long the window thread simply waits, and how long a reading may take before the
    // window shows.
    static constexpr int kQuickMs = 50;
    static constexpr int kShowAfterMs = 300;
    // The niceness of the reading threads.
    static constexpr int kReadingNice = 10;

protected:
    void reject() override; // Cancel, Escape and closing the window

private:
    CFileLoadDlg(const std::string& path, QWidget* parent);

    CLoadControl control_;
    QProgressBar* progress_ = nullptr;
    QTimer* ticker_ = nullptr;
};
