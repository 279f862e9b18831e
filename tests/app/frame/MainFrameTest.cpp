// The main frame without an instrument: its bars and menus, the states of its commands, the
// link pane, exit, File > Open, and the Qt timer table that runs the protocol timers.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "app/frame/QueuedMessageBox.h"
#include "app/frame/QtFileViewers.h"
#include "controls/PaneMode.h"
#include "controls/QtFileDialog.h"
#include "tests/app/frame/FrameFixture.h"
#include "viewers/ViewerDialog.h"

namespace {

using Texts = std::vector<std::string>;

std::string text(const QString& value) { return value.toStdString(); }

Texts menuTexts(QMenu* menu)
{
    Texts texts;
    for (QAction* action : menu->actions())
        texts.push_back(action->isSeparator() ? "-" : text(action->text()));
    return texts;
}

TEST_F(FrameTest, ToolbarButtonsInOrderWithTheirTipsAndIds)
{
    struct Button {
        int id;
        const char* toolTip;
        const char* statusTip;
    };
    const Button expected[] = {
        {CMainFrame::kFileOpen, "Open", "Open an existing file"},
        {CMainFrame::kDisconnect, "Disconnect", "Disconnect"},
        {CMainFrame::kDatalogging, "Activate Datalogging", "Activate Datalogging"},
        {CMainFrame::kAutodetect, "VA7310 Autodetect", "VA7310 Autodetect"},
        {0, nullptr, nullptr}, // separator
        {CMainFrame::kAppAbout, "About", ""},
    };
    const QList<QAction*> actions = frame->toolBar().actions();
    ASSERT_EQ(actions.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        QAction* action = actions[static_cast<qsizetype>(i)];
        if (!expected[i].toolTip) {
            EXPECT_TRUE(action->isSeparator());
            continue;
        }
        EXPECT_EQ(action->data().toInt(), expected[i].id) << i;
        EXPECT_EQ(text(action->toolTip()), expected[i].toolTip) << i;
        EXPECT_EQ(text(action->statusTip()), expected[i].statusTip) << i;
        EXPECT_FALSE(action->icon().isNull()) << i;
    }
    EXPECT_EQ(frame->toolBarArea(&frame->toolBar()), Qt::TopToolBarArea);
}

TEST_F(FrameTest, MenusWithTheirItemsAndAccelerators)
{
    const QList<QAction*> menus = frame->menuBar()->actions();
    Texts titles;
    for (QAction* menu : menus)
        titles.push_back(text(menu->text()));
    EXPECT_EQ(titles, (Texts{"&File", "&Instrument", "&View", "Tools", "&?"}));
    EXPECT_EQ(menuTexts(menus[0]->menu()), (Texts{"&Open...\tCtrl+O", "&Esc"}));
    // Instrument also receives a remote station, below a separator.
    EXPECT_EQ(menuTexts(menus[1]->menu()),
              (Texts{"Disconnect", "DataLogger", "-", "Remote Station..."}));
    // View also opens the live graph, below a separator.
    EXPECT_EQ(menuTexts(menus[2]->menu()), (Texts{"ToolBar", "StatusBar", "-", "Live Graph"}));
    EXPECT_EQ(menuTexts(menus[3]->menu()), (Texts{"", "VA7310 Autodetect"}));
    EXPECT_EQ(menuTexts(menus[4]->menu()), (Texts{"Skyvane Infor&mations ..."}));

    EXPECT_EQ(frame->commandAction(CMainFrame::kFileOpen)->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(frame->commandAction(CMainFrame::kFileNew)->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(frame->commandAction(CMainFrame::kFilePrint)->shortcut(), QKeySequence("Ctrl+P"));

    // The View items show and hide the two bars.
    QAction* toolBarItem = menus[2]->menu()->actions()[0];
    QAction* statusBarItem = menus[2]->menu()->actions()[1];
    ASSERT_TRUE(toolBarItem->isCheckable() && statusBarItem->isCheckable());
    toolBarItem->trigger();
    statusBarItem->trigger();
    EXPECT_FALSE(frame->toolBar().isVisible());
    EXPECT_FALSE(frame->linkStatusBar().isVisible());
    toolBarItem->trigger();
    statusBarItem->trigger();
    EXPECT_TRUE(frame->toolBar().isVisible());
    EXPECT_TRUE(frame->linkStatusBar().isVisible());
}

TEST_F(FrameTest, StartsDisconnectedWithAutodetectOfferedAndDataloggingGrey)
{
    EXPECT_EQ(text(frame->windowTitle()), "Skyvane8u");
    EXPECT_EQ(app->mainFrame, frame.get());
    EXPECT_EQ(app->mainView, &frame->view());
    EXPECT_TRUE(actionEnabled(CMainFrame::kFileOpen));
    EXPECT_TRUE(actionEnabled(CMainFrame::kAutodetect));
    EXPECT_TRUE(actionEnabled(CMainFrame::kAppAbout));
    EXPECT_FALSE(actionEnabled(CMainFrame::kDisconnect));
    EXPECT_FALSE(actionEnabled(CMainFrame::kDatalogging));
    EXPECT_FALSE(actionEnabled(CMainFrame::kToolsBlank));

    XStatusBar& bar = frame->linkStatusBar();
    ASSERT_EQ(bar.paneCount(), 2);
    EXPECT_EQ(bar.paneId(1), CMainFrame::kLinkPaneId);
    EXPECT_EQ(bar.paneWidth(1), 200);
    EXPECT_EQ(bar.pane(1).mode(), 0x100001u);
    EXPECT_EQ(linkPane(), "Disconnected");
    EXPECT_EQ(bar.pane(1).text(false), "");
    EXPECT_EQ(bar.pane(1).backColor(true), QColor(255, 255, 0));
    EXPECT_EQ(bar.pane(1).backColor(false), QColor(128, 0, 0));
    EXPECT_FALSE(frame->timers().anyActive());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(FrameTest, ExitAsksAndClosesOnlyOnYes)
{
    messages.answer(false);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    messages.answer(true);
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(messages.texts(), (Texts{"Confirm Exit?", "Confirm Exit?"}));
    EXPECT_TRUE(messages.shown()[0].question);
    EXPECT_EQ(linkPane(), "Disconnected");
}

TEST_F(FrameTest, DeclinedAutodetectChangesNothing)
{
    messages.answer(false);
    frame->OnAutodetect();
    EXPECT_EQ(messages.shown(),
              (std::vector<ShownMessage>{
                  {"WARNING: Autodetect program will search the connected instrument.\nThis "
                   "program will required few seconds.\nConfirm proceeds ?",
                   MessageIcon::Exclamation, true}}));
    EXPECT_FALSE(frame->timers().anyActive());
    EXPECT_EQ(linkPane(), "Disconnected");
    EXPECT_TRUE(actionEnabled(CMainFrame::kAutodetect));
}

// A port that cannot be opened costs one message; a disconnect during the search ends it: no
// timer is left that could go on with it.
TEST_F(FrameTest, DisconnectDuringTheSearchEndsIt)
{
    writeFile(dir.file("dump.ivt"), "old line\r\r\n");
    startAutodetect(true);
    EXPECT_EQ(readFile(dir.file("dump.ivt")), "");
    ASSERT_EQ(messages.shown().size(), 3u);
    EXPECT_EQ(messages.shown()[1],
              (ShownMessage{"Do you want to delete recording file ?", MessageIcon::Question, true}));
    EXPECT_EQ(messages.shown()[2],
              (ShownMessage{"ERROR: Unable to open COM1.", MessageIcon::Stop, false}));
    EXPECT_EQ(linkPane(), "Looking for.. COM1 9600 8,N,1");
    EXPECT_TRUE(frame->timers().isActive(0));
    EXPECT_FALSE(actionEnabled(CMainFrame::kAutodetect));
    EXPECT_TRUE(actionEnabled(CMainFrame::kDisconnect));

    disconnect();
    EXPECT_EQ(messages.shown().back(),
              (ShownMessage{"Confirm disconnection ?", MessageIcon::Information, true}));
    EXPECT_FALSE(frame->timers().anyActive());
    EXPECT_EQ(linkPane(), "Disconnected");
    EXPECT_TRUE(actionEnabled(CMainFrame::kAutodetect));
    EXPECT_FALSE(actionEnabled(CMainFrame::kDisconnect));
    EXPECT_FALSE(frame->view().comPort().isOpen());
}

TEST_F(FrameTest, OpenChoosesTheViewerByTheExactExtension)
{
    fileDialog->answers = {"/data/dump.ivt", "/data/day.lvt", "/data/DUMP.IVT", "/data/a.txt", ""};
    for (int i = 0; i < 5; ++i)
        frame->commandAction(CMainFrame::kFileOpen)->trigger();
    EXPECT_EQ(viewers.runs, (Texts{"record /data/dump.ivt", "log /data/day.lvt"}));
    ASSERT_EQ(fileDialog->requests.size(), 5u);
    const CFileDialogRequest& request = fileDialog->requests[0];
    EXPECT_EQ(request.initialDirectory, dir.directory());
    EXPECT_EQ(request.defaultExtension, "ivt");
    EXPECT_EQ(request.defaultName, "Ventora");
    EXPECT_EQ(request.filter, kOpenFileFilter);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(FrameTest, OpenRunsTheViewerModallyAndDestroysItWhenItCloses)
{
    writeFile(dir.file("dump.ivt"),
              "2026/03/14 10:20:30#    2.85   220.5  1013.0    6.32    69.9   2.509    1.85"
              "    2.17   -0.12    2.85    -0.4  340.10    6.10\r\r\n");
    writeFile(dir.file("day.lvt"), "DATE-TIME: 2026/05/02 10:00:00\r\r\n    2.85   220.5\r\r\n");
    CQtFileViewers realViewers(frame.get(), dir.directory());
    frame->setFileViewers(&realViewers);
    fileDialog->answers = {dir.file("dump.ivt"), dir.file("day.lvt"), dir.file("DUMP.IVT")};
    std::vector<std::string> seen;
    std::vector<QPointer<QDialog>> closed;
    // The file is read off the window thread first; the viewer is closed once it is the modal
    // window, however long the reading took.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* viewer = qobject_cast<CViewerDialog*>(QApplication::activeModalWidget());
        if (viewer == nullptr)
            return;
        closed.emplace_back(viewer);
        seen.push_back(viewer->metaObject()->className());
        // Shown over the main window, with the file's row in its table and a graph.
        EXPECT_TRUE(viewer->isVisible());
        EXPECT_EQ(viewer->parentWidget(), frame.get());
        EXPECT_EQ(viewer->table().model()->rowCount(), 1);
        EXPECT_NE(viewer->graph(), nullptr);
        viewer->reject();
    });
    closer.start(5);
    for (int i = 0; i < 2; ++i)
        frame->commandAction(CMainFrame::kFileOpen)->trigger();
    frame->commandAction(CMainFrame::kFileOpen)->trigger(); // upper case: no viewer runs
    closer.stop();
    EXPECT_EQ(seen, (Texts{"CViewFileDlg", "CDispayLoggedDataDlg"}));
    for (const QPointer<QDialog>& viewer : closed)
        EXPECT_TRUE(viewer.isNull());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(messages.shown().empty());
    frame->setFileViewers(&viewers);
}

TEST(QtFileDialog, EachChoiceShowsItsDescriptionAndMatchesItsPatterns)
{
    const CFileDialogRequest request = openFileRequest("/tmp/");
    EXPECT_EQ(CQtFileDialog::nameFilters(request),
              (QStringList{"Ventora files (*.ivt;*.lvt) (*.ivt *.lvt)",
                           "Instrument Ventora files (*.ivt;) (*.ivt)",
                           "Logger Ventora files (*.lvt;) (*.lvt)"}));
}

TEST_F(FrameTest, AboutBoxOpensAndCloses)
{
    bool shown = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown = dialog->windowTitle() == "About Skyvane8u";
            dialog->accept();
        }
    });
    frame->commandAction(CMainFrame::kAppAbout)->trigger();
    EXPECT_TRUE(shown);
}

TEST_F(FrameTest, NewDocumentLaysTheEmptyTableOutAgainWhileDisconnected)
{
    frame->view().SetupColumns(1);
    ASSERT_EQ(columns(), 14);
    frame->commandAction(CMainFrame::kFileNew)->trigger();
    EXPECT_EQ(columns(), 2);
}

// The recording writer's failure, told inside the reply handler, shows once the handler has
// returned, so the box never holds the handler while lines arrive; a failure told while one
// waits or shows is dropped. Questions are asked at once.
TEST(QueuedMessageBox, ShowsAfterTheHandlerOneAtATime)
{
    CScriptedMessageBox boxes;
    CQueuedMessageBox queued(boxes);
    boxes.whileShown([&] { queued.tell("told while shown", MessageIcon::Stop); });
    queued.tell(kRecordingFileError, MessageIcon::Stop);
    queued.tell("told while waiting", MessageIcon::Stop);
    EXPECT_TRUE(boxes.shown().empty()) << "not inside the handler";
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.shown(), (std::vector<ShownMessage>{
                                 {std::string(kRecordingFileError), MessageIcon::Stop, false}}));
    boxes.whileShown(nullptr);
    queued.tell("next failure", MessageIcon::Stop);
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.texts().back(), "next failure");
    boxes.answer(true);
    EXPECT_TRUE(queued.askYesNo("Confirm Exit?", MessageIcon::Question));
    EXPECT_EQ(boxes.shown().size(), 3u);
}

TEST(QtTimerTable, TimersRepeatRestartAndStopByEngineId)
{
    std::vector<int> fired;
    CQtTimerTable timers([&](int id) {
        fired.push_back(id);
        if (id == 6)
            timers.killTimer(6); // a handler may stop its own timer
    });
    timers.setTimer(0, 5);
    timers.setTimer(6, 5);
    EXPECT_EQ(timers.period(0), 5);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return std::count(fired.begin(), fired.end(), 0) >= 3; }, 5000));
    EXPECT_EQ(std::count(fired.begin(), fired.end(), 6), 1);
    EXPECT_FALSE(timers.isActive(6));

    timers.setTimer(0, 60000); // restarting replaces the period
    EXPECT_EQ(timers.period(0), 60000);
    const auto before = fired.size();
    QTest::qWait(50);
    EXPECT_EQ(fired.size(), before);
    timers.killTimer(0);
    timers.killTimer(7); // not running: nothing happens
    EXPECT_FALSE(timers.anyActive());
    EXPECT_EQ(timers.period(0), 0);
}

} // namespace
