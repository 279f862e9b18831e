#include "viewers/FileLoadDlg.h"

#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <thread>

#include "controls/WaitCursor.h"

CFileLoadDlg::CFileLoadDlg(const std::string& path, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Skyvane8u"));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Opening %1 ...").arg(QFileInfo(QFile::decodeName(path.c_str())).fileName()),
        this));
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 1000);
    progress_->setMinimumWidth(320);
    layout->addWidget(progress_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &CFileLoadDlg::reject);
    layout->addWidget(buttons);
    // The bar follows the reading's progress, read from the control while the window shows.
    ticker_ = new QTimer(this);
    ticker_->setInterval(100);
    connect(ticker_, &QTimer::timeout, this,
            [this] { progress_->setValue(static_cast<int>(control_.fraction() * 1000)); });
}

void CFileLoadDlg::reject()
{
    control_.abort(); // the reading stops at its next look at the flag and reports back
}

std::optional<CViewerFileData> CFileLoadDlg::load(ViewerFile kind, const std::string& path,
                                                  QWidget* parent)
{
    CFileLoadDlg window(path, parent);
    QEventLoop loop;
    std::shared_ptr<CViewerFileData> result; // set on the window thread, where the loop runs
    std::thread worker([&window, &loop, &result, kind, path] {
        auto data = std::make_shared<CViewerFileData>(readViewerFile(kind, path, &window.control_));
        QMetaObject::invokeMethod(
            &loop,
            [&loop, &result, data] {
                result = data;
                loop.quit();
            },
            Qt::QueuedConnection);
    });
    {
        // A moment in which only the program's own events run (user input waits for later):
        // a file read by then shows no window.
        CWaitCursor wait;
        QTimer::singleShot(kShowAfterMs, &loop, [&loop] { loop.quit(); });
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!result) {
        window.show();
        window.ticker_->start();
        loop.exec(); // until the reading hands its result over, finished or stopped
        window.hide();
    }
    // The worker posted its result before the loop could end: it has nothing left to do.
    worker.join();
    if (result->cancelled)
        return std::nullopt;
    return std::move(*result);
}
