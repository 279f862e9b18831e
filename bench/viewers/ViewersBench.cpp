// The file viewers at scale, offscreen: record files of 1,000,000 and 10,000,000 lines opened in
// the record viewer (reading, graph build, first paint of table and graph; the memory the
// viewer holds beyond the mapped file, per row), Graph Settings with all 13 channels, a table
// scroll step and a graph pan step, Copy Table of the million rows, and a log file of 200,000
// records with three instrument blocks opened in the log viewer and switched between blocks;
// small hostile files refused by both viewers. Run: bench_viewers (the 10,000,000-line file,
// 1.27 GB, is written when first needed).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <map>
#include <memory>
#include <string>

#include "bench/support/BenchFolder.h"
#include "bench/support/NoFileDialog.h"
#include "bench/support/OffscreenBenchmarks.h"
#include "bench/support/PatternFiles.h"
#include "bench/support/ProcessFigures.h"
#include "bench/support/SilentMessages.h"
#include "chart/GraphPanel.h"
#include "chart/GraphWnd.h"
#include "chart/PlotMath.h"
#include "chart/PlotRenderer.h"
#include "core/Channels.h"
#include "tools/demo-files/DemoFiles.h"
#include "viewers/DispayLoggedDataDlg.h"
#include "viewers/ViewFileDlg.h"

namespace {

constexpr int kLogRecords = 200000;
constexpr int kLogBlocks = 3;
const QSize kViewerSize(1600, 1000);

// The generated files in a temporary folder, removed at exit.
const CBenchFolder& files()
{
    static const CBenchFolder folder("ventora-viewers", [](const CBenchFolder& f) {
        return writeDemoLogFile(f.path("three.lvt"), kLogRecords, kLogBlocks) &&
               writeHashLinesFile(f.path("hash.ivt"), 40 << 20) &&
               writeManyBlocksLogFile(f.path("blocks.lvt"));
    });
    return folder;
}

// A record file of that many lines, as chart-demo --generate writes it: written when first
// asked for, outside the timings.
std::string recordFile(int lines)
{
    static std::map<int, std::string> written;
    auto [at, added] = written.emplace(lines, files().path(std::to_string(lines) + ".ivt"));
    if (added && !writeDemoRecordFile(at->second, lines)) {
        std::fprintf(stderr, "cannot write %s\n", at->second.c_str());
        std::abort();
    }
    return at->second;
}
std::string logFile() { return files().path("three.lvt"); }

// The memory a viewer holds besides the file it maps: what the process holds that is not a
// file mapped into it.
double anonymousMB() { return statusMB("RssAnon:"); }

CSilentMessages silent;
CNoFileDialog noDialog;

CViewerContext context(const std::string& path)
{
    return {path, files().directory(), silent, noDialog, nullptr};
}

// Shows the viewer and paints all of it (table and graph) once.
void showAndPaint(QWidget& viewer)
{
    viewer.resize(kViewerSize);
    viewer.show();
    QApplication::processEvents();
    viewer.repaint();
}

// From Open to the first painted table and graph, with the four channels shown at first; the
// memory the open viewer holds beyond the mapped file, in all and per row.
void BM_RecordViewerOpen(benchmark::State& state)
{
    const std::string file = recordFile(static_cast<int>(state.range(0)));
    double peak = 0, held = 0, rows = 0;
    for (auto _ : state) {
        resetPeakMemory();
        const double before = anonymousMB();
        auto viewer = std::make_unique<CViewFileDlg>(context(file));
        showAndPaint(*viewer);
        state.PauseTiming();
        held = anonymousMB() - before;
        peak = std::max(peak, statusMB("VmHWM:"));
        rows = static_cast<double>(viewer->rows().rowCount());
        viewer.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
    state.counters["held_MB"] = held;
    state.counters["bytes_per_row"] = held * 1024 * 1024 / rows;
    state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_RecordViewerOpen)
    ->Unit(benchmark::kMillisecond)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// Graph Settings closed with all 13 channels ticked: the rebuild and its render.
void BM_RecordGraphSettingsAll13(benchmark::State& state)
{
    CViewFileDlg viewer(context(recordFile(static_cast<int>(state.range(0)))));
    showAndPaint(viewer);
    const double before = anonymousMB();
    for (auto _ : state) {
        viewer.visibility().assign(kChannelCount, 1);
        viewer.buildGraph();
        viewer.graph()->panel()->render();
    }
    // What the nine more channels' graph adds to the open viewer.
    state.counters["added_MB"] = anonymousMB() - before;
}
BENCHMARK(BM_RecordGraphSettingsAll13)
    ->Unit(benchmark::kMillisecond)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Iterations(3);

// Scrolling the table by a page (the list repaints) and panning the graph by 40 pixels (the
// panel re-renders), with all 13 channels shown.
void BM_RecordScrollAndPan(benchmark::State& state)
{
    CViewFileDlg viewer(context(recordFile(static_cast<int>(state.range(0)))));
    viewer.visibility().assign(kChannelCount, 1);
    viewer.buildGraph();
    showAndPaint(viewer);
    QScrollBar* scroll = viewer.table().verticalScrollBar();
    CGraphPanel* panel = viewer.graph()->panel();
    const CAxisMap x = plotXMap(panel->rect(), panel->ranges());
    const CAxisMap y = plotYMap(panel->rect(), panel->ranges());
    int step = 0;
    for (auto _ : state) {
        scroll->setValue((scroll->value() + scroll->pageStep() * 997) % scroll->maximum());
        viewer.table().viewport()->repaint();
        const int dx = step++ % 2 ? 40 : -40;
        panel->setRanges(panRanges(panel->ranges(), x, y, 0, 0, dx, 0), true);
    }
}
BENCHMARK(BM_RecordScrollAndPan)
    ->Unit(benchmark::kMillisecond)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Iterations(20);

void BM_CopyTable(benchmark::State& state)
{
    CViewFileDlg viewer(context(recordFile(1000000)));
    for (auto _ : state) {
        viewer.OnCopyTable();
        state.PauseTiming();
        QGuiApplication::clipboard()->clear();
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(viewer.rows().rowCount());
    state.counters["ns_per_row"] = benchmark::Counter(
        static_cast<double>(viewer.rows().rowCount()) * 1e-9,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CopyTable)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LogViewerOpen(benchmark::State& state)
{
    double peak = 0;
    for (auto _ : state) {
        resetPeakMemory();
        auto viewer = std::make_unique<CDispayLoggedDataDlg>(context(logFile()));
        showAndPaint(*viewer);
        state.PauseTiming();
        peak = std::max(peak, statusMB("VmHWM:"));
        state.counters["rows"] = static_cast<double>(viewer->rows().rowCount());
        state.counters["blocks"] = viewer->rows().blockCount();
        viewer.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_LogViewerOpen)->Unit(benchmark::kMillisecond)->Iterations(3);

// "CURRENT PLOT" choosing the next block: graph rebuild and render.
void BM_LogBlockChoice(benchmark::State& state)
{
    CDispayLoggedDataDlg viewer(context(logFile()));
    showAndPaint(viewer);
    int block = 0;
    for (auto _ : state) {
        block = (block + 1) % kLogBlocks;
        viewer.OnBlockChoice(block);
        viewer.graph()->panel()->render();
    }
}
BENCHMARK(BM_LogBlockChoice)->Unit(benchmark::kMillisecond)->Iterations(6);

// Small hostile files opened in the viewers: 0, a log file of 2 MB whose first record has a
// million data lines, in the log viewer; 1, 40 MB of "#" lines in the record viewer. Each ends
// with the open-failure message and an empty viewer.
void BM_ViewerRefusesHostileFile(benchmark::State& state)
{
    const bool log = state.range(0) == 0;
    const std::string path = files().path(log ? "blocks.lvt" : "hash.ivt");
    for (auto _ : state) {
        std::unique_ptr<CViewerDialog> viewer;
        if (log)
            viewer = std::make_unique<CDispayLoggedDataDlg>(context(path));
        else
            viewer = std::make_unique<CViewFileDlg>(context(path));
        showAndPaint(*viewer);
        if (viewer->rows().rowCount() != 0 || viewer->graph())
            state.SkipWithError("a hostile file was shown");
    }
    state.SetLabel(log ? "log viewer, 2 MB" : "record viewer, 40 MB of # lines");
}
BENCHMARK(BM_ViewerRefusesHostileFile)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv, [] { files(); }); // written before any timing
}
