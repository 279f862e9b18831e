#include "viewers/FileLoadDlg.h"

#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <future>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

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
    std::promise<std::shared_ptr<CViewerFileData>> done;
    std::future<std::shared_ptr<CViewerFileData>> result = done.get_future();
    std::thread worker([&window, &loop, &done, kind, path] {
        // The reading (and the threads it starts, which inherit this) yields to the window
        // thread and the serial reader: a file opening never starves the live link.
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), kReadingNice);
        done.set_value(
            std::make_shared<CViewerFileData>(readViewerFile(kind, path, &window.control_)));
        // Wakes the waiting loop on the window thread (dropped with the loop if nobody waits).
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    auto ready = [&result] {
        return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    };
    CWaitCursor wait;
    // A small file is read before anything needs to run on the window thread.
    if (result.wait_for(std::chrono::milliseconds(kQuickMs)) != std::future_status::ready) {
        // A moment in which only the program's own events run (user input waits for later)...
        QTimer::singleShot(kShowAfterMs - kQuickMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        // ... then the window, until the reading hands its result over, finished or stopped.
        if (!ready()) {
            window.show();
            window.ticker_->start();
            loop.exec();
            window.hide();
        }
    }
    worker.join();
    std::shared_ptr<CViewerFileData> data = result.get();
    if (data->cancelled)
        return std::nullopt;
    return std::move(*data);
}
