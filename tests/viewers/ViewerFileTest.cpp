// A viewer's file read apart from the window (held messages, a stopped reading, the wait
// window's hand-over) and a record file cut shorter while its viewer shows it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <functional>
#include <unistd.h>

#include "chart/GraphWnd.h"
#include "files/RecordStore.h"
#include "tests/support/ScriptedFileDialog.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"
#include "viewers/FileLoadDlg.h"
#include "viewers/ViewFileDlg.h"

namespace {

using Texts = std::vector<std::string>;

std::string recordLines(int rows)
{
    std::string content;
    for (int r = 0; r < rows; ++r)
        content += "2026/03/14 10:00:00#    " + std::to_string(1000 + r % 9000) +
                   "   180.0  1013.2    21.3    45.0     2.5     1.0    -1.0     0.1     1.4"
                   "     2.3   340.1    21.0\r\r\n";
    return content;
}

Texts texts(const std::vector<CHeldMessage>& held)
{
    Texts result;
    for (const CHeldMessage& message : held)
        result.push_back(message.text);
    return result;
}

} // namespace

TEST(ViewerFile, ReadingApartHoldsTheMessagesAndHonoursAStop)
{
    TempDir dir;
    writeFile(dir.file("day.ivt"), recordLines(20));
    writeFile(dir.file("day.lvt"), "DATE-TIME: 2026/05/02 00:00:00\r\r\n    1.00    2.00\r\r\n");
    const std::string recordError = "ERROR: Unable to open selected file";
    const std::string logError = "ERROR: unable to open LogInstr file.";
    const struct {
        ViewerFile kind;
        std::string path;
        bool stopped;
        bool read, cancelled;
        std::size_t rows;
        Texts messages;
    } cases[] = {
        {ViewerFile::Record, dir.file("day.ivt"), false, true, false, 20, {}},
        {ViewerFile::Log, dir.file("day.lvt"), false, true, false, 1, {}},
        {ViewerFile::Record, dir.file("no.ivt"), false, false, false, 0, {recordError}},
        {ViewerFile::Log, dir.file("no.lvt"), false, false, false, 0, {logError, logError}},
        {ViewerFile::Record, dir.file("day.ivt"), true, false, true, 0, {}},
        {ViewerFile::Log, dir.file("day.lvt"), true, false, true, 0, {}},
    };
    for (const auto& c : cases) {
        CLoadControl control;
        if (c.stopped)
            control.abort();
        const CViewerFileData data = readViewerFile(c.kind, c.path, &control);
        EXPECT_EQ(data.read, c.read) << c.path;
        EXPECT_EQ(data.cancelled, c.cancelled) << c.path;
        EXPECT_EQ(data.rows.rowCount(), c.rows) << c.path;
        EXPECT_EQ(texts(data.messages), c.messages) << c.path;
        // Record files come with the values their graph reads.
        if (c.kind == ViewerFile::Record && c.read) {
            EXPECT_TRUE(data.rows.store() && data.rows.store()->hasValues());
        }
    }

    // The wait window hands over what the worker read, and the viewer shows it.
    std::optional<CViewerFileData> loaded =
        CFileLoadDlg::load(ViewerFile::Record, dir.file("day.ivt"), nullptr);
    ASSERT_TRUE(loaded);
    CScriptedMessageBox messages;
    CScriptedFileDialog files;
    CViewFileDlg viewer({dir.file("day.ivt"), dir.directory(), messages, files, nullptr},
                        std::move(*loaded));
    EXPECT_EQ(viewer.table().model()->rowCount(), 20);
    ASSERT_NE(viewer.graph(), nullptr);
    EXPECT_EQ(viewer.graph()->getSeries(1)->points().count(), 20);
}

// The file is cut to nothing while shown: what reads it next meets the missing end, which shows
// the open-failure message once and empties the viewer; nothing crashes.
TEST(ViewerFile, AFileCutWhileShownGivesTheOpenFailureMessage)
{
    const struct {
        const char* name;
        std::function<void(CViewFileDlg&)> act;
    } cases[] = {
        {"Copy Table", [](CViewFileDlg& viewer) { viewer.OnCopyTable(); }},
        {"painting the table",
         [](CViewFileDlg& viewer) {
             viewer.table().verticalScrollBar()->setValue(
                 viewer.table().verticalScrollBar()->maximum());
             viewer.table().viewport()->repaint();
             QApplication::processEvents(); // the viewer hears of it after the paint
         }},
    };
    for (const auto& c : cases) {
        TempDir dir;
        writeFile(dir.file("dump.ivt"), recordLines(20000));
        CScriptedMessageBox messages;
        CScriptedFileDialog files;
        CViewFileDlg viewer({dir.file("dump.ivt"), dir.directory(), messages, files, nullptr});
        viewer.resize(900, 600);
        viewer.show();
        QApplication::processEvents();
        ASSERT_EQ(viewer.table().model()->rowCount(), 20000) << c.name;
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));

        ASSERT_EQ(::truncate(dir.file("dump.ivt").c_str(), 0), 0);
        c.act(viewer);
        EXPECT_EQ(messages.texts(), Texts{"ERROR: Unable to open selected file"}) << c.name;
        EXPECT_EQ(viewer.table().model()->rowCount(), 0) << c.name;
        EXPECT_EQ(viewer.graph()->getSeries(1)->points().count(), 0) << c.name;
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "before") << c.name;
        viewer.OnCopyTable(); // told once
        EXPECT_EQ(messages.texts().size(), 1u) << c.name;
    }
}
