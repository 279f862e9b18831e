// The overview table at a million rows: cost of appending a data row (time and bytes), and of
// scrolling to the newest row. Run: bench_view (offscreen; no display needed).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMainWindow>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/view/OverviewRows.h"
#include "app/view/OverviewTableModel.h"
#include "app/view/VentoraView.h"
#include "bench/support/OffscreenBenchmarks.h"
#include "bench/support/ProcessFigures.h"

namespace {

constexpr int kRows = 1000000;

std::vector<std::string> sampleData()
{
    std::vector<std::string> data;
    for (int i = 0; i < 64; ++i) {
        std::string text;
        for (int k = 0; k < 13; ++k) {
            std::string field =
                "  " + std::to_string((i * 37 + k * 11) % 1000) + "." + std::to_string(k);
            field.resize(8, ' ');
            text += field;
        }
        data.push_back(text);
    }
    return data;
}

const char* const kTime = "12:00:01 2026/12/07";

long residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * 4096;
}

void BM_RowStoreAppend(benchmark::State& state)
{
    const auto data = sampleData();
    for (auto _ : state) {
        COverviewRows rows;
        for (int i = 0; i < kRows; ++i)
            rows.appendDataRow(kTime, data[static_cast<std::size_t>(i) % data.size()]);
        benchmark::DoNotOptimize(rows.rowCount());
        state.counters["bytes_per_row"] = static_cast<double>(rows.memoryUsage()) / kRows;
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_RowStoreAppend)->Unit(benchmark::kMillisecond)->Iterations(2);

// The protocol's way: append the time stamp, then set the thirteen fields one by one, with
// the table model signalling every change to a list that shows it.
void BM_ViewAppendCellByCell(benchmark::State& state)
{
    const auto data = sampleData();
    for (auto _ : state) {
        state.PauseTiming();
        const long before = residentBytes();
        auto frame = std::make_unique<QMainWindow>();
        auto* view = new CVentoraView;
        frame->setCentralWidget(view);
        frame->resize(1100, 700);
        frame->show();
        view->SetupColumns(kLayoutData);
        QApplication::processEvents();
        state.ResumeTiming();
        for (int i = 0; i < kRows; ++i) {
            const std::string& fields = data[static_cast<std::size_t>(i) % data.size()];
            const int row = view->appendRow(kTime);
            for (int k = 0; k < 13; ++k)
                view->setCellText(row, k + 1, std::string_view(fields).substr(k * 8, 8));
            if (i % 1000 == 0)
                QApplication::processEvents(); // the window repaints now and then
        }
        state.PauseTiming();
        QApplication::processEvents();
        state.counters["rss_bytes_per_row"] = static_cast<double>(residentBytes() - before) / kRows;
        state.counters["store_bytes_per_row"] =
            static_cast<double>(view->tableModel().rows().memoryUsage()) / kRows;
        frame.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ViewAppendCellByCell)->Unit(benchmark::kMillisecond)->Iterations(1);

// One more row, a scroll to it and the list's repaint, with state.range(0) rows in the list.
void BM_AppendAndScroll(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const auto data = sampleData();
    QMainWindow frame;
    auto* view = new CVentoraView;
    frame.setCentralWidget(view);
    frame.resize(1100, 700);
    frame.show();
    view->SetupColumns(kLayoutData);
    for (int i = 0; i < rows; ++i)
        view->appendDataRow(kTime, data[static_cast<std::size_t>(i) % data.size()]);
    view->scrollList();
    QApplication::processEvents();

    double worstMs = 0;
    double appendMs = 0;
    double scrollMs = 0;
    double paintMs = 0;
    for (auto _ : state) {
        const double t0 = threadCpuMs();
        view->appendDataRow(kTime, data[0]);
        const double t1 = threadCpuMs();
        view->scrollList();
        const double t2 = threadCpuMs();
        view->list().viewport()->repaint(); // the row must also be drawn
        const double t3 = threadCpuMs();
        appendMs += t1 - t0;
        scrollMs += t2 - t1;
        paintMs += t3 - t2;
        worstMs = std::max(worstMs, t3 - t0);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["append_ms"] = appendMs / n;
    state.counters["scroll_ms"] = scrollMs / n;
    state.counters["paint_ms"] = paintMs / n;
    state.counters["worst_ms"] = worstMs;
    state.counters["rows"] = view->rowCount();
}
BENCHMARK(BM_AppendAndScroll)
    ->Arg(1000)
    ->Arg(kRows)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(1000);

} // namespace

int main(int argc, char** argv) { return runOffscreenBenchmarks(argc, argv); }
