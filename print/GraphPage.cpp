#include "print/GraphPage.h"

#include <QFontMetrics>
#include <QPainter>
#include <string>

#include "chart/GraphWnd.h"
#include "controls/AnsiText.h"
#include "core/Channels.h"
#include "print/GraphPageLayout.h"
#include "print/PrintFont.h"

namespace {

const std::string kFace = "Times New Roman";

// Text with its top-left corner at the point, as the page's positions are given.
void drawTextAt(QPainter& painter, const PrintPoint& at, const QString& text)
{
    painter.drawText(QPoint(at.x, at.y + painter.fontMetrics().ascent()), text);
}

} // namespace

bool drawGraphPage(QPainter& painter, const QSize& page, CGraphWnd& graph, const QString& title)
{
    const GraphPageLayout layout = graphPageLayout(page.width(), page.height());
    const QPaintDevice& device = *painter.device();
    const auto titleFont = createPrintFont(kFace, layout.titleFontHeight, device, true);
    const auto graphFont = createPrintFont(kFace, layout.graphFontHeight, device, true);
    const auto legendFont = createPrintFont(kFace, layout.legendFontHeight, device);
    const auto channelFont = createPrintFont(kFace, layout.channelFontHeight, device);
    if (!titleFont || !graphFont || !legendFont || !channelFont)
        return false;

    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(*titleFont);
    drawTextAt(painter, layout.title, title);

    const PrintRect& g = layout.graph;
    painter.save(); // the graph leaves its own pens and clipping behind
    graph.drawGraph(painter, QRect(g.left, g.top, g.width(), g.height()), *graphFont);
    painter.restore();

    painter.setPen(Qt::black);
    painter.setFont(*legendFont);
    drawTextAt(painter, layout.legend, QStringLiteral("Legend :"));
    painter.setFont(*channelFont);
    for (int i = 0; i < kChannelCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        drawTextAt(painter, layout.channelName[k], fromAnsi(std::string(channelName(i)) + " "));
        const PrintRect& box = layout.channelBox[k];
        painter.fillRect(QRect(box.left, box.top, box.width(), box.height()),
                         QColor::fromRgb(channelColour(i)));
    }
    painter.restore();
    return true;
}
