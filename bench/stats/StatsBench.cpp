// The live graph and the wind statistics after a week of a link at ten rows a second (6 million
// rows): the cost of one more row (statistics with the strip's texts; the feed's history; the
// live graph window drawing it), the graph's full redraw, and the statistics conversion of a
// 1,000,000-line record file beside the plain CSV conversion. Run: bench_stats (offscreen).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/live/LiveFeed.h"
#include "app/live/LiveGraphWnd.h"
#include "app/live/StatsStripText.h"
#include "bench/support/BenchFolder.h"
#include "bench/support/OffscreenBenchmarks.h"
#include "bench/support/ProcessFigures.h"
#include "bench/support/SilentMessages.h"
#include "chart/GraphPanel.h"
#include "files/CsvWriter.h"
#include "files/RecordFileReader.h"
#include "stats/CivilTime.h"
#include "stats/StatsCsv.h"
#include "tools/demo-files/DemoFiles.h"

namespace {

constexpr int kWeekRows = 6000000; // 7 days at 10 rows a second, rounded
constexpr double kRowSeconds = 0.1;

// 64 data texts with wandering values, cut into their 13 fields.
struct Samples {
    std::vector<std::string> texts;
    Samples()
    {
        for (int i = 0; i < 64; ++i) {
            std::string text;
            const double values[13] = {3 + (i % 7) * 0.4,
                                       200.0 + (i * 37) % 90,
                                       1013.0 + i % 3,
                                       15 + (i % 5) * 0.1,
                                       60.0 + i % 9,
                                       2.4,
                                       1.5,
                                       -1.2,
                                       0.1 * (i % 3),
                                       3.1,
                                       (i % 11) - 5.0,
                                       340.2,
                                       15.3};
            for (double v : values) {
                char field[16];
                std::snprintf(field, sizeof field, "%8.2f", v);
                text += field;
            }
            texts.push_back(text);
        }
    }
    CLiveFeed::Fields fields(int i) const
    {
        const std::string& text = texts[static_cast<std::size_t>(i) % texts.size()];
        CLiveFeed::Fields f;
        for (std::size_t k = 0; k < f.size(); ++k)
            f[k] = std::string_view(text).substr(k * 8, 8);
        return f;
    }
};

const Samples& samples()
{
    static const Samples s;
    return s;
}

const double kStart = static_cast<double>(civilSeconds(2026, 3, 14, 0, 0, 0));

// A feed after a week; rows keep coming from where it stopped.
struct Week {
    CLiveFeed feed;
    int rows = 0;
    Week()
    {
        for (; rows < kWeekRows; ++rows)
            addRow();
    }
    void addRow()
    {
        feed.addRow(kStart + rows * kRowSeconds, rows * kRowSeconds, samples().fields(rows));
        ++rows;
    }
};

Week& week()
{
    static Week w;
    return w;
}

void BM_StatisticsRow(benchmark::State& state)
{
    CWindStatistics statistics;
    int row = 0;
    for (; row < kWeekRows; ++row) {
        const CLiveFeed::Fields f = samples().fields(row);
        statistics.add(makeWindSample(kStart + row * kRowSeconds, f[0], f[1], f[3], f[2]));
    }
    double worstMs = 0;
    for (auto _ : state) {
        const double t0 = threadCpuMs();
        const CLiveFeed::Fields f = samples().fields(row);
        statistics.add(makeWindSample(kStart + row * kRowSeconds, f[0], f[1], f[3], f[2]));
        // The strip's texts are made again for every row.
        benchmark::DoNotOptimize(statsStripTexts(statistics, "m/s"));
        ++row;
        worstMs = std::max(worstMs, threadCpuMs() - t0);
    }
    state.counters["worst_ms"] = worstMs;
    state.counters["rows"] = row;
}
BENCHMARK(BM_StatisticsRow)->Unit(benchmark::kMicrosecond)->Iterations(100000);

void BM_LiveFeedRow(benchmark::State& state)
{
    Week& w = week();
    double worstMs = 0;
    for (auto _ : state) {
        const double t0 = threadCpuMs();
        w.addRow();
        worstMs = std::max(worstMs, threadCpuMs() - t0);
    }
    state.counters["worst_ms"] = worstMs;
    state.counters["rows"] = w.rows;
    state.counters["history_bytes"] = static_cast<double>(w.feed.history().memoryBytes());
}
BENCHMARK(BM_LiveFeedRow)->Unit(benchmark::kMicrosecond)->Iterations(100000);

// One row into the feed and the open live window, which draws it, and the window's repaint
// (each row is painted on its own, as rows arriving a tenth of a second apart are). 40,000 rows
// (67 minutes) hold several steps of the view and the rebuilds that drop old points.
void BM_LiveGraphRow(benchmark::State& state)
{
    Week& w = week();
    CLiveGraphWnd window(w.feed);
    window.resize(1000, 560);
    window.setSpan(static_cast<LiveSpan>(state.range(0)));
    window.show();
    QApplication::processEvents();
    double worstMs = 0;
    for (auto _ : state) {
        const double t0 = threadCpuMs();
        w.addRow();
        window.rowAdded();
        QApplication::processEvents();
        worstMs = std::max(worstMs, threadCpuMs() - t0);
    }
    state.counters["worst_ms"] = worstMs;
    state.counters["rows"] = w.rows;
    int points = 0;
    for (int k = 0; k < kChannelCount; ++k)
        points += window.graph().getSeries(k)->points().count();
    state.counters["points"] = points;
}
BENCHMARK(BM_LiveGraphRow)
    ->ArgName("span")
    ->Arg(static_cast<int>(LiveSpan::TenMinutes))
    ->Arg(static_cast<int>(LiveSpan::OneHour))
    ->Arg(static_cast<int>(LiveSpan::Everything))
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(40000);

// A full redraw of the plot (what a step of the view, a zoom or the 100 ms timer costs) with
// the first 4 channels shown, or all 13.
void BM_LiveGraphRedraw(benchmark::State& state)
{
    Week& w = week();
    CLiveGraphWnd window(w.feed);
    window.resize(1000, 560);
    window.setSpan(static_cast<LiveSpan>(state.range(0)));
    if (state.range(1) == 13)
        for (int k = 0; k < kChannelCount; ++k)
            window.setChannelShown(k, true);
    window.show();
    QApplication::processEvents();
    for (auto _ : state)
        window.graph().panel()->render();
    int points = 0;
    for (int k = 0; k < kChannelCount; ++k)
        points += window.graph().getSeries(k)->points().count();
    state.counters["points"] = points;
}
BENCHMARK(BM_LiveGraphRedraw)
    ->ArgNames({"span", "channels"})
    ->Args({static_cast<int>(LiveSpan::TenMinutes), 4})
    ->Args({static_cast<int>(LiveSpan::OneHour), 4})
    ->Args({static_cast<int>(LiveSpan::OneHour), 13})
    ->Args({static_cast<int>(LiveSpan::Everything), 4})
    ->Args({static_cast<int>(LiveSpan::Everything), 13})
    ->Unit(benchmark::kMillisecond);

// A record file of a million lines in a temporary folder, removed at exit.
std::string millionLineFile()
{
    static const CBenchFolder folder("ventora-bench-stats", [](const CBenchFolder& f) {
        return writeDemoRecordFile(f.path("1M.ivt"), 1000000);
    });
    return folder.path("1M.ivt");
}

// ventora-convert --stats FILE.ivt, without the process start.
void BM_StatsConversion1M(benchmark::State& state)
{
    const std::string file = millionLineFile();
    CSilentMessages messages;
    for (auto _ : state) {
        std::FILE* out = std::fopen("/dev/null", "wb");
        const StatsConversion result = writeStatsCsv(file, 600, out, messages);
        std::fclose(out);
        state.counters["periods"] = static_cast<double>(result.periods);
    }
}
BENCHMARK(BM_StatsConversion1M)->Unit(benchmark::kMillisecond)->Iterations(3);

// ventora-convert FILE.ivt, the plain conversion, for comparison.
void BM_PlainConversion1M(benchmark::State& state)
{
    const std::string file = millionLineFile();
    CSilentMessages messages;
    for (auto _ : state) {
        CDataTable rows;
        readRecordFile(file, rows, messages);
        std::FILE* out = std::fopen("/dev/null", "wb");
        writeCsv(rows, csvFieldTitles(rows), out);
        std::fclose(out);
    }
}
BENCHMARK(BM_PlainConversion1M)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) { return runOffscreenBenchmarks(argc, argv); }
