#include "stats/WindRosePainter.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kWedgeHalfWidth = 9.0; // degrees of the 22.5 of a sector
constexpr const char* kCompass[] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};

QString ansi(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString percent(double share, int decimals)
{
    return QString::number(share * 100.0, 'f', decimals) + QStringLiteral(" %");
}

} // namespace

QColor windRoseClassColour(int speedClass)
{
    static const QColor kColours[CWindRose::kClasses] = {
        QColor(0xc6, 0xdb, 0xef), QColor(0x6b, 0xae, 0xd6), QColor(0x21, 0x71, 0xb5),
        QColor(0xfd, 0xae, 0x61), QColor(0xf4, 0x6d, 0x43), QColor(0xa5, 0x00, 0x26)};
    return kColours[std::clamp(speedClass, 0, CWindRose::kClasses - 1)];
}

double windRoseRingStep(double largestShare)
{
    for (double step : {0.01, 0.02, 0.05, 0.1, 0.2, 0.25})
        if (largestShare <= step * 5)
            return step;
    return 0.25;
}

WindRoseLayout windRoseLayout(const QRect& rect, const QFontMetrics& metrics)
{
    // The title on top, the legend on the right, the rose in the square left of it with room
    // for the compass points around it.
    const int line = metrics.lineSpacing();
    const int margin = line / 2 + 2;
    WindRoseLayout layout;
    layout.legendWidth =
        metrics.horizontalAdvance(QStringLiteral("Calm (below 0.5): 100.0 %")) + 16;
    layout.legendLeft = rect.right() - layout.legendWidth - margin + 8;
    const QRect plot(rect.left() + margin, rect.top() + line + margin,
                     std::max(1, rect.width() - layout.legendWidth - 2 * margin),
                     std::max(1, rect.height() - line - 2 * margin));
    layout.radius = std::max(1, std::min(plot.width(), plot.height()) / 2 - (line + 4));
    layout.centre = QRectF(plot).center();
    return layout;
}

void paintWindRose(QPainter& painter, const QRect& rect, const CWindRose& rose,
                   const std::string& speedUnit, const QString& title)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(rect, Qt::white);
    const QFontMetrics metrics = painter.fontMetrics();
    const int line = metrics.lineSpacing();
    const int margin = line / 2 + 2;

    painter.setPen(Qt::black);
    painter.drawText(
        QRect(rect.left() + margin, rect.top() + margin / 2, rect.width() - 2 * margin, line),
        Qt::AlignLeft | Qt::AlignVCenter, title);

    const WindRoseLayout layout = windRoseLayout(rect, metrics);
    const QPointF centre = layout.centre;
    const double radius = layout.radius;
    const int labelRoom = line + 4;

    const double largest = rose.largestSectorShare();
    const double step = windRoseRingStep(largest);
    const double outer = std::max(step, std::ceil(largest / step - 1e-9) * step);
    const int rings = static_cast<int>(std::lround(outer / step));

    // Rings and their shares, then the spokes and compass points.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 0, Qt::DashLine));
    for (int i = 1; i <= rings; ++i) {
        const double r = radius * i / rings;
        painter.drawEllipse(centre, r, r);
    }
    for (int i = 0; i < 8; ++i) {
        const double a = i * 45.0 * M_PI / 180.0;
        painter.drawLine(centre, centre + QPointF(std::sin(a), -std::cos(a)) * radius);
    }
    painter.setPen(Qt::black);
    for (int i = 0; i < 8; ++i) {
        const double a = i * 45.0 * M_PI / 180.0;
        const QPointF at = centre + QPointF(std::sin(a), -std::cos(a)) * (radius + labelRoom / 2.0);
        const QString name = QString::fromLatin1(kCompass[i]);
        const QRectF box(at.x() - 20, at.y() - line / 2.0, 40, line);
        painter.drawText(box, Qt::AlignCenter, name);
    }

    // Wedges: the outer classes first, each inner one painted over it.
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 0));
    for (int s = 0; s < CWindRose::kSectors; ++s) {
        double cumulative = rose.sectorShare(s);
        for (int c = CWindRose::kClasses - 1; c >= 0; --c) {
            if (rose.count(s, c) > 0) {
                const double r = radius * cumulative / outer;
                const QRectF box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
                const double start = 90.0 - s * 22.5 - kWedgeHalfWidth;
                painter.setBrush(windRoseClassColour(c));
                painter.drawPie(box, static_cast<int>(std::lround(start * 16)),
                                static_cast<int>(std::lround(2 * kWedgeHalfWidth * 16)));
            }
            cumulative -= rose.share(s, c);
        }
    }
    // Ring labels along the north-east spoke, over the wedges.
    painter.setPen(QColor(0x60, 0x60, 0x60));
    for (int i = 1; i <= rings; ++i) {
        const double r = radius * i / rings;
        const QPointF at = centre + QPointF(std::sin(M_PI / 8), -std::cos(M_PI / 8)) * r;
        const QString text = percent(step * i, 0);
        const QRectF box(at.x() + 2, at.y() - line, metrics.horizontalAdvance(text) + 4, line);
        painter.fillRect(box, QColor(255, 255, 255, 200)); // legible over the wedges
        painter.drawText(box, Qt::AlignCenter, text);
    }

    // Legend.
    int y = rect.top() + line + margin;
    const int x = layout.legendLeft;
    const int legendWidth = layout.legendWidth;
    painter.setPen(Qt::black);
    painter.drawText(QRect(x, y, legendWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                     speedUnit.empty() ? QStringLiteral("Speed")
                                       : QStringLiteral("Speed, ") + ansi(speedUnit));
    y += line + 2;
    for (int c = CWindRose::kClasses - 1; c >= 0; --c) {
        painter.setPen(QColor(0x40, 0x40, 0x40));
        painter.setBrush(windRoseClassColour(c));
        painter.drawRect(QRect(x, y + 2, line - 4, line - 4));
        painter.setPen(Qt::black);
        painter.drawText(QRect(x + line + 2, y, legendWidth - line, line),
                         Qt::AlignLeft | Qt::AlignVCenter, ansi(CWindRose::className(c)));
        y += line + 2;
    }
    y += line / 2;
    const QString lines[] = {QStringLiteral("Calm (below 0.5): ") + percent(rose.calmShare(), 1),
                             QStringLiteral("Samples: %1").arg(rose.total()),
                             QStringLiteral("Missing: %1").arg(rose.missing())};
    for (const QString& text : lines) {
        painter.drawText(QRect(x, y, legendWidth, line), Qt::AlignLeft | Qt::AlignVCenter, text);
        y += line + 2;
    }
    if (rose.total() == 0) {
        painter.drawText(QRectF(centre.x() - 100, centre.y() - line, 200, 2 * line),
                         Qt::AlignCenter, QStringLiteral("No wind samples"));
    }
    painter.restore();
}
