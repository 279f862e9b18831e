#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollBar>

#include "app/VentoraApp.h"
#include "app/view/VentoraView.h"
#include "controls/AnsiText.h"
#include "controls/HeaderCtrlEx.h"
#include "tests/serial/PtyPair.h"
#include "tests/support/ScriptedMessageBox.h"

namespace {

class FakeLink : public IDialogueLink {
public:
    std::string lineType() const override { return line; }
    bool dialogue() const override { return open; }
    void requestDialogue() override { ++requests; }

    std::string line;
    bool open = false;
    int requests = 0;
};


// Sends a key press to the view the way the window system delivers it.
void press(QWidget& target, int key, const QString& text = {})
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&target, &event);
}

std::string data(int seed)
{
    std::string text;
    for (int k = 1; k <= 13; ++k) {
        std::string field = std::to_string(seed * 100 + k);
        field.resize(8, ' ');
        text += field;
    }
    return text;
}

std::string headerTitle(const CVentoraView& view, int column)
{
    return toAnsi(view.tableModel().headerData(column, Qt::Horizontal).toString());
}

} // namespace

TEST(CVentoraView, FirstDisplayShowsTheInitialLayout)
{
    CScriptedMessageBox messages;
    auto app = std::make_unique<CVentoraApp>(messages);
    auto view = std::make_unique<CVentoraView>();
    EXPECT_EQ(app->mainView, view.get());

    ASSERT_EQ(view->tableModel().columnCount(), 2);
    EXPECT_EQ(headerTitle(*view, 0), "Time\n..Date");
    EXPECT_EQ(headerTitle(*view, 1), "");
    EXPECT_EQ(view->list().horizontalHeader()->sectionSize(0), 65);
    EXPECT_EQ(view->list().horizontalHeader()->sectionSize(1), 70);
    EXPECT_TRUE(view->list().headerEx()->isOwnerDrawn(0));
    EXPECT_TRUE(view->list().headerEx()->isOwnerDrawn(1));
    EXPECT_EQ(view->list().headerFont().family(), "MS Serif");
    EXPECT_FALSE(view->list().isEnabled());
    EXPECT_EQ(view->list().extendedStyle(), 0x20u | 0x40u | 0x800u);
    EXPECT_EQ(view->ledState(), led::kGrey);
    EXPECT_EQ(view->led().colour(), led::kRed);
    EXPECT_FALSE(view->recIndicator());
    EXPECT_FALSE(view->isRecording());
    // The form: table at the top, "REC" and the LED below it.
    EXPECT_EQ(view->list().geometry(), QRect(0, 0, 1023, 377));
    EXPECT_EQ(view->recLabel().geometry(), QRect(7, 396, 36, 22));
    EXPECT_EQ(view->led().geometry(), QRect(45, 401, 16, 16));

    view.reset();
    EXPECT_EQ(app->mainView, nullptr);
}

TEST(CVentoraView, FirstShowShrinksTheWindowToTheFormButNeverEnlargesIt)
{
    const QSize form = CVentoraView::dialogUnitsToPixels(QRect(0, 0, 685, 321)).size();
    {
        QMainWindow big;
        auto* view = new CVentoraView;
        big.setCentralWidget(view);
        big.resize(form.width() + 300, form.height() + 200);
        big.show();
        EXPECT_EQ(view->size(), form);
        EXPECT_LT(big.width(), form.width() + 300);
    }
    {
        QMainWindow small;
        auto* view = new CVentoraView;
        small.setCentralWidget(view);
        small.setMinimumSize(100, 100);
        small.resize(500, 300);
        small.show();
        EXPECT_EQ(small.size(), QSize(500, 300));
        // Resizing moves none of the form's controls.
        EXPECT_EQ(view->list().geometry(), QRect(0, 0, 1023, 377));
    }
}

TEST(CVentoraView, LayoutsAfterIdentificationAndInTheSetupMenu)
{
    CVentoraView view;
    Unit::instance().setSpeedUnit("knots");
    view.SetupColumns(kLayoutData);
    Unit::instance().reset();

    ASSERT_EQ(view.tableModel().columnCount(), 14);
    for (int column : {1, 7, 8, 9, 10, 12})
        EXPECT_EQ(headerTitle(view, column).substr(headerTitle(view, column).find('\n')),
                  "\nknots");
    EXPECT_EQ(view.tableModel().headerData(2, Qt::Horizontal).toString(),
              QString::fromUtf8("Azimuth\n\u00B0"));
    EXPECT_EQ(headerTitle(view, 13), "T.Sonic\n\xB0"
                                     "C");
    for (int column = 0; column < 14; ++column) {
        EXPECT_EQ(view.list().horizontalHeader()->sectionSize(column), column ? 70 : 65);
        EXPECT_TRUE(view.list().headerEx()->isOwnerDrawn(column));
    }
    EXPECT_EQ(view.ledState(), led::kLit);
    EXPECT_TRUE(view.recIndicator());
    EXPECT_TRUE(view.isRecording());

    const int row = view.appendDataRow("12:00:01 2026/12/07", data(1));
    view.SetupMenuColumns();
    ASSERT_EQ(view.tableModel().columnCount(), 1);
    EXPECT_EQ(headerTitle(view, 0), "Setup");
    EXPECT_EQ(view.list().horizontalHeader()->sectionSize(0), 500);
    EXPECT_FALSE(view.list().headerEx()->isOwnerDrawn(0));
    EXPECT_EQ(view.ledState(), led::kGrey);
    EXPECT_FALSE(view.recIndicator());
    EXPECT_TRUE(view.isRecording());                         // unchanged by the set-up layout
    EXPECT_EQ(view.cellText(row, 0), "12:00:01 2026/12/07"); // rows stay

    view.deleteAllRows();
    view.SetupColumns(kLayoutAfterMenu);
    EXPECT_EQ(view.tableModel().columnCount(), 2);
    EXPECT_EQ(view.rowCount(), 0);
    EXPECT_FALSE(view.isRecording());
    EXPECT_EQ(view.ledState(), led::kGrey);
}

TEST(CVentoraView, RowsCellsAndTheLedAsTheProtocolUsesThem)
{
    CVentoraView view;
    view.SetupColumns(kLayoutData);
    const int row = view.appendRow("12:00:01 2026/12/07 ");
    const std::string fields = data(2);
    for (int k = 0; k < 13; ++k)
        view.setCellText(row, k + 1, std::string_view(fields).substr(k * 8, 8));
    EXPECT_EQ(view.cellText(row, 0), "12:00:01 2026/12/07 ");
    EXPECT_EQ(view.cellText(row, 13), fields.substr(96, 8));
    EXPECT_EQ(view.tableModel().data(view.tableModel().index(row, 3)).toString(),
              fromAnsi(fields.substr(16, 8)));
    EXPECT_EQ(view.cellText(5, 0), "");
    view.setCellText(5, 0, "ignored");
    EXPECT_EQ(view.rowCount(), 1);

    // The LED toggles between dark and lit and keeps its colour; a disconnect greys it.
    view.setLedState(led::kDark);
    EXPECT_EQ(view.ledState(), led::kDark);
    view.setLed(led::kGreen, led::kLit, led::kSquare);
    view.setLedState(led::kDark);
    EXPECT_EQ(view.led().colour(), led::kGreen);
    EXPECT_EQ(view.led().shape(), led::kSquare);
    view.showLinkClosed();
    EXPECT_EQ(view.ledState(), led::kGrey);
    EXPECT_FALSE(view.recIndicator());
}

TEST(CVentoraView, ScrollingBringsTheNewestRowIntoView)
{
    QMainWindow frame;
    auto* view = new CVentoraView;
    frame.setCentralWidget(view);
    frame.resize(1100, 700);
    frame.show();
    view->SetupColumns(kLayoutData);
    for (int i = 0; i < 500; ++i)
        view->appendDataRow("12:00:01 2026/12/07", data(i));
    view->list().horizontalScrollBar()->setValue(0);
    view->scrollList();
    const QRect last = view->list().visualRect(view->tableModel().index(499, 0));
    EXPECT_TRUE(view->list().viewport()->rect().intersects(last));
    EXPECT_EQ(view->list().horizontalScrollBar()->value(), 0); // time column stays in view
}

TEST(CVentoraView, KeysInDataModeNeverReachThePort)
{
    PtyPair pty;
    ASSERT_FALSE(pty.slavePath().empty());
    QWidget window;
    auto* view = new CVentoraView(&window);
    auto* button = new QPushButton("other", &window);
    FakeLink link;
    view->setDialogueLink(&link);
    ASSERT_EQ(view->comPort().openWithObject(pty.slavePath(), nullptr), 0);

    // Before any instrument has been found "?" does nothing.
    press(window, Qt::Key_Question, "?");
    EXPECT_EQ(link.requests, 0);

    link.line = "485";
    press(window, Qt::Key_A, "a");
    press(window, Qt::Key_Return, "\r");
    EXPECT_EQ(link.requests, 0);
    press(window, Qt::Key_Question, "?");
    EXPECT_EQ(link.requests, 1);

    // Keys reach the focus widget first and then its parents: counted once.
    button->setFocus();
    ASSERT_EQ(window.focusWidget(), button);
    press(*button, Qt::Key_Question, "?");
    EXPECT_EQ(link.requests, 2);
    // Keys of another window are not ours.
    QWidget other;
    press(other, Qt::Key_Question, "?");
    EXPECT_EQ(link.requests, 2);
    EXPECT_EQ(pty.receive(200, 50), "");
}

TEST(CVentoraView, DialogueKeysGoToThePortAndAreEchoedInThePromptRow)
{
    PtyPair pty;
    ASSERT_FALSE(pty.slavePath().empty());
    CVentoraView view;
    FakeLink link;
    link.line = "232";
    link.open = true;
    view.setDialogueLink(&link);
    ASSERT_EQ(view.comPort().openWithObject(pty.slavePath(), nullptr), 0);
    view.SetupMenuColumns();

    // Fewer than four rows: written, but there is no prompt row to echo into.
    view.appendRow("Menu");
    press(view, Qt::Key_0, "0");
    EXPECT_EQ(pty.receive(200, 50), "0");
    EXPECT_EQ(view.cellText(0, 0), "Menu");

    for (const char* line : {"1) Baud rate", "Choice:", " ", " "})
        view.appendRow(line);
    ASSERT_EQ(view.promptRow(), 1);
    press(view, Qt::Key_1, "1");
    press(view, Qt::Key_Return, "\r");
    press(view, Qt::Key_Escape, "\x1b");
    press(view, Qt::Key_Backspace, "\b");
    press(view, Qt::Key_Shift); // no character: nothing
    EXPECT_EQ(pty.receive(200, 50), "1\r\x1b\b");
    EXPECT_EQ(view.cellText(1, 0), "1) Baud rate1");
    EXPECT_EQ(view.cellText(4, 0), " ");
    EXPECT_EQ(link.requests, 0);
}
