#include "controls/HeaderCtrlEx.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionButton>

CHeaderCtrlEx::CHeaderCtrlEx(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent)
{
}

bool CHeaderCtrlEx::isOwnerDrawn(int logicalIndex) const
{
    return model() && model()->headerData(logicalIndex, orientation(), OwnerDrawRole).toBool();
}

void CHeaderCtrlEx::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!isOwnerDrawn(logicalIndex)) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    const QString title = model()
                              ->headerData(logicalIndex, orientation(), Qt::DisplayRole)
                              .toString()
                              .left(kMaxTitle);

    painter->save();
    QStyleOptionButton button;
    button.initFrom(this);
    // Drawn as an enabled, raised button even while the list is disabled, like the original
    // owner-drawn header, so the titles stay readable.
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    button.palette.setCurrentColorGroup(QPalette::Active);
    button.rect = rect;
    style()->drawControl(QStyle::CE_PushButtonBevel, &button, painter, this);

    // The user-interface font of the list (the header's own font only sizes it).
    QFont font = parentWidget() ? parentWidget()->font() : QApplication::font();
    // Every attribute counts as set, so the painter does not fill any in from the header font.
    font.setResolveMask(QFont::AllPropertiesResolved);
    painter->setFont(font);
    painter->setPen(palette().color(QPalette::Active, QPalette::ButtonText));
    const QFontMetrics metrics(font);
    painter->setClipRect(rect.adjusted(1, 1, -1, -1));
    int top = rect.top() + 2;
    for (const QString& line : title.split(QLatin1Char('\n'))) {
        const QRect lineRect(rect.left(), top, rect.width(), metrics.height());
        painter->drawText(lineRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, line);
        top += metrics.height();
    }
    painter->restore();
}

QSize CHeaderCtrlEx::sectionSizeFromContents(int logicalIndex) const
{
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    if (orientation() == Qt::Horizontal)
        size.setHeight(QFontMetrics(font()).height() + 6);
    return size;
}
