// Chart drawing at scale: 13 series of 1,000,000 points into 1600 x 900, a pan step of the
// real panel, and filling a sorted collection. Run: bench_chart [--benchmark_filter=...]
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <random>

#include "bench/support/OffscreenBenchmarks.h"
#include "chart/GraphContainer.h"
#include "chart/GraphPanel.h"
#include "chart/GraphWnd.h"
#include "chart/PlotRenderer.h"
#include "chart/SeriesReduction.h"

namespace {

constexpr int kSeries = 13;
constexpr int kPoints = 1000000;
const QSize kImage(1600, 900);

// Thirteen wind-like series (slow drift, gusts, a marker value now and then).
void fillSeries(CGraphBaseClass& graph)
{
    std::mt19937 random(42);
    std::normal_distribution<double> noise(0, 1);
    for (int s = 0; s < kSeries; ++s) {
        const int index = graph.addSeries(0x102030u * static_cast<unsigned>(s + 1), "Channel");
        CPointsCollection& points = graph.getSeries(index)->points();
        points.reserve(kPoints);
        double level = 10 + s * 5;
        for (int i = 0; i < kPoints; ++i) {
            level += noise(random) * 0.02;
            const double gust = std::sin(i / 3600.0) * 3;
            points.addPoint(i, (i % 86400 == 5) ? -20.0 : level + gust + noise(random));
        }
        points.pyramid(); // built once per series, as the first render would
    }
}

const PlotRanges kFullView{0, kPoints - 1, -30, 90};

CGraphBaseClass& sharedGraph()
{
    static CGraphBaseClass graph(32);
    static bool filled = false;
    if (!filled) {
        fillSeries(graph);
        filled = true;
    }
    return graph;
}

void renderBench(benchmark::State& state, SeriesDrawing drawing, bool marks)
{
    CGraphBaseClass& graph = sharedGraph();
    QImage image(kImage, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        renderSeries(painter, image.rect(), graph, kFullView, marks, 2, drawing);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_RenderReduced(benchmark::State& state) { renderBench(state, SeriesDrawing::Reduced, false); }
void BM_RenderReducedMarks(benchmark::State& state)
{
    renderBench(state, SeriesDrawing::Reduced, true);
}
void BM_RenderEveryPoint(benchmark::State& state)
{
    renderBench(state, SeriesDrawing::EveryPoint, false);
}

void BM_MarkPixelsOnly(benchmark::State& state)
{
    CGraphBaseClass& graph = sharedGraph();
    const QRect rect(QPoint(0, 0), kImage);
    const CAxisMap x = plotXMap(rect, kFullView), y = plotYMap(rect, kFullView);
    std::vector<MarkRun> marks;
    std::vector<PathPoint> path;
    for (auto _ : state) {
        std::size_t n = 0;
        for (int s = 0; s < kSeries; ++s) {
            if (state.range(0))
                reducedMarkRuns(graph.getSeries(s)->points(), x, y, 0, 1599, 0, 899, 2, marks);
            else
                reducedPixelPath(graph.getSeries(s)->points(), x, y, 0, 1599, path);
            n += marks.size() + path.size();
        }
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_MarkPixelsOnly)->Unit(benchmark::kMillisecond)->Arg(0)->Arg(1);

void BM_BuildPyramids(benchmark::State& state)
{
    CGraphBaseClass& graph = sharedGraph();
    for (auto _ : state)
        for (int s = 0; s < kSeries; ++s) {
            CPointsCollection& points = graph.getSeries(s)->points();
            points.setPointY(0, points.at(0).y); // marks everything from index 0 as changed
            benchmark::DoNotOptimize(&points.pyramid());
        }
}

// One Shift-drag step of the real panel: shift the ranges and re-render, grid on.
void BM_PanStep(benchmark::State& state)
{
    CGraphWnd wnd(32);
    for (int s = 0; s < kSeries; ++s) {
        const CGraphProps* source = sharedGraph().getSeries(s);
        const int index = wnd.addSeries(source->colour(), source->title(), false);
        wnd.getSeries(index)->points() = source->points();
        wnd.getSeries(index)->points().pyramid();
    }
    wnd.pointsBarFlags(kBarHide);
    // The viewers' style: extend ranges, grid on, point marks off unless asked.
    wnd.setStyleKeepRanges(kStyleExtendRanges | kStyleGrid |
                           (state.range(0) ? kStylePointMarks : 0u));
    wnd.resize(kImage + QSize(100, 100));
    wnd.show();
    for (int i = 0; i < 3 && wnd.panel()->size() != kImage; ++i) {
        QApplication::processEvents();
        wnd.resize(wnd.size() + kImage - wnd.panel()->size());
        QApplication::processEvents();
    }
    if (wnd.panel()->size() != kImage)
        state.SkipWithError("panel size differs from 1600 x 900");
    wnd.panel()->setRanges(kFullView, true);
    const double step = (kFullView.xTo - kFullView.xFrom) / kImage.width() * 5; // 5 pixels
    int direction = 1;
    for (auto _ : state) {
        PlotRanges r = wnd.panel()->ranges();
        r.xFrom += step * direction;
        r.xTo += step * direction;
        wnd.panel()->setRanges(r, true);
        direction = -direction;
    }
}

void BM_AddSortedIncreasing(benchmark::State& state)
{
    for (auto _ : state) {
        CPointsCollection points;
        for (int i = 0; i < kPoints; ++i)
            points.addPoint(i, i % 100);
        benchmark::DoNotOptimize(points.count());
    }
}

} // namespace

BENCHMARK(BM_RenderReduced)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderReducedMarks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderEveryPoint)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BuildPyramids)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanStep)->Unit(benchmark::kMillisecond)->Arg(0)->Arg(1)->ArgName("marks");
BENCHMARK(BM_AddSortedIncreasing)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return runOffscreenBenchmarks(argc, argv); }
