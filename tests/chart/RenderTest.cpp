// The reduced drawing must give the picture of drawing every point.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <random>

#include "chart/GraphBaseClass.h"
#include "chart/PlotRenderer.h"
#include "chart/SeriesReduction.h"
#include "tests/chart/VectorValues.h"

namespace {

void fill(CGraphBaseClass& graph, int series, int points, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, 1);
    for (int s = 0; s < series; ++s) {
        const int index = graph.addSeries(0x1F3F5F * static_cast<unsigned>(s + 1), "s");
        CPointsCollection& c = graph.getSeries(index)->points();
        c.reserve(points);
        double level = s * 3;
        for (int i = 0; i < points; ++i) {
            level += noise(random) * 0.05;
            c.addPoint(i, level + noise(random) * (i % 5000 < 2500 ? 0.3 : 2) +
                              (i % 7919 == 0 ? 15 : 0));
        }
    }
}

QImage draw(const CGraphBaseClass& graph, const PlotRanges& ranges, bool marks,
            SeriesDrawing drawing)
{
    QImage image(640, 360, QImage::Format_RGB32);
    QPainter painter(&image);
    renderSeries(painter, image.rect(), graph, ranges, marks, 2, drawing);
    return image;
}

// Pixels may differ only at the ends of vertical runs: a differing pixel must continue, above
// or below, a pixel that both pictures paint alike.
void expectSamePicture(const QImage& a, const QImage& b, const char* what)
{
    ASSERT_EQ(a.size(), b.size());
    int differing = 0, unexplained = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) == b.pixel(x, y))
                continue;
            ++differing;
            bool runEnd = false;
            for (int dy : {-1, 1}) {
                const int ny = y + dy;
                if (ny < 0 || ny >= a.height())
                    continue;
                const QRgb p = a.pixel(x, ny);
                if (p == b.pixel(x, ny) && p != qRgb(255, 255, 255) &&
                    (p == a.pixel(x, y) || p == b.pixel(x, y)))
                    runEnd = true;
            }
            unexplained += runEnd ? 0 : 1;
        }
    EXPECT_EQ(unexplained, 0) << what << ": " << differing << " pixels differ";
}

TEST(Render, ReducedDrawingMatchesEveryPoint)
{
    CGraphBaseClass graph(32);
    fill(graph, 4, 200000, 3);
    const PlotRanges views[] = {
        {0, 199999, -10, 25},       // everything: thousands of points per column
        {50000, 52000, -10, 25},    // zoomed: a few points per column
        {99990.5, 100120, -5, 15},  // fewer points than columns
        {-5000, 30000, 0, 8},       // data starts inside the view, some off the top
    };
    for (const PlotRanges& view : views) {
        for (bool marks : {false, true}) {
            const QImage reduced = draw(graph, view, marks, SeriesDrawing::Reduced);
            const QImage every = draw(graph, view, marks, SeriesDrawing::EveryPoint);
            expectSamePicture(reduced, every,
                              (std::to_string(view.xFrom) + (marks ? " marks" : "")).c_str());
        }
    }
}

TEST(Render, HiddenSeriesAndEmptyGraphDrawOnlyBackground)
{
    CGraphBaseClass graph(4);
    fill(graph, 1, 100, 1);
    graph.getSeries(0)->setVisible(false);
    const QImage image = draw(graph, {0, 99, -5, 5}, true, SeriesDrawing::Reduced);
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255));
}

TEST(Render, ConstantSeriesIsAFlatLineInTheMiddle)
{
    CGraphBaseClass graph(4);
    const int s = graph.addSeries(0xFF0000, "flat");
    for (int i = 0; i < 50; ++i)
        graph.addPoint(s, i, 5, false);
    DataBounds b;
    ASSERT_TRUE(graph.getDataBounds(b));
    const PlotRanges view = zoomResetRanges(b.minX, b.maxX, b.minY, b.maxY);
    EXPECT_DOUBLE_EQ(view.yFrom, 4.5);
    EXPECT_DOUBLE_EQ(view.yTo, 5.5);
    const QImage image = draw(graph, view, false, SeriesDrawing::Reduced);
    const int middle = plotYMap(image.rect(), view).toPixel(5);
    EXPECT_NEAR(middle, image.height() / 2, 1);
    for (int x = 0; x < image.width(); ++x)
        ASSERT_EQ(image.pixel(x, middle), qRgb(255, 0, 0)) << x;
    // Equal ends given directly (no zoom reset) also draw in the middle, not off the bitmap.
    const QImage direct = draw(graph, {0, 49, 5, 5}, false, SeriesDrawing::Reduced);
    EXPECT_EQ(direct.pixel(100, direct.height() / 2 - 1 + (direct.height() - 1) % 2),
              qRgb(255, 0, 0));
}

// Points that are not finite, first or anywhere else, change nothing: either drawing gives the
// picture of the series without them.
TEST(Render, PointsThatAreNotFiniteChangeNothingInEitherDrawing)
{
    CGraphBaseClass clean(4), dirty(4);
    fill(clean, 2, 20000, 9);
    const double nan = std::nan(""), inf = HUGE_VAL;
    for (int s = 0; s < 2; ++s) {
        dirty.addSeries(clean.getSeries(s)->colour(), "s");
        CPointsCollection& c = dirty.getSeries(s)->points();
        c.addPoint(-1, nan); // first: once it made the whole y range NaN
        for (const GraphPoint& p : clean.getSeries(s)->points().points()) {
            c.addPoint(p.x, p.y);
            if (static_cast<int>(p.x) % 13 == 5)
                c.addPoint(p.x + 0.5, static_cast<int>(p.x) % 2 ? -inf : nan);
        }
        c.addPoint(nan, 3);
        c.addPoint(inf, 3);
    }
    DataBounds cleanBounds, dirtyBounds;
    ASSERT_TRUE(dirty.getDataBounds(dirtyBounds));
    clean.getDataBounds(cleanBounds);
    EXPECT_EQ(dirtyBounds.minY, cleanBounds.minY);
    EXPECT_EQ(dirtyBounds.maxY, cleanBounds.maxY);
    const PlotRanges view = zoomResetRanges(cleanBounds.minX, cleanBounds.maxX, cleanBounds.minY,
                                            cleanBounds.maxY);
    for (const PlotRanges& v : {view, PlotRanges{9000, 9400, -10, 10}}) {
        for (bool marks : {false, true}) {
            for (SeriesDrawing drawing : {SeriesDrawing::Reduced, SeriesDrawing::EveryPoint}) {
                EXPECT_TRUE(draw(dirty, v, marks, drawing) == draw(clean, v, marks, drawing))
                    << v.xFrom << (marks ? " marks" : "")
                    << (drawing == SeriesDrawing::Reduced ? " reduced" : " every point");
            }
        }
    }
}

// Zoomed in a million times on a line to a far-off point: the part in view keeps its slope.
TEST(Render, ExtremeZoomKeepsTheSlopeOfLines)
{
    CGraphBaseClass graph(4);
    const int s = graph.addSeries(0x0000FF, "line");
    graph.addPoint(s, 0, 0, false);
    graph.addPoint(s, 1e6, 5e5, false); // y = x / 2
    const PlotRanges view{0, 1, 0, 1};
    for (SeriesDrawing drawing : {SeriesDrawing::Reduced, SeriesDrawing::EveryPoint}) {
        const QImage image = draw(graph, view, false, drawing);
        const CAxisMap x = plotXMap(image.rect(), view), y = plotYMap(image.rect(), view);
        int painted = 0;
        for (int py = 0; py < image.height(); ++py)
            for (int px = 0; px < image.width(); ++px) {
                if (image.pixel(px, py) == qRgb(255, 255, 255))
                    continue;
                ++painted;
                const double expected = y.pixelAt(x.toValue(px) / 2);
                ASSERT_NEAR(py, expected, 1.5) << px;
            }
        EXPECT_GE(painted, image.width() - 1);
    }
}

} // namespace

// Marks as drawn now (the rows each column's marks paint, one rectangle per run) against a
// square on every distinct pixel, as they were drawn before, picture against picture; and a
// series read from indexed values against the same points held in the series.
TEST(Render, MarksAndIndexedSeriesDrawTheSamePixels)
{
    CGraphBaseClass arrays(32), indexed(32);
    fill(arrays, 3, 60000, 9);
    for (int s = 0; s < 3; ++s) {
        std::vector<double> ys;
        for (const GraphPoint& p : arrays.getSeries(s)->points().points())
            ys.push_back(p.y);
        const int index = indexed.addSeries(arrays.getSeries(s)->colour(), "s");
        indexed.setSeriesValues(index, std::make_shared<CVectorValues>(std::move(ys)), false);
    }
    const PlotRanges views[] = {{0, 59999, -10, 15}, {20000, 21000, -10, 15}, {500.5, 620, -4, 8}};
    for (const PlotRanges& view : views) {
        for (int half : {0, 2, 4}) {
            QImage every(240, 160, QImage::Format_RGB32), runs(240, 160, QImage::Format_RGB32);
            every.fill(Qt::white);
            runs.fill(Qt::white);
            const CAxisMap x = plotXMap(every.rect(), view), y = plotYMap(every.rect(), view);
            QPainter paintEvery(&every), paintRuns(&runs);
            paintEvery.setClipRect(every.rect());
            for (int s = 0; s < 3; ++s) {
                const CPointsCollection& points = arrays.getSeries(s)->points();
                const QColor colour = seriesColour(*arrays.getSeries(s));
                std::vector<PathPoint> path;
                distinctPixelPath(points, x, y, path);
                for (const PathPoint& p : path)
                    paintEvery.fillRect(p.pixel().x - half, p.pixel().y - half, 2 * half + 1,
                                        2 * half + 1, colour);
                std::vector<MarkRun> marks;
                reducedMarkRuns(points, x, y, 0, 239, 0, 159, half, marks);
                for (const MarkRun& run : marks)
                    paintRuns.fillRect(run.column - half, run.top, 2 * half + 1,
                                       run.bottom - run.top + 1, colour);
            }
            paintEvery.end();
            paintRuns.end();
            EXPECT_TRUE(runs == every) << view.xFrom << " half " << half;
        }
        for (bool marks : {false, true})
            EXPECT_TRUE(draw(indexed, view, marks, SeriesDrawing::Reduced) ==
                        draw(arrays, view, marks, SeriesDrawing::Reduced))
                << view.xFrom << (marks ? " marks" : "");
    }
}
