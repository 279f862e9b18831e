#include "chart/PlotRenderer.h"

#include <QLine>
#include <QPaintDevice>
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

// What the marks of the columns paint, one rectangle per run of painted rows of a column.
void drawMarkRuns(QPainter& painter, const std::vector<MarkRun>& runs, int half,
                  const QColor& colour)
{
    const int side = 2 * half + 1;
    for (const MarkRun& run : runs)
        painter.fillRect(run.column - half, run.top, side, run.bottom - run.top + 1, colour);
}

// Scratch space reused for every series of a render.
struct SeriesScratch {
    std::vector<PathPoint> path;
    std::vector<PixelLine> clipped;
    std::vector<QLine> lines;
    std::vector<PixelPoint> marks;
    std::vector<MarkRun> runs;
};

void drawSeries(QPainter& painter, const QRect& rect, const CGraphProps& series, const CAxisMap& x,
                const CAxisMap& y, bool marks, int half, SeriesDrawing drawing,
                SeriesScratch& scratch)
{
    const QColor colour = seriesColour(series);
    painter.setPen(QPen(colour, 0)); // cosmetic: one device pixel wide
    const CPointsCollection& points = series.points();
    const bool reduce = drawing == SeriesDrawing::Reduced && canReduce(points, x);
    if (reduce)
        reducedPixelPath(points, x, y, rect.left(), rect.right(), scratch.path);
    else
        distinctPixelPath(points, x, y, scratch.path);
    // Each segment is drawn as a line of its own, as the plain drawing does, so that both
    // paths rasterise alike.
    clipPathLines(scratch.path, rect.left(), rect.top(), rect.right(), rect.bottom(),
                  scratch.clipped);
    scratch.lines.resize(scratch.clipped.size());
    for (std::size_t i = 0; i < scratch.clipped.size(); ++i) {
        const PixelLine& l = scratch.clipped[i];
        scratch.lines[i] = QLine(l.from.x, l.from.y, l.to.x, l.to.y);
    }
    if (!scratch.lines.empty())
        painter.drawLines(scratch.lines.data(), static_cast<int>(scratch.lines.size()));
    else if (scratch.path.size() == 1)
        painter.drawPoint(scratch.path[0].pixel().x, scratch.path[0].pixel().y);
    if (!marks)
        return;
    if (!reduce) {
        scratch.marks.clear();
        for (const PathPoint& p : scratch.path)
            scratch.marks.push_back(p.pixel());
        drawMarks(painter, scratch.marks, half, colour);
        return;
    }
    reducedMarkRuns(points, x, y, rect.left(), rect.right(), rect.top(), rect.bottom(), half,
                    scratch.runs);
    drawMarkRuns(painter, scratch.runs, half, colour);
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
    SeriesScratch scratch;
    int position = -1;
    for (const CGraphProps* s = graph.firstSeries(position); s; s = graph.nextSeries(position)) {
        if (!s->visible() || s->points().empty() || !s->hasDrawingTools())
            continue;
        drawSeries(painter, rect, *s, x, y, marks, markHalf, drawing, scratch);
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
    if (index < 0 || index >= points.count() || !points.at(index).finite())
        return {};
    const CAxisMap x = plotXMap(rect, ranges), y = plotYMap(rect, ranges);
    const PathPoint now{x.pixelAt(points.at(index).x), y.pixelAt(points.at(index).y)};
    // The segment comes from the nearest point before that is drawn, as in a full render.
    int previous = index - 1;
    while (previous >= 0 && !points.at(previous).finite())
        --previous;
    std::vector<PixelLine> line;
    if (previous >= 0) {
        const PathPoint before{x.pixelAt(points.at(previous).x), y.pixelAt(points.at(previous).y)};
        if (before == now)
            return {}; // same pixel: nothing new to draw
        clipPathLines({before, now}, rect.left(), rect.top(), rect.right(), rect.bottom(), line);
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(rect);
    const QColor colour = seriesColour(series);
    painter.setPen(QPen(colour, 0));
    const PixelPoint centre = now.pixel();
    if (!line.empty())
        painter.drawLine(line[0].from.x, line[0].from.y, line[0].to.x, line[0].to.y);
    else if (previous < 0)
        painter.drawPoint(centre.x, centre.y);
    if (marks)
        drawMarks(painter, {centre}, markHalf, colour);
    painter.restore();
    QRect changed = QRect(QPoint(centre.x, centre.y), QSize(1, 1));
    if (!line.empty())
        changed = QRect(QPoint(line[0].from.x, line[0].from.y), QPoint(line[0].to.x, line[0].to.y))
                      .normalized();
    if (marks)
        changed |= QRect(QPoint(centre.x, centre.y), QSize(1, 1));
    const int grow = markHalf + 2;
    return changed.adjusted(-grow, -grow, grow, grow) & rect.adjusted(-1, -1, 1, 1);
}
