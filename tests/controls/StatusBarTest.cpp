#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <QProgressBar>

#include "controls/PaneMode.h"
#include "controls/StatusBar.h"
#include "tests/support/ScriptedMessageBox.h"

namespace {

constexpr unsigned kIndicators[] = {0, 61446};
constexpr std::int32_t kYellow = 0x0000FFFF;
constexpr std::int32_t kGreen = 0x0000FF00;

// A main window that owns its status bar as a member, as the program's frame does.
class Frame : public QMainWindow {
public:
    Frame()
    {
        resize(700, 200);
        created = bar.create(this, kIndicators, 2, statusbar::kStyleStretch, messages);
        bar.setPaneInfo(1, 61446, 0, 200);
        bar.pane(1).setMode(0x100001);
    }
    CScriptedMessageBox messages;
    XStatusBar bar;
    bool created = false;
};

// Counts the mouse events that reach a window and remembers the last position.
class MouseSpy : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            types.push_back(event->type());
            last = static_cast<QMouseEvent*>(event)->position().toPoint();
            button = static_cast<QMouseEvent*>(event)->button();
            break;
        default:
            break;
        }
        return false;
    }
    std::vector<QEvent::Type> types;
    QPoint last;
    Qt::MouseButton button = Qt::NoButton;
};

QImage render(QWidget& widget) { return widget.grab().toImage(); }

// A pixel of the pane's background, clear of its text and frame.
QColor paneBackground(XStatusBar& bar, int index)
{
    const QImage image = render(bar); // lays the bar out first
    const QRect pane = bar.paneRect(index);
    return image.pixelColor(pane.left() + 2, pane.bottom() - 1);
}

// Pixels of the pane's inner area within a small distance of the given colour (text edges
// are anti-aliased).
int countColour(XStatusBar& bar, int index, QColor colour, int tolerance = 0)
{
    const QImage image = render(bar);
    const QRect inner = bar.paneRect(index).adjusted(1, 1, -1, -1);
    int count = 0;
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        for (int x = inner.left(); x <= inner.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::abs(c.red() - colour.red()) <= tolerance &&
                     std::abs(c.green() - colour.green()) <= tolerance &&
                     std::abs(c.blue() - colour.blue()) <= tolerance;
        }
    return count;
}

} // namespace

TEST(XStatusBar, LinkPaneShowsItsStateInColour)
{
    Frame frame;
    ASSERT_TRUE(frame.created);
    EXPECT_EQ(frame.statusBar(), &frame.bar);
    render(frame.bar);
    EXPECT_EQ(frame.bar.paneRect(1).width(), 202);
    EXPECT_GE(frame.bar.paneRect(1).height() - 2, QFontMetrics(frame.bar.pane(1).font()).height());

    frame.bar.pane(1).setColors(kYellow, 0x00000080);
    frame.bar.pane(1).setTexts("Disconnected", "");
    EXPECT_EQ(paneBackground(frame.bar, 1), QColor(255, 255, 0));
    const int yellowOnly = countColour(frame.bar, 1, QColor(255, 255, 0));

    frame.bar.pane(1).setColors(kGreen, 0x00FFFF00);
    frame.bar.pane(1).setTexts("Connected to COM1 RS485 9600 8,N,2", "");
    EXPECT_EQ(paneBackground(frame.bar, 1), QColor(0, 255, 0));
    // The text is drawn in the pane's enabled text colour (the palette's window text).
    EXPECT_GT(countColour(frame.bar, 1, frame.bar.pane(1).textColor(true), 60), 20);
    EXPECT_EQ(countColour(frame.bar, 1, QColor(255, 255, 0)), 0);
    EXPECT_GT(yellowOnly, 1000);
}

TEST(XStatusBar, FixedTextPaneGrowsToHoldItsText)
{
    Frame frame;
    render(frame.bar);
    const int stretch = frame.bar.paneRect(0).width();
    QFont big = frame.bar.pane(1).font();
    big.setPointSize(14);
    frame.bar.pane(1).setFont(big);
    const std::string text = "Connected to COM3 RS232 115200 8,N,2";
    frame.bar.pane(1).setTexts(text, "");
    render(frame.bar);
    const int needed = QFontMetrics(big).horizontalAdvance(QString::fromStdString(text));
    ASSERT_GT(needed, 200);
    EXPECT_GE(frame.bar.paneRect(1).width() - 2, needed);
    EXPECT_EQ(frame.bar.paneRect(0).width(), stretch - (frame.bar.paneRect(1).width() - 202));
    // Scrolling panes keep their width: their text moves through it.
    frame.bar.pane(1).setMode(0x100001 | panemode::kScrollHorizontal);
    EXPECT_EQ(frame.bar.paneRect(1).width(), 202);
}

TEST(XStatusBar, DisabledPaneUsesTheDisabledColours)
{
    Frame frame;
    XPaneInfo& pane = frame.bar.pane(1);
    pane.setColors(kYellow, 0x00000080);
    pane.setTextColors(0x00000000, 0x00FFFFFF);
    pane.setTexts("Enabled text", "Disabled text");
    frame.bar.setPaneStyle(1, statusbar::kStyleDisabled);
    EXPECT_EQ(paneBackground(frame.bar, 1), QColor(128, 0, 0));
    EXPECT_GT(countColour(frame.bar, 1, Qt::white, 60), 20);
    EXPECT_EQ(countColour(frame.bar, 1, Qt::black, 60), 0);

    // -1 as the disabled background means the menu colour.
    pane.setColors(kYellow, -1);
    EXPECT_EQ(pane.backColor(false), frame.bar.palette().color(QPalette::Window));

    // Defaults: disabled text is the enabled background halved.
    XPaneInfo fresh(&frame.bar);
    const QColor back = fresh.backColor(true);
    EXPECT_EQ(fresh.textColor(false), QColor(back.red() / 2, back.green() / 2, back.blue() / 2));
    EXPECT_EQ(fresh.mode(), panemode::kText);
    EXPECT_EQ(fresh.progressControl(), nullptr);
}

TEST(XStatusBar, EmptyTextsShowTheStandardPaneText)
{
    Frame frame;
    frame.bar.pane(1).setTexts("", "");
    const QImage blank = render(frame.bar);
    frame.bar.setPaneText(1, "Ready");
    EXPECT_NE(render(frame.bar), blank);
    EXPECT_EQ(frame.bar.paneText(1), "Ready");

    // Pane 0 shows status tips (the bar's message) before its own text.
    frame.bar.setPaneText(0, "Idle");
    frame.bar.showMessage("Open an existing file");
    EXPECT_EQ(frame.bar.paneText(0), "Open an existing file");
    frame.bar.clearMessage();
    EXPECT_EQ(frame.bar.paneText(0), "Idle");
}

TEST(XStatusBar, AnimationTimerRunsOnlyWhileAPaneScrolls)
{
    Frame frame;
    frame.show();
    frame.bar.pane(1).setTexts("Connected to COM1 RS485 9600 8,N,2", "");
    render(frame.bar);
    EXPECT_FALSE(frame.bar.animationTimerActive());

    frame.bar.pane(1).setMode(panemode::kText | panemode::kScrollHorizontal |
                              panemode::kContinuous);
    render(frame.bar);
    EXPECT_TRUE(frame.bar.animationTimerActive());
    // Each paint moves the text one pixel.
    const int before = frame.bar.pane(1).scrollX();
    render(frame.bar);
    EXPECT_EQ(frame.bar.pane(1).scrollX(), before + 1);

    frame.hide();
    EXPECT_FALSE(frame.bar.animationTimerActive());
    frame.show();
    frame.bar.pane(1).setMode(0x100001);
    render(frame.bar);
    EXPECT_FALSE(frame.bar.animationTimerActive());
}

TEST(XStatusBar, PicturePanesStretchOrAlignTheNamedPicture)
{
    Frame frame;
    XPaneInfo& pane = frame.bar.pane(1);
    pane.setColors(0x00FF0000, -1); // blue background
    pane.setTexts(":/controls/StatusLed.bmp", "");
    pane.setMode(panemode::kPicture | panemode::kStretch);
    frame.bar.grab(); // lays the bar out
    const QRect inner = frame.bar.paneRect(1).adjusted(1, 1, -1, -1);
    const QColor blue(0, 0, 255);
    auto covered = [&](int y) {
        const QImage image = frame.bar.grab().toImage();
        int count = 0;
        for (int x = inner.left(); x <= inner.right(); ++x)
            count += image.pixelColor(x, y) != blue;
        return count;
    };
    // Stretched over the pane's width: the strip's three LEDs cover most of the row.
    EXPECT_GT(covered(inner.center().y()), 100);

    // Centred at its natural width of 48 pixels.
    pane.setMode(panemode::kPicture | panemode::kFormatCenter);
    const int centred = covered(inner.top() + 2);
    EXPECT_GT(centred, 20);
    EXPECT_LE(centred, 48);
    const QImage image = frame.bar.grab().toImage();
    EXPECT_EQ(image.pixelColor(inner.left() + 1, inner.top() + 2), blue);
    EXPECT_EQ(image.pixelColor(inner.right() - 1, inner.top() + 2), blue);

    // A missing picture leaves the background.
    pane.setTexts("no-such-picture.bmp", "");
    EXPECT_EQ(covered(inner.center().y()), 0);
}

TEST(XStatusBar, ProgressModeKeepsOneProgressControl)
{
    Frame frame;
    XPaneInfo& pane = frame.bar.pane(1);
    pane.setMode(panemode::kProgress);
    QProgressBar* first = pane.progressControl();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(pane.smoothProgress());
    pane.setMode(panemode::kProgress | panemode::kSmooth);
    EXPECT_EQ(pane.progressControl(), first);
    EXPECT_TRUE(pane.smoothProgress());
    EXPECT_EQ(frame.bar.findChildren<QProgressBar*>().size(), 1);
    render(frame.bar); // painting places the control over the pane
    EXPECT_EQ(first->geometry(), frame.bar.paneRect(1));

    pane.setMode(0x100001);
    EXPECT_EQ(pane.progressControl(), nullptr);
    EXPECT_TRUE(frame.bar.findChildren<QProgressBar*>().isEmpty());
}

TEST(XStatusBar, MouseEventsReachTheOwnerUnchanged)
{
    Frame frame;
    MouseSpy spy;
    frame.installEventFilter(&spy);
    frame.setMouseTracking(true); // moves without a button reach only widgets that track
    const QPointF at(30, 5);
    const struct {
        QEvent::Type type;
        Qt::MouseButton button;
    } events[] = {
        {QEvent::MouseButtonPress, Qt::LeftButton},
        {QEvent::MouseButtonRelease, Qt::LeftButton},
        {QEvent::MouseButtonDblClick, Qt::RightButton},
        {QEvent::MouseButtonPress, Qt::MiddleButton},
        {QEvent::MouseMove, Qt::NoButton},
    };
    for (const auto& e : events) {
        QMouseEvent event(e.type, at, frame.bar.mapToGlobal(at), e.button, e.button,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&frame.bar, &event);
        EXPECT_EQ(spy.last, at.toPoint()); // bar coordinates, not translated
        EXPECT_EQ(spy.button, e.button);
    }
    EXPECT_EQ(spy.types,
              (std::vector<QEvent::Type>{QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                         QEvent::MouseButtonDblClick, QEvent::MouseButtonPress,
                                         QEvent::MouseMove}));
}

TEST(XStatusBar, SizeGripOnlyWhileTheOwnerIsNotMaximised)
{
    Frame frame;
    frame.show();
    const QColor light = frame.bar.palette().color(QPalette::Light);
    QImage image = render(frame.bar);
    EXPECT_EQ(image.pixelColor(frame.bar.width() - 2, frame.bar.height() - 1), light);
    EXPECT_LT(frame.bar.paneRect(1).right(), frame.bar.width() - statusbar::kGripSize);

    frame.showMaximized();
    ASSERT_TRUE(frame.isMaximized());
    image = render(frame.bar);
    EXPECT_EQ(image.pixelColor(frame.bar.width() - 2, frame.bar.height() - 1),
              frame.bar.palette().color(QPalette::Button));
    EXPECT_EQ(frame.bar.paneRect(1).right(), frame.bar.width() - 1 - statusbar::kBorder);
}

TEST(XStatusBar, CreateWithoutOwnerFailsWithAMessage)
{
    CScriptedMessageBox messages;
    XStatusBar bar;
    EXPECT_FALSE(bar.create(nullptr, kIndicators, 2, statusbar::kStyleStretch, messages));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Unable to create Statusbar."});
    QMainWindow owner;
    EXPECT_FALSE(bar.create(&owner, kIndicators, 0, 0, messages));
    EXPECT_EQ(messages.texts().size(), 2u);
    EXPECT_EQ(bar.paneCount(), 0);
}
