#include "chart/Ruler.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "controls/AnsiText.h"

FRuler::FRuler(QWidget* parent) : QWidget(parent)
{
    setToolTipDuration(32767);
}

void FRuler::setRange(double from, double to, bool redraw)
{
    from_ = from;
    to_ = to;
    if (redraw)
        repaint();
}

void FRuler::setCaptionAndToolTip(const std::string& caption, const std::string& toolTipText)
{
    caption_ = caption;
    toolTipText_ = toolTipText;
    setToolTip(fromAnsi(toolTipText));
}

namespace {

int inches(double value, int dpi)
{
    return std::max(1, static_cast<int>(value * dpi));
}

} // namespace

RulerSizes FRuler::sizesFor(int dpi)
{
    return {inches(1.0 / 6, dpi), inches(1.0 / 6 * 100 / 113, dpi), inches(1.0 / 24, dpi),
            inches(1.0 / 60, dpi)};
}

int FRuler::thicknessFor(int dpi)
{
    const RulerSizes s = sizesFor(dpi);
    // Room for the tick marks and one line of labels above them, and a little air.
    return std::max(s.margin + 1, s.tickLength + s.fontHeight * 3 / 2 + 2);
}

QFont FRuler::labelFont(int pixelHeight, const QPaintDevice* device) const
{
    if (labelFont_)
        return QFont(*labelFont_, device);
    // Variable pitch, roman family, no face name, normal weight.
    QFont font;
    font.setFamily(QString());
    font.setStyleHint(QFont::Serif, QFont::PreferOutline);
    font.setWeight(QFont::Normal);
    font.setPixelSize(std::max(1, pixelHeight));
    return QFont(font, device);
}

int FRuler::capacityFor(const QPaintDevice* device, int length, int dpi) const
{
    const RulerSizes s = sizesFor(dpi);
    const QFontMetrics metrics(labelFont(s.fontHeight, device), device);
    return ::tickCapacity(length, s.margin, metrics.horizontalAdvance(QStringLiteral("9.99 ")));
}

void FRuler::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintRuler(painter, rect());
}
