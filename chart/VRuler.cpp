#include "chart/VRuler.h"

#include <QFontMetrics>
#include <QPainter>

#include "chart/PlotMath.h"
#include "controls/AnsiText.h"

FVRuler::FVRuler(QWidget* parent) : FRuler(parent) {}

int FVRuler::tickCapacity(const QPaintDevice* device, const QRect& rect) const
{
    return capacityFor(device, rect.height(), device->logicalDpiX());
}

std::string FVRuler::paintedCaption(int exponent) const
{
    std::string text = caption();
    if (exponent != 0)
        text += "E" + std::to_string(exponent);
    return text;
}

namespace {

// Text turned by 90 degrees (reading upwards), centred on (x, y) along the ruler, with its
// lower edge (the side facing the plot) at x.
void drawUpright(QPainter& painter, int x, int y, const QString& text, const QFontMetrics& m)
{
    painter.save();
    painter.translate(x, y);
    painter.rotate(-90);
    const int width = m.horizontalAdvance(text);
    painter.drawText(QRect(-width / 2, -m.height(), width + 1, m.height()),
                     Qt::AlignCenter | Qt::TextDontClip, text);
    painter.restore();
}

} // namespace

void FVRuler::paintRuler(QPainter& painter, const QRect& rect) const
{
    const QPaintDevice* device = painter.device();
    const RulerSizes s = sizesFor(device->logicalDpiX());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect, palette().color(QPalette::Window));
    painter.setPen(QPen(Qt::black, 0));
    const int base = rect.right() - 1;
    const int end = rect.top() + s.margin;
    painter.drawLine(base, rect.bottom(), base, end);
    if (rect.width() < s.margin || rect.height() <= s.margin + 5) {
        painter.restore();
        return;
    }
    const QFont font = labelFont(s.fontHeight, device);
    painter.setFont(font);
    const QFontMetrics metrics(font, const_cast<QPaintDevice*>(device));
    const TickSet ticks = computeTicks(rangeFrom(), rangeTo(), tickCapacity(device, rect));
    const CAxisMap map = CAxisMap::make(rect.bottom(), end, rangeFrom(), rangeTo());
    const QString caption = fromAnsi(paintedCaption(ticks.exponent));
    const int captionLength = metrics.horizontalAdvance(caption) + s.captionGap;
    const int labelsEnd = rect.top() + captionLength; // labels stay below the caption
    const int labelX = base - s.tickLength - 1;

    for (const Tick& tick : ticks.ticks) {
        const int y = map.toPixel(tick.value);
        painter.drawLine(base, y, base - s.tickLength, y);
        const QString label = QString::fromStdString(tickLabel(tick));
        const int width = metrics.horizontalAdvance(label);
        // Along the ruler, "fits" means between the caption and the bottom.
        if (y - width / 2 >= labelsEnd && y - width / 2 + width <= rect.bottom())
            drawUpright(painter, labelX, y, label, metrics);
    }
    for (double half : halfStepMarks(ticks, rangeFrom(), rangeTo())) {
        const int y = map.toPixel(unscaledValue(ticks, half));
        painter.drawLine(base, y, base - s.tickLength, y);
    }
    drawUpright(painter, labelX, rect.top() + captionLength / 2, caption, metrics);
    painter.restore();
}
