#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <cstdlib>
#include <filesystem>

#include "export/ExcelExport.h"
#include "export/SelExcelInterval.h"
#include "export/WaitExportingToExcelDlg.h"
#include "tests/export/ExportTables.h"
#include "tests/export/WorkbookReader.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"

// Stands in for the desktop: records the files the export asks it to open.
class COpenedFiles : public QObject {
    Q_OBJECT
public:
    std::vector<std::string> paths;
    std::vector<std::string> names; // the file-system bytes of each path

public slots:
    void open(const QUrl& url)
    {
        paths.push_back(url.toLocalFile().toStdString());
        names.push_back(
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString());
    }
};

namespace {

class CScriptedApps final : public ISpreadsheetApps {
public:
    bool installed = true;
    int asked = 0;
    bool canOpenWorkbooks() override
    {
        ++asked;
        return installed;
    }
};

const std::string kIntervalMessage =
    "Excel process max no. 30000 datas.\nPlease select an interval to export";

// What the interval dialog showed, and how it was answered.
struct IntervalDialogSeen {
    bool shown = false;
    bool okEnabledBeforeSelection = true;
    bool okEnabledAfterSelection = false;
    std::vector<std::string> labels, starts;
};

// Answers the next interval dialog: selects the interval and presses OK, or Cancel for -1.
void answerIntervalDialog(QObject* context, int interval, IntervalDialogSeen& seen)
{
    QTimer::singleShot(0, context, [interval, &seen] {
        auto* dialog = qobject_cast<CSelExcelInterval*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen.shown = true;
        QAbstractItemModel* model = dialog->intervalList()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            seen.labels.push_back(model->index(row, 0).data().toString().toStdString());
            seen.starts.push_back(model->index(row, 1).data().toString().toStdString());
        }
        seen.okEnabledBeforeSelection = dialog->okButton()->isEnabled();
        if (interval < 0) {
            dialog->reject();
            return;
        }
        dialog->intervalList()->selectRow(interval);
        seen.okEnabledAfterSelection = dialog->okButton()->isEnabled();
        dialog->okButton()->click();
    });
}

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files.push_back(entry.path());
    return files;
}

class ExcelExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("TMPDIR", dir.path().c_str(), 1);
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        ::unsetenv("TMPDIR");
    }

    TempDir dir;
    COpenedFiles opened;
    CScriptedMessageBox messages;
    CScriptedApps apps;
    QWidget viewer;
};

} // namespace

TEST_F(ExcelExportTest, ExportsTheWholeTableOrTheChosenIntervalAndOpensIt)
{
    struct Case {
        const char* what;
        std::size_t rows;
        bool installed;
        int interval; // answer of the interval dialog: its index, -1 for Cancel
        std::vector<ShownMessage> messages;
        std::size_t intervalsShown; // 0: no dialog
        bool opened;
        std::size_t first, count; // rows in the workbook
    };
    const ShownMessage intervalMessage{kIntervalMessage, MessageIcon::Information, false};
    const Case cases[] = {
        {"empty table",
         0,
         true,
         -1,
         {{"No data to export", MessageIcon::Information, false}},
         0,
         false,
         0,
         0},
        {"no spreadsheet program",
         5,
         false,
         -1,
         {{"ERROR: Excel application not installed.", MessageIcon::Stop, false}},
         0,
         false,
         0,
         0},
        {"30000 rows in one go", 30000, true, -1, {}, 0, true, 0, 30000},
        {"30001 rows, second interval", 30001, true, 1, {intervalMessage}, 2, true, 30000, 1},
        {"65000 rows, third interval", 65000, true, 2, {intervalMessage}, 3, true, 60000, 5000},
        {"30001 rows, cancelled", 30001, true, -1, {intervalMessage}, 2, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CDataTable table = generatedTable(c.rows);
        messages.clear();
        opened.paths.clear();
        apps.installed = c.installed;
        apps.asked = 0;
        IntervalDialogSeen seen;
        answerIntervalDialog(&viewer, c.interval, seen);

        CExcelExport exporter(messages, apps);
        exporter.exportTable(&viewer, table, recordTitles());
        QCoreApplication::processEvents(); // the answer timer of a case without dialog

        EXPECT_EQ(messages.shown(), c.messages);
        EXPECT_EQ(apps.asked, c.rows == 0 ? 0 : 1);
        EXPECT_EQ(seen.shown, c.intervalsShown != 0);
        if (c.intervalsShown != 0) {
            ASSERT_EQ(seen.labels.size(), c.intervalsShown);
            for (std::size_t i = 0; i < c.intervalsShown; ++i) {
                EXPECT_EQ(seen.labels[i], "Interval  " + std::to_string(i + 1));
                EXPECT_EQ(seen.starts[i], generatedDateTime(i * 30000));
            }
            EXPECT_FALSE(seen.okEnabledBeforeSelection);
            EXPECT_EQ(seen.okEnabledAfterSelection, c.interval >= 0);
        }
        if (!c.opened) {
            EXPECT_TRUE(opened.paths.empty());
            EXPECT_TRUE(filesIn(dir.path()).empty()) << "nothing is left in the temporary folder";
            continue;
        }
        ASSERT_EQ(opened.paths.size(), 1u);
        EXPECT_EQ(filesIn(dir.path()), std::vector<std::filesystem::path>{opened.paths[0]});
        std::vector<ReadSheet> sheets = readWorkbook(opened.paths[0], 1, 3);
        ASSERT_EQ(sheets.size(), 1u);
        const ReadSheet& sheet = sheets[0];
        EXPECT_EQ(sheet.lastRow, 2 + c.count);
        EXPECT_EQ(sheet.lastColumn, 15u);
        EXPECT_EQ(sheet.text("A1") + sheet.text("B1") + sheet.text("C1"), "DATETIMESoW");
        EXPECT_EQ(sheet.text("A3") + " " + sheet.text("B3"), generatedDateTime(c.first));
        EXPECT_EQ(sheet.number("C3"), generatedValue(c.first, 0));
        EXPECT_EQ(sheet.number("O3"), generatedValue(c.first, 12));
        std::filesystem::remove(opened.paths[0]);
    }
}

TEST_F(ExcelExportTest, AWorkbookThatCannotBeWrittenIsReportedAndNotOpened)
{
    ::setenv("TMPDIR", (dir.path() / "missing").c_str(), 1);
    CExcelExport exporter(messages, apps);
    exporter.exportTable(&viewer, generatedTable(10), recordTitles());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text.rfind("ERROR: Unable to write the export workbook: ", 0),
              0u);
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Stop);
    EXPECT_TRUE(opened.paths.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor is restored";
}

// A temporary folder whose name is not UTF-8 (Latin-1 bytes): the workbook written there is the
// one the desktop is asked to open.
TEST_F(ExcelExportTest, AFolderNameInAnyEncodingReachesTheDesktop)
{
    const std::string folder = dir.file("caf\xe9");
    std::filesystem::create_directory(folder);
    ::setenv("TMPDIR", folder.c_str(), 1);
    CExcelExport exporter(messages, apps);
    exporter.exportTable(&viewer, generatedTable(10), recordTitles());
    EXPECT_TRUE(messages.shown().empty());
    ASSERT_EQ(opened.names.size(), 1u);
    EXPECT_EQ(opened.names[0].rfind(folder + "/Ventora-export-", 0), 0u) << opened.names[0];
    EXPECT_TRUE(std::filesystem::is_regular_file(opened.names[0]));
}

TEST_F(ExcelExportTest, TheNoticeWindowIsCreatedOnceAndStaysOpen)
{
    CExcelExport exporter(messages, apps);
    EXPECT_EQ(exporter.noticeWindow(), nullptr);
    exporter.exportTable(&viewer, generatedTable(3), recordTitles());
    CWaitExportingToExcelDlg* notice = exporter.noticeWindow();
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_FALSE(notice->isModal());
    EXPECT_EQ(notice->windowTitle(), "Export to excel");
    EXPECT_EQ(notice->findChild<QLabel*>()->text(),
              "Exporting operation could take some minutes: \nplease wait....");

    notice->findChild<QPushButton*>()->click();
    EXPECT_FALSE(notice->isVisible());
    exporter.exportTable(&viewer, generatedTable(3), recordTitles());
    EXPECT_EQ(exporter.noticeWindow(), notice);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(opened.paths.size(), 2u);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Windows repaint while the rows are written; a viewer closed then would free the table under
// the writer, so it stays open until the export is done.
TEST_F(ExcelExportTest, TheViewerDoesNotCloseWhileItsRowsAreWritten)
{
    viewer.show();
    bool closed = true;
    QTimer::singleShot(0, &viewer, [&] { closed = viewer.close(); });
    CExcelExport exporter(messages, apps);
    exporter.exportTable(&viewer, generatedTable(2000), recordTitles());
    EXPECT_FALSE(closed);
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(opened.paths.size(), 1u);
    EXPECT_TRUE(viewer.close());
}

TEST(SelExcelInterval, NoRowsAreChosenWithoutASelectionOrOnCancel)
{
    CDataTable table = generatedTable(30001);
    CSelExcelInterval dialog(table);
    EXPECT_EQ(dialog.windowTitle(), "Select interval to Export");
    QAbstractItemModel* model = dialog.intervalList()->model();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "Interval ");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Interval Start Date-Time");

    dialog.accept(); // Enter without a selection
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.startRow(), -1);
    dialog.intervalList()->selectRow(0);
    dialog.reject();
    EXPECT_EQ(dialog.startRow(), -1);
    EXPECT_EQ(dialog.endRow(), -1);

    // A double click chooses the interval at once.
    CSelExcelInterval again(table);
    emit again.intervalList()->doubleClicked(again.intervalList()->model()->index(1, 0));
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(again.startRow(), 30000);
    EXPECT_EQ(again.endRow(), 30001);
}

#include "ExcelExportTest.moc"
