#include "export/ExcelExport.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEvent>
#include <QUrl>
#include <cstdio>
#include <optional>

#include "controls/QtMessageBox.h"
#include "controls/WaitCursor.h"
#include "export/SelExcelInterval.h"
#include "export/WaitExportingToExcelDlg.h"
#include "export/WorkbookWriter.h"
#include "export/XdgSpreadsheetApps.h"

namespace {

constexpr int kRepaintMilliseconds = 50;

// While the workbook is written, windows repaint but no window closes: the table being written
// belongs to a viewer, and closing it would free the rows under the writer.
class CCloseGuard final : public QObject {
public:
    CCloseGuard() { qApp->installEventFilter(this); }
    ~CCloseGuard() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Close)
            return false;
        event->ignore();
        return true;
    }
};

} // namespace

CExcelExport::CExcelExport()
    : ownMessages_(std::make_unique<CQtMessageBox>(QStringLiteral("Skyvane8u"))),
      ownApps_(std::make_unique<CXdgSpreadsheetApps>()), messages_(*ownMessages_), apps_(*ownApps_)
{
}

CExcelExport::CExcelExport(IMessageBox& messages, ISpreadsheetApps& apps)
    : messages_(messages), apps_(apps)
{
}

CExcelExport::~CExcelExport() = default;

CWaitExportingToExcelDlg* CExcelExport::noticeWindow() const { return notice_; }

void CExcelExport::exportTable(QWidget* viewer, const CDataTable& table,
                               const std::vector<std::string>& columnTitles)
{
    if (ownMessages_)
        ownMessages_->setParent(viewer);
    if (table.rowCount() == 0) {
        messages_.tell("No data to export", MessageIcon::Information);
        return;
    }
    std::optional<CWaitCursor> wait(std::in_place);
    bool installed = apps_.canOpenWorkbooks();
    wait.reset(); // message boxes and the interval dialog get the normal cursor
    if (!installed) {
        messages_.tell("ERROR: Excel application not installed.", MessageIcon::Stop);
        return;
    }

    ExportRange range{0, table.rowCount()};
    if (table.rowCount() > kExportMaxRows) {
        messages_.tell("Excel process max no. 30000 datas.\nPlease select an interval to export",
                       MessageIcon::Information);
        CSelExcelInterval dialog(table, viewer);
        if (dialog.exec() != QDialog::Accepted)
            return;
        range.first = static_cast<std::size_t>(dialog.startRow());
        range.count = static_cast<std::size_t>(dialog.endRow() - dialog.startRow());
    }

    wait.emplace();
    showNotice(viewer);
    std::string path;
    int result = createTemporaryWorkbook(path);
    if (result == 0)
        result = writeWorkbook(path, table, columnTitles, range);
    wait.reset();
    if (result != 0) {
        if (!path.empty())
            std::remove(path.c_str()); // the file createTemporaryWorkbook made
        messages_.tell("ERROR: Unable to write the export workbook: " + workbookErrorText(result) +
                           ".",
                       MessageIcon::Stop);
        return;
    }
    // The workbook is the user's from here on; it stays where it is when no program opens it.
    // The path is file-system bytes ($TMPDIR need not be UTF-8): they travel percent-encoded,
    // so the desktop gets exactly these bytes back whatever they are.
    const QUrl url = QUrl::fromEncoded(
        "file://" + QByteArray::fromStdString(path).toPercentEncoding("/"), QUrl::StrictMode);
    if (!QDesktopServices::openUrl(url))
        messages_.tell("ERROR: Unable to open the exported workbook\n" + path, MessageIcon::Stop);
}

void CExcelExport::showNotice(QWidget* viewer)
{
    if (!notice_)
        notice_ = new CWaitExportingToExcelDlg(viewer);
    notice_->show();
    notice_->raise();
}

int CExcelExport::writeWorkbook(const std::string& path, const CDataTable& table,
                                const std::vector<std::string>& columnTitles, ExportRange range)
{
    CCloseGuard guard;
    // Paint the notice before the first row and keep the windows painted while rows are
    // written; user input waits until the export is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    auto progress = [&sinceRepaint](std::size_t) {
        if (sinceRepaint.elapsed() >= kRepaintMilliseconds) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            sinceRepaint.restart();
        }
    };
    return writeExportWorkbook(path, table, columnTitles, range, progress);
}
