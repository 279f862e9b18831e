#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStandardItemModel>

#include "controls/HeaderCtrlEx.h"
#include "controls/HeaderCtrlMy.h"

namespace {

// A two-column list with a two-line and a one-line title.
struct List {
    List()
    {
        model.setHorizontalHeaderLabels({"Time\n..Date", "SoW"});
        model.setRowCount(3);
        list.setModel(&model);
        list.resize(400, 200);
        list.horizontalHeader()->resizeSection(0, 65);
        list.horizontalHeader()->resizeSection(1, 70);
    }
    QStandardItemModel model;
    CHeaderCtrlMy list;
};

// Columns of dark (text) pixels inside rows [top, bottom) of a section.
struct Ink {
    int left = -1, right = -1, count = 0;
    double centre() const { return (left + right) / 2.0; }
};

Ink inkIn(const QImage& image, int x0, int x1, int top, int bottom)
{
    Ink ink;
    for (int y = top; y < bottom; ++y)
        for (int x = x0; x < x1; ++x) {
            if (qGray(image.pixel(x, y)) < 110) {
                ++ink.count;
                ink.left = ink.left < 0 ? x : std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
            }
        }
    return ink;
}

} // namespace

TEST(CHeaderCtrlMy, ButtonHeaderUsesABigFontAndMarksEveryColumn)
{
    List l;
    EXPECT_FALSE(l.list.headerEx()->isOwnerDrawn(0));
    l.list.setupButtonHeader();
    EXPECT_EQ(l.list.headerFont().family(), "MS Serif");
    EXPECT_DOUBLE_EQ(l.list.headerFont().pointSizeF(), 29.0);
    EXPECT_TRUE(l.list.headerEx()->isOwnerDrawn(0));
    EXPECT_TRUE(l.list.headerEx()->isOwnerDrawn(1));
    EXPECT_EQ(l.list.horizontalHeader(), l.list.headerEx());
    // Tall enough for two lines of the user-interface font.
    EXPECT_GE(l.list.headerEx()->sizeHint().height(),
              2 * QFontMetrics(QApplication::font()).height());
}

TEST(CHeaderCtrlEx, TitlesAreCentredAndSplitAtTheLineFeed)
{
    List l;
    l.list.setupButtonHeader();
    CHeaderCtrlEx* header = l.list.headerEx();
    header->resize(header->sizeHint().width() + 300, header->sizeHint().height());
    const int line = QFontMetrics(QApplication::font()).height();
    QImage image = header->grab().toImage();

    const Ink timeFirst = inkIn(image, 0, 65, 2, 2 + line);
    const Ink timeSecond = inkIn(image, 0, 65, 2 + line, 2 + 2 * line);
    EXPECT_GT(timeFirst.count, 10);
    EXPECT_GT(timeSecond.count, 10); // "..Date" on the second line
    EXPECT_NEAR(timeFirst.centre(), 32.0, 2.5);
    EXPECT_NEAR(timeSecond.centre(), 32.0, 2.5);

    const Ink sowFirst = inkIn(image, 65, 135, 2, 2 + line);
    const Ink sowSecond = inkIn(image, 66, 134, 2 + line, 2 + 2 * line);
    EXPECT_GT(sowFirst.count, 10);
    EXPECT_EQ(sowSecond.count, 0); // one line only, at the top
    EXPECT_NEAR(sowFirst.centre(), 100.0, 2.5);

    // A wider column re-centres its title.
    header->resizeSection(1, 200);
    image = header->grab().toImage();
    EXPECT_NEAR(inkIn(image, 65, 265, 2, 2 + line).centre(), 165.0, 2.5);
}

TEST(CHeaderCtrlMy, ExtendedStyles)
{
    List l;
    l.list.show();
    l.list.setExtendedStyle(CHeaderCtrlMy::FullRowSelect | CHeaderCtrlMy::OneClickActivate |
                            CHeaderCtrlMy::UnderlineHot);
    EXPECT_EQ(l.list.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_TRUE(l.list.hasMouseTracking());

    const QRect cell = l.list.visualRect(l.model.index(1, 0));
    const QPointF at = cell.center();
    QMouseEvent move(QEvent::MouseMove, at, l.list.viewport()->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(l.list.viewport(), &move);
    EXPECT_EQ(l.list.hotRow(), 1);

    QSignalSpy activated(&l.list, &QAbstractItemView::activated);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, at, l.list.viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(l.list.viewport(), &click);
    }
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.at(0).at(0).toModelIndex().row(), 1);

    l.list.setExtendedStyle(0);
    EXPECT_EQ(l.list.hotRow(), -1);
    EXPECT_EQ(l.list.selectionBehavior(), QAbstractItemView::SelectItems);
}
