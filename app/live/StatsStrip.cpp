#include "app/live/StatsStrip.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

#include "controls/AnsiText.h"
#include "stats/StatsPeriod.h"

namespace {

// Column starts as parts of the strip's width: period, samples, mean speed, direction, gust.
constexpr double kColumns[] = {0.0, 0.24, 0.44, 0.62, 0.78};

} // namespace

CStatsStrip::CStatsStrip(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("StatsStrip"));
    setToolTip(QStringLiteral("Right-click to choose the averaging period"));
}

QSize CStatsStrip::sizeHint() const
{
    QFont figures = font();
    figures.setPointSizeF(font().pointSizeF() * 1.25);
    return QSize(600, fontMetrics().lineSpacing() * 2 +
                          (QFontMetrics(figures).lineSpacing() + 2) * 2 + 8);
}

void CStatsStrip::setTexts(const StatsStripTexts& texts)
{
    if (texts == texts_)
        return;
    texts_ = texts;
    update();
}

void CStatsStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = rect().adjusted(0, 0, -1, -1);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(area);

    const int left = 6, width = area.width() - 2 * left;
    auto rowAt = [&](int y, int height, const std::array<QString, 5>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const int x = left + static_cast<int>(kColumns[i] * width);
            const int next = i + 1 < cells.size() ? left + static_cast<int>(kColumns[i + 1] * width)
                                                  : left + width;
            painter.drawText(QRect(x, y, next - x - 4, height), Qt::AlignLeft | Qt::AlignVCenter,
                             cells[i]);
        }
    };
    // Title and column heads in the form's font, the figures larger: they are read at a glance.
    QFont bold = font();
    bold.setBold(true);
    QFont figures = font();
    figures.setPointSizeF(font().pointSizeF() * 1.25);
    const int line = fontMetrics().lineSpacing();
    const int figureLine = QFontMetrics(figures).lineSpacing() + 2;

    int y = 3;
    painter.setFont(bold);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(left, y, width, line), Qt::AlignLeft | Qt::AlignVCenter,
                     fromAnsi(texts_.title));
    y += line;
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
    rowAt(y, line,
          {QStringLiteral("Period"), QStringLiteral("Samples"), QStringLiteral("Mean speed"),
           QStringLiteral("Direction"), QStringLiteral("Gust")});
    y += line;
    painter.setFont(figures);
    painter.setPen(palette().color(QPalette::WindowText));
    for (const StatsStripRow* row : {&texts_.current, &texts_.last}) {
        rowAt(y, figureLine,
              {fromAnsi(row->period), fromAnsi(row->samples), fromAnsi(row->mean),
               fromAnsi(row->direction), fromAnsi(row->gust)});
        y += figureLine;
    }
}

void CStatsStrip::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addSection(QStringLiteral("Averaging period"));
    for (int seconds : kPeriods) {
        QAction* action = menu.addAction(QString::fromStdString(statsPeriodText(seconds)));
        action->setCheckable(true);
        action->setChecked(seconds == period_);
        connect(action, &QAction::triggered, this, [this, seconds] {
            if (periodChosen_)
                periodChosen_(seconds);
        });
    }
    menu.exec(event->globalPos());
}
