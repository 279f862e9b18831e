#include "chart/HRuler.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "chart/PlotMath.h"
#include "controls/AnsiText.h"

FHRuler::FHRuler(QWidget* parent) : FRuler(parent) {}

int FHRuler::tickCapacity(const QPaintDevice* device, const QRect& rect) const
{
    return capacityFor(device, rect.width(), device->logicalDpiY());
}

void FHRuler::paintRuler(QPainter& painter, const QRect& rect) const
{
    const QPaintDevice* device = painter.device();
    const RulerSizes s = sizesFor(device->logicalDpiY());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect, palette().color(QPalette::Window));
    painter.setPen(QPen(Qt::black, 0));
    const int base = rect.bottom() - 1;
    const int start = rect.left() + s.margin;
    painter.drawLine(start, base, rect.right(), base);
    painter.drawLine(rect.right(), base, rect.right(), rect.top());
    if (rect.height() < s.margin || rect.width() <= s.margin + 5) {
        painter.restore();
        return;
    }
    const QFont font = labelFont(s.fontHeight, device);
    painter.setFont(font);
    const QFontMetrics metrics(font, const_cast<QPaintDevice*>(device));
    const QString caption = fromAnsi(this->caption());
    const int captionWidth = metrics.horizontalAdvance(caption) + s.captionGap;
    const int textHeight = metrics.height();

    const TickSet ticks = computeTicks(rangeFrom(), rangeTo(), tickCapacity(device, rect));
    const CAxisMap map = CAxisMap::make(start, rect.right(), rangeFrom(), rangeTo());
    const int labelTop = base - textHeight * 11 / 10 - s.tickLength / 2;
    for (std::size_t i = 0; i < ticks.ticks.size(); i += 5) {
        const Tick& tick = ticks.ticks[i];
        const int x = map.toPixel(tick.value);
        const int numberWidth = metrics.horizontalAdvance(QString::fromStdString(tickLabel(tick)));
        if (!labelFits(x, numberWidth, start, rect.right() - captionWidth))
            continue;
        painter.drawLine(x, base, x, base - s.tickLength);
        const int row = static_cast<int>(tick.value);
        const QString label = cellText_ ? cellText_(row, 0) : QString::number(tick.value, 'g', 6);
        const int width = metrics.horizontalAdvance(label);
        // The date-time is wider than the number that decided the fit: keep it on the ruler.
        const int left = std::max(start, std::min(x - width / 2, rect.right() - captionWidth - width));
        painter.drawText(QRect(left, labelTop, width + 1, textHeight),
                         Qt::AlignCenter | Qt::TextDontClip, label);
    }
    painter.drawText(QRect(rect.right() - captionWidth, labelTop, captionWidth, textHeight),
                     Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip, caption);
    painter.restore();
}
