// The icon button as the pointer and the dialog treat it: frames, icons, offset, greyed icon,
// clicks and tool tip, read from what it paints.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QVBoxLayout>

#include "controls/IconButton.h"

namespace {

constexpr int kSize = 24;
constexpr int kIcon = 8;
const QColor kIn(255, 0, 0);
const QColor kOut(0, 0, 255);

QPixmap square(const QColor& colour)
{
    QPixmap pixmap(kIcon, kIcon);
    pixmap.fill(colour);
    return pixmap;
}

void send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton)
{
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

class IconButton : public ::testing::Test {
protected:
    IconButton()
    {
        auto* layout = new QVBoxLayout(&dialog);
        button = new CIconButton(&dialog);
        other = new QPushButton("next", &dialog);
        layout->addWidget(button);
        layout->addWidget(other);
        button->setIcons(square(kIn), square(kOut));
        button->setFixedSize(kSize, kSize);
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    QImage picture() { return button->grab().toImage(); }
    QRgb at(int x, int y) { return picture().pixel(x, y); }
    QRgb colour(QPalette::ColorRole role) { return button->palette().color(role).rgb(); }
    // The top-left corner of the icon's colour in the picture, or (-1, -1).
    QPoint iconCorner(const QColor& colour)
    {
        const QImage image = picture();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == colour)
                    return {x, y};
        return {-1, -1};
    }

    QWidget dialog;
    CIconButton* button = nullptr;
    QPushButton* other = nullptr;
};

} // namespace

TEST_F(IconButton, HoverRaisesTheFrameAndShowsTheInIconUntilThePointerLeaves)
{
    const int origin = (kSize - kIcon) / 2;
    EXPECT_EQ(iconCorner(kOut), QPoint(origin, origin));
    EXPECT_EQ(at(0, 0), colour(QPalette::Button));

    send(button, QEvent::MouseMove, {5, 5});
    EXPECT_TRUE(button->hover());
    EXPECT_EQ(iconCorner(kIn), QPoint(origin, origin));
    EXPECT_EQ(at(0, 0), colour(QPalette::Light));
    EXPECT_EQ(at(kSize - 1, kSize - 1), colour(QPalette::Dark));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_FALSE(button->hover());
    EXPECT_EQ(at(0, 0), colour(QPalette::Button));
    EXPECT_EQ(at(kSize - 1, kSize - 1), colour(QPalette::Button));
    EXPECT_EQ(iconCorner(kOut), QPoint(origin, origin));

    // Losing the focus ends a hover too.
    button->setFocus();
    send(button, QEvent::MouseMove, {5, 5});
    other->setFocus();
    EXPECT_FALSE(button->hover());
}

TEST_F(IconButton, PressingSinksTheFrameAndMovesTheIconOnePixel)
{
    const int origin = (kSize - kIcon) / 2;
    send(button, QEvent::MouseMove, {5, 5});
    send(button, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
    EXPECT_TRUE(button->isDown());
    EXPECT_EQ(at(0, 0), colour(QPalette::Dark));
    EXPECT_EQ(at(kSize - 1, kSize - 1), colour(QPalette::Light));
    EXPECT_EQ(iconCorner(kIn), QPoint(origin + 1, origin + 1));
    send(button, QEvent::MouseButtonRelease, {5, 5});
    EXPECT_EQ(iconCorner(kIn), QPoint(origin, origin));
}

TEST_F(IconButton, ADisabledButtonIsGreyedAndIgnoresThePointer)
{
    button->setEnabled(false);
    send(button, QEvent::MouseMove, {5, 5});
    EXPECT_FALSE(button->hover());
    EXPECT_EQ(at(0, 0), colour(QPalette::Button));
    EXPECT_EQ(iconCorner(kOut), QPoint(-1, -1)); // not the icon's own colour any more
    const QRgb centre = at(kSize / 2, kSize / 2);
    EXPECT_EQ(qRed(centre), qGreen(centre)); // grey
    EXPECT_EQ(qGreen(centre), qBlue(centre));

    // Disabled while hovered: the frame goes at once.
    button->setEnabled(true);
    send(button, QEvent::MouseMove, {5, 5});
    ASSERT_TRUE(button->hover());
    button->setEnabled(false);
    EXPECT_FALSE(button->hover());
}

TEST_F(IconButton, ADisabledFocusedButtonPassesTheFocusOn)
{
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    button->setEnabled(false);
    EXPECT_TRUE(other->hasFocus());
}

TEST_F(IconButton, ClicksDoubleClicksAndToolTip)
{
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    QTest::mouseClick(button, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(button->hasFocus());
    // The second press of a double click arrives as a double-click event: one more click.
    send(button, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
    send(button, QEvent::MouseButtonRelease, {5, 5});
    send(button, QEvent::MouseButtonDblClick, {5, 5}, Qt::LeftButton);
    send(button, QEvent::MouseButtonRelease, {5, 5});
    EXPECT_EQ(clicks, 3);

    button->setTooltipText("Zoom +");
    EXPECT_EQ(button->toolTip(), "Zoom +");
    button->setTooltipText("Zoom +", false);
    EXPECT_TRUE(button->toolTip().isEmpty());

    // Without an "out" icon the "in" icon shows in every state.
    button->setIcons(square(kIn));
    EXPECT_NE(iconCorner(kIn), QPoint(-1, -1));
    EXPECT_EQ(button->sizeHint(), QSize(kIcon + 10, kIcon + 10));
}
