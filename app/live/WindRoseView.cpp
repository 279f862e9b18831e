#include "app/live/WindRoseView.h"

#include <QPainter>

#include "app/live/LiveFeed.h"
#include "core/Unit.h"
#include "stats/WindRosePainter.h"

CWindRoseView::CWindRoseView(const CLiveFeed& feed, QWidget* parent) : QWidget(parent), feed_(feed)
{
    setMinimumSize(360, 280);
}

void CWindRoseView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QString title = feed_.history().empty() ? QStringLiteral("Wind rose")
                                                  : QStringLiteral("Wind rose since ") +
                                                        QString::fromStdString(feed_.timeText(0));
    paintWindRose(painter, rect(), feed_.rose(), Unit::instance().text(Unit::SoW), title);
}
