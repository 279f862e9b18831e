// The file viewers at scale, offscreen: a record file of 1,000,000 lines opened in the record
// viewer (reading, graph build, first paint of table and graph; peak resident memory of the
// process), Graph Settings with all 13 channels, a table scroll step and a graph pan step, Copy
// Table of the million rows, and a log file of 200,000 records with three instrument blocks
// opened in the log viewer and switched between blocks. Run: bench_viewers.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "DemoLogFile.h"
#include "chart/GraphPanel.h"
#include "chart/GraphWnd.h"
#include "chart/PlotMath.h"
#include "chart/PlotRenderer.h"
#include "core/Channels.h"
#include "tools/chart-demo/DemoRecordFile.h"
#include "viewers/DispayLoggedDataDlg.h"
#include "viewers/ViewFileDlg.h"

namespace {

constexpr int kRecordLines = 1000000;
constexpr int kLogRecords = 200000;
constexpr int kLogBlocks = 3;
const QSize kViewerSize(1600, 1000);

class CSilentMessages final : public IMessageBox {
public:
    void tell(std::string_view, MessageIcon) override {}
    bool askYesNo(std::string_view, MessageIcon) override { return false; }
};

class CNoFileDialog final : public IFileDialog {
public:
    std::string askOpenPath(const CFileDialogRequest&) override { return {}; }
    std::string askSavePath(const CFileDialogRequest&) override { return {}; }
};

// The generated files in a temporary folder, removed at exit.
class BenchFiles {
public:
    BenchFiles()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ventora-viewers-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        folder_ = pattern;
        if (!writeDemoRecordFile(record(), kRecordLines) ||
            !writeDemoLogFile(log(), kLogRecords, kLogBlocks))
            std::abort();
    }
    ~BenchFiles()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string record() const { return (folder_ / "big.ivt").string(); }
    std::string log() const { return (folder_ / "three.lvt").string(); }
    std::string folder() const { return folder_.string() + "/"; }

private:
    std::filesystem::path folder_;
};

const BenchFiles& files()
{
    static BenchFiles instance;
    return instance;
}

CSilentMessages silent;
CNoFileDialog noDialog;

CViewerContext context(const std::string& path)
{
    return {path, files().folder(), silent, noDialog, nullptr};
}

// Peak resident memory is measured from here on (Linux: clear_refs resets VmHWM).
void resetPeakMemory()
{
    if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
}

double statusMB(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::strtod(line.c_str() + std::string(key).size(), nullptr) / 1024.0;
    return 0;
}

// Shows the viewer and paints all of it (table and graph) once.
void showAndPaint(QWidget& viewer)
{
    viewer.resize(kViewerSize);
    viewer.show();
    QApplication::processEvents();
    viewer.repaint();
}

// From Open to the first painted table and graph, with the four channels shown at first.
void BM_RecordViewerOpen(benchmark::State& state)
{
    files();
    double peak = 0;
    for (auto _ : state) {
        resetPeakMemory();
        auto viewer = std::make_unique<CViewFileDlg>(context(files().record()));
        showAndPaint(*viewer);
        state.PauseTiming();
        peak = std::max(peak, statusMB("VmHWM:"));
        state.counters["rows"] = static_cast<double>(viewer->rows().rowCount());
        viewer.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_RecordViewerOpen)->Unit(benchmark::kMillisecond)->Iterations(3);

// Graph Settings closed with all 13 channels ticked: the rebuild and its render.
void BM_RecordGraphSettingsAll13(benchmark::State& state)
{
    CViewFileDlg viewer(context(files().record()));
    showAndPaint(viewer);
    resetPeakMemory();
    for (auto _ : state) {
        viewer.visibility().assign(kChannelCount, 1);
        viewer.buildGraph();
        viewer.graph()->panel()->render();
    }
    state.counters["peak_MB"] = statusMB("VmHWM:");
}
BENCHMARK(BM_RecordGraphSettingsAll13)->Unit(benchmark::kMillisecond)->Iterations(3);

// Scrolling the table by a page (the list repaints) and panning the graph by 40 pixels (the
// panel re-renders), with all 13 channels shown.
void BM_RecordScrollAndPan(benchmark::State& state)
{
    CViewFileDlg viewer(context(files().record()));
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
BENCHMARK(BM_RecordScrollAndPan)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_CopyTable(benchmark::State& state)
{
    CViewFileDlg viewer(context(files().record()));
    for (auto _ : state) {
        viewer.OnCopyTable();
        state.PauseTiming();
        QGuiApplication::clipboard()->clear();
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(viewer.rows().rowCount());
}
BENCHMARK(BM_CopyTable)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LogViewerOpen(benchmark::State& state)
{
    double peak = 0;
    for (auto _ : state) {
        resetPeakMemory();
        auto viewer = std::make_unique<CDispayLoggedDataDlg>(context(files().log()));
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
    CDispayLoggedDataDlg viewer(context(files().log()));
    showAndPaint(viewer);
    int block = 0;
    for (auto _ : state) {
        block = (block + 1) % kLogBlocks;
        viewer.OnBlockChoice(block);
        viewer.graph()->panel()->render();
    }
}
BENCHMARK(BM_LogBlockChoice)->Unit(benchmark::kMillisecond)->Iterations(6);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    files(); // written before any timing starts
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
