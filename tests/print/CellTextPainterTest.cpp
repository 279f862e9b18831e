// The glyph-run cell painter against drawText: same places, same ink.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "print/CellTextPainter.h"

namespace {

// Left and right ink columns and the top and bottom ink rows of an image on white.
QRect inkBounds(const QImage& image)
{
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

QImage page()
{
    QImage image(900, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

TEST(CellTextPainter, PlacesTextsWhereDrawTextDoes)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(40);
    const QRect cell(100, 20, 600, 60);
    struct Case {
        const char* name;
        QString text;
        PrintAlign align;
        Qt::Alignment flags;
    } cases[] = {
        {"left", QStringLiteral("2026/03/14 00:00:01"), PrintAlign::Left, Qt::AlignLeft},
        {"right, leading blanks", QStringLiteral("   -0.12"), PrintAlign::Right, Qt::AlignRight},
        {"centred", QStringLiteral("---  --"), PrintAlign::Centre, Qt::AlignHCenter},
        {"degree sign", QStringLiteral("Temperature \u00B0C"), PrintAlign::Left, Qt::AlignLeft},
        {"a character from another font", QStringLiteral("Sun \u2600 \u6C34"), PrintAlign::Left,
         Qt::AlignLeft},
    };
    for (const Case& c : cases) {
        QImage fast = page();
        {
            QPainter painter(&fast);
            painter.setPen(Qt::black);
            CCellTextPainter cells(font);
            cells.add(c.text, cell, c.align);
            cells.flush(painter);
        }
        QImage plain = page();
        {
            QPainter painter(&plain);
            painter.setPen(Qt::black);
            painter.setFont(font);
            painter.drawText(cell, c.flags | Qt::AlignVCenter | Qt::TextSingleLine, c.text);
        }
        const QRect a = inkBounds(fast);
        const QRect b = inkBounds(plain);
        ASSERT_FALSE(b.isNull()) << c.name;
        EXPECT_NEAR(a.left(), b.left(), 2) << c.name;
        EXPECT_NEAR(a.right(), b.right(), 2) << c.name;
        EXPECT_NEAR(a.top(), b.top(), 1) << c.name;
        EXPECT_NEAR(a.bottom(), b.bottom(), 1) << c.name;
    }
}

TEST(CellTextPainter, OneQueueHoldsManyCellsAndGlyphsStayInsideTheirCell)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(40);
    QImage image = page();
    QPainter painter(&image);
    painter.setPen(Qt::black);
    CCellTextPainter cells(font);
    cells.add(QStringLiteral("left"), QRect(10, 20, 200, 60), PrintAlign::Left);
    cells.add(QStringLiteral("a text far too long for its cell"), QRect(300, 20, 150, 60),
              PrintAlign::Left);
    cells.add(QStringLiteral("right"), QRect(600, 20, 280, 60), PrintAlign::Right);
    cells.flush(painter);
    painter.end();
    const auto inkIn = [&](int from, int to) {
        QImage part = image.copy(from, 0, to - from, image.height());
        return !inkBounds(part).isNull();
    };
    EXPECT_TRUE(inkIn(10, 210));
    EXPECT_TRUE(inkIn(300, 450));
    EXPECT_FALSE(inkIn(452, 600)); // the long text is cut at its cell's right side
    EXPECT_TRUE(inkIn(600, 880));
    // Flushing emptied the queue.
    QImage again = page();
    QPainter second(&again);
    cells.flush(second);
    second.end();
    EXPECT_TRUE(inkBounds(again).isNull());
}

} // namespace
