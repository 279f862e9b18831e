#include "chart/PlotRenderer.h"

#include <QPaintDevice>
#include <QLine>
#include <algorithm>

#include "chart/SeriesReduction.h"

CAxisMap plotXMap(const QRect& rect, const PlotRanges& ranges)
{
    return CAxisMap::make(rect.left(), rect.right(), ranges.xFrom, ranges.xTo);
}

CAxisMap plotYMap(const QRect& rect, const PlotRanges& ranges)
{
    return CAxisMap::make(rect.bottom(), rect.top(), ranges.yFrom, ranges.yTo);
}

int markHalfSize(const QPaintDevice* device)
{
    return device ? device->logicalDpiY() / 35 : 96 / 35;
}

QColor seriesColour(const CGraphProps& series)
{
    const std::uint32_t c = series.colour();
    return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

namespace {

void drawMarks(QPainter& painter, const std::vector<PixelPoint>& centres, int half,
               const QColor& colour)
{
    const int side = 2 * half + 1;
    for (const PixelPoint& p : centres)
        painter.fillRect(p.x - half, p.y - half, side, side, colour);
}

// The same squares, but those of one column that touch or overlap are filled as one rectangle.
void drawMarkRuns(QPainter& painter, std::vector<PixelPoint>& centres, int half,
                  const QColor& colour)
{
    const int side = 2 * half + 1;
    std::sort(centres.begin(), centres.end(), [](const PixelPoint& a, const PixelPoint& b) {
        return a.x != b.x ? a.x < b.x : a.y < b.y;
    });
    for (std::size_t i = 0; i < centres.size();) {
        const int x = centres[i].x;
        const int top = centres[i].y - half;
        int bottom = centres[i].y + half;
        std::size_t j = i + 1;
        while (j < centres.size() && centres[j].x == x && centres[j].y - half <= bottom + 1)
            bottom = std::max(bottom, centres[j++].y + half);
        painter.fillRect(x - half, top, side, bottom - top + 1, colour);
        i = j;
    }
}

void drawSeries(QPainter& painter, const QRect& rect, const CGraphProps& series,
                const CAxisMap& x, const CAxisMap& y, bool marks, int half, SeriesDrawing drawing,
                std::vector<PixelPoint>& scratch, std::vector<QLine>& lines)
{
    const QColor colour = seriesColour(series);
    painter.setPen(QPen(colour, 0)); // cosmetic: one device pixel wide
    const CPointsCollection& points = series.points();
    const bool reduce = drawing == SeriesDrawing::Reduced && canReduce(points, x);
    if (reduce)
        reducedPixelPath(points, x, y, rect.left(), rect.right(), scratch);
    else
        distinctPixelPath(points, x, y, scratch);
    // Each segment is drawn as a line of its own, as the plain drawing does, so that both
    // paths rasterise alike.
    lines.resize(scratch.empty() ? 0 : scratch.size() - 1);
    for (std::size_t i = 1; i < scratch.size(); ++i)
        lines[i - 1] = QLine(scratch[i - 1].x, scratch[i - 1].y, scratch[i].x, scratch[i].y);
    if (!lines.empty())
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    else if (scratch.size() == 1)
        painter.drawPoint(scratch[0].x, scratch[0].y);
    if (!marks)
        return;
    if (!reduce) {
        drawMarks(painter, scratch, half, colour);
        return;
    }
    reducedMarkPixels(points, x, y, rect.left(), rect.right(), rect.top(), rect.bottom(), half,
                      scratch);
    drawMarkRuns(painter, scratch, half, colour);
}

} // namespace

void renderSeries(QPainter& painter, const QRect& rect, const CGraphBaseClass& graph,
                  const PlotRanges& ranges, bool marks, int markHalf, SeriesDrawing drawing)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect.adjusted(-1, -1, 1, 1), Qt::white);
    painter.setClipRect(rect);
    const CAxisMap x = plotXMap(rect, ranges), y = plotYMap(rect, ranges);
    std::vector<PixelPoint> scratch;
    std::vector<QLine> lines;
    int position = -1;
    for (const CGraphProps* s = graph.firstSeries(position); s; s = graph.nextSeries(position)) {
        if (!s->visible() || s->points().empty() || !s->hasDrawingTools())
            continue;
        drawSeries(painter, rect, *s, x, y, marks, markHalf, drawing, scratch, lines);
    }
    painter.restore();
}

void drawGrid(QPainter& painter, const QRect& rect, const std::vector<int>& xs,
              const std::vector<int>& ys)
{
    painter.save();
    painter.setClipRect(rect);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
    for (int x : xs)
        painter.drawLine(x, rect.bottom(), x, rect.top());
    for (int y : ys)
        painter.drawLine(rect.left(), y, rect.right(), y);
    painter.restore();
}

QRect drawAddedSegment(QPainter& painter, const QRect& rect, const CGraphProps& series, int index,
                       const PlotRanges& ranges, bool marks, int markHalf)
{
    const CPointsCollection& points = series.points();
    if (index < 0 || index >= points.count())
        return {};
    const CAxisMap x = plotXMap(rect, ranges), y = plotYMap(rect, ranges);
    const QPoint now(x.toPixel(points.at(index).x), y.toPixel(points.at(index).y));
    QPoint before = now;
    if (index > 0)
        before = QPoint(x.toPixel(points.at(index - 1).x), y.toPixel(points.at(index - 1).y));
    if (index > 0 && before == now)
        return {}; // same pixel: nothing new to draw
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(rect);
    const QColor colour = seriesColour(series);
    painter.setPen(QPen(colour, 0));
    if (index > 0)
        painter.drawLine(before, now);
    else
        painter.drawPoint(now);
    if (marks)
        drawMarks(painter, {{now.x(), now.y()}}, markHalf, colour);
    painter.restore();
    const int grow = markHalf + 2;
    return QRect(before, now).normalized().adjusted(-grow, -grow, grow, grow);
}
