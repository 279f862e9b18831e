// The main window as a user sees it: the overview with a data layout and a few hundred rows,
// the status bar in each link state and the LED in each state. Set VENTORA_SCREENSHOTS to a
// folder to keep the pictures.
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QTableView>

#include "app/view/VentoraView.h"
#include "controls/StatusBar.h"
#include "tests/support/ScriptedMessageBox.h"

namespace {

constexpr unsigned kIndicators[] = {0, 61446};

struct LinkState {
    const char* name;
    std::string text;
    std::int32_t colour;
    QColor expected;
};

class MainWindow : public QMainWindow {
public:
    MainWindow()
    {
        setWindowTitle("Skyvane8u");
        view = new CVentoraView;
        setCentralWidget(view);
        bar.create(this, kIndicators, 2, statusbar::kStyleStretch, messages);
        bar.setPaneInfo(1, 61446, 0, 200);
        bar.pane(1).setMode(0x100001);
        bar.setPaneText(0, "Ready");
        resize(1040, 580);
    }
    void showLink(const LinkState& state)
    {
        bar.pane(1).setColors(state.colour, 0x00000080);
        bar.pane(1).setTexts(state.text, "");
        bar.update();
    }
    CScriptedMessageBox messages;
    XStatusBar bar;
    CVentoraView* view;
};

std::string sample(int i)
{
    const double values[13] = {3.2 + (i % 7) * 0.1,
                               181.0 + i % 40,
                               1013.2,
                               21.4,
                               55.0,
                               0.0,
                               -1.2,
                               2.9,
                               0.1,
                               -4.1,
                               1.5,
                               343.2,
                               21.9};
    std::string text;
    for (double value : values) {
        char field[16];
        std::snprintf(field, sizeof field, "%8.2f", value);
        text += std::string(field).substr(0, 8);
    }
    if (i % 50 == 7)
        text.replace(40, 8, "  _err  "); // a field without value
    return text;
}

void keep(QWidget& widget, const char* name)
{
    const QByteArray folder = qgetenv("VENTORA_SCREENSHOTS");
    if (!folder.isEmpty())
        widget.grab().save(QString::fromUtf8(folder) + "/" + name);
}

QColor pixelOfPane(XStatusBar& bar)
{
    const QImage image = bar.grab().toImage();
    const QRect pane = bar.paneRect(1);
    return image.pixelColor(pane.left() + 3, pane.bottom() - 1);
}

} // namespace

TEST(MainWindowLook, DataLayoutWithRowsAndEachLinkState)
{
    MainWindow window;
    window.show();
    Unit::instance().setSpeedUnit("m/s");
    window.view->SetupColumns(kLayoutData);
    Unit::instance().reset();
    for (int i = 0; i < 300; ++i) {
        char time[32];
        std::snprintf(time, sizeof time, "%02d:%02d:%02d 2026/12/07", 12 + i / 3600, (i / 60) % 60,
                      i % 60);
        window.view->appendDataRow(time, sample(i));
        window.view->setLedState(i % 2 ? led::kLit : led::kDark);
    }
    window.view->scrollList();

    const LinkState states[] = {
        {"link-disconnected.png", "Disconnected", 0x0000FFFF, QColor(255, 255, 0)},
        {"link-looking.png", "Looking for.. COM1 9600 8,N,1", 0x0000FFFF, QColor(255, 255, 0)},
        {"link-connected.png", "Connected to COM1 RS485 9600 8,N,2", 0x0000FF00, QColor(0, 255, 0)},
    };
    for (const LinkState& state : states) {
        window.showLink(state);
        EXPECT_EQ(pixelOfPane(window.bar), state.expected) << state.name;
        keep(window.bar, state.name);
    }
    keep(window, "main-window.png");

    // The newest row is on screen, the oldest is not.
    const QRect viewport = window.view->list().viewport()->rect();
    EXPECT_TRUE(viewport.intersects(
        window.view->list().visualRect(window.view->tableModel().index(299, 0))));
    EXPECT_FALSE(
        viewport.intersects(window.view->list().visualRect(window.view->tableModel().index(0, 0))));
}

TEST(MainWindowLook, LedInEachState)
{
    MainWindow window;
    window.show();
    CStatusLed& led = window.view->led();
    const QImage strip = led.strip().toImage();
    struct Row {
        const char* name;
        int state;
    };
    for (const Row& row : {Row{"led-lit.png", led::kLit}, Row{"led-dark.png", led::kDark},
                           Row{"led-grey.png", led::kGrey}}) {
        window.view->setLedState(row.state);
        const QImage shown = led.grab().toImage();
        EXPECT_EQ(shown.pixelColor(10, 9), strip.pixelColor(row.state * 16 + 10, 9)) << row.name;
        keep(led, row.name);
    }
}
