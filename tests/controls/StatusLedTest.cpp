#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "controls/StatusLed.h"

namespace {

const QColor kBackground(10, 20, 200);

// A parent with a plain background and one LED on it.
struct Board {
    explicit Board(QSize ledSize)
    {
        parent.resize(60, 60);
        parent.setAutoFillBackground(true);
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Window, kBackground);
        parent.setPalette(palette);
        led = new CStatusLed(&parent);
        led->setGeometry(QRect(QPoint(10, 10), ledSize));
    }
    QColor at(int x, int y) { return parent.grab().toImage().pixelColor(10 + x, 10 + y); }

    QWidget parent;
    CStatusLed* led;
};

int brightness(QColor c) { return c.red() + c.green() + c.blue(); }

} // namespace

TEST(CStatusLed, StripHasThreeStatesOfEightRowsWithMagentaTransparent)
{
    CStatusLed led;
    const QImage strip = led.strip().toImage();
    ASSERT_EQ(strip.size(), QSize(48, 128));
    for (int row = 0; row < 8; ++row) {
        const int y = row * 16;
        EXPECT_EQ(qAlpha(strip.pixel(0, y)), 0) << row; // cell corner: transparent
        // Body pixel right of centre, clear of the glare.
        const QColor lit = strip.pixelColor(10, y + 9);
        const QColor dark = strip.pixelColor(16 + 10, y + 9);
        const QColor grey = strip.pixelColor(32 + 10, y + 9);
        EXPECT_EQ(lit.alpha(), 255);
        EXPECT_GT(brightness(lit), brightness(dark) + 150) << row;
        EXPECT_EQ(grey.red(), grey.green()) << row;
        EXPECT_NEAR(grey.blue(), grey.red(), 8) << row;
    }
    // Row colours: red, green, yellow, blue, then the same four as the second shape.
    const QImage image = strip;
    auto litAt = [&](int row) { return image.pixelColor(10, row * 16 + 9); };
    for (int shape : {0, 4}) {
        EXPECT_GT(litAt(shape).red(), 200);
        EXPECT_LT(litAt(shape).green(), 100);
        EXPECT_GT(litAt(shape + 1).green(), 200);
        EXPECT_LT(litAt(shape + 1).red(), 100);
        EXPECT_GT(litAt(shape + 2).red(), 200);
        EXPECT_GT(litAt(shape + 2).green(), 200);
        EXPECT_GT(litAt(shape + 3).blue(), 200);
        EXPECT_LT(litAt(shape + 3).red(), 100);
    }
}

TEST(CStatusLed, StartsDarkRedAndDrawsTheChosenCellOverTheParent)
{
    Board board(QSize(30, 30));
    EXPECT_EQ(board.led->colour(), led::kRed);
    EXPECT_EQ(board.led->state(), led::kDark);
    EXPECT_EQ(board.led->shape(), led::kRound);

    const QImage strip = board.led->strip().toImage();
    // Centred in 30 x 30: the picture starts at (7, 7).
    struct Row {
        int colour, state, shape;
    };
    for (const Row& row :
         {Row{led::kGreen, led::kLit, led::kRound}, Row{led::kRed, led::kGrey, led::kRound},
          Row{led::kBlue, led::kDark, led::kSquare}}) {
        board.led->setLed(row.colour, row.state, row.shape);
        EXPECT_EQ(board.led->state(), row.state);
        const QColor expected = strip.pixelColor(row.state * 16 + 10, row.colour + row.shape + 9);
        EXPECT_EQ(board.at(7 + 10, 7 + 9), expected) << row.colour << "/" << row.state;
        EXPECT_EQ(board.at(7, 7), kBackground); // transparent corner of the cell
        EXPECT_EQ(board.at(2, 2), kBackground); // outside the picture
    }
}

TEST(CStatusLed, SmallControlDrawsAtItsTopLeftCorner)
{
    Board board(QSize(12, 12));
    board.led->setLed(led::kYellow, led::kLit, led::kRound);
    // Pixel (1, 1) is the transparent corner of the cell; centring would show the rim there.
    EXPECT_EQ(board.at(1, 1), kBackground);
    const QColor body = board.led->strip().toImage().pixelColor(10, 32 + 9);
    EXPECT_EQ(board.at(10, 9), body);
    // Nothing is drawn outside the control.
    EXPECT_EQ(board.at(13, 9), kBackground);
}

TEST(CStatusLed, SettingOutsideTheStripDrawsNothing)
{
    Board board(QSize(16, 16));
    board.led->setLed(led::kRed, 5, led::kRound);
    for (int y = 0; y < 16; y += 3)
        for (int x = 0; x < 16; x += 3)
            EXPECT_EQ(board.at(x, y), kBackground);
}
