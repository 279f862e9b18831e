// Reads a record file of 1,000,000 lines (127 MB, as dump.ivt holds after 11.5 days of
// recording) into rows, reads every value of it, converts it to CSV, and reads a log file.
// Reports throughput, bytes per row and the peak resident memory of each step; and how fast
// small hostile files are refused.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/support/BenchFolder.h"
#include "bench/support/PatternFiles.h"
#include "bench/support/ProcessFigures.h"
#include "bench/support/SilentMessages.h"
#include "files/CsvWriter.h"
#include "files/FileLimits.h"
#include "files/LogFileReader.h"
#include "files/RecordFileReader.h"

namespace {

constexpr int kRecordLines = 1000000;
constexpr int kLogRecords = 200000;

// The generated files in a temporary folder, removed at exit.
const CBenchFolder& files()
{
    static const CBenchFolder folder("ventora-bench", [](const CBenchFolder& f) {
        return writePatternRecordFile(f.path("dump.ivt"), kRecordLines) &&
               writePatternLogFile(f.path("log.lvt"), kLogRecords);
    });
    return folder;
}

const CBenchFolder& hostileFiles()
{
    static const CBenchFolder folder("ventora-hostile", [](const CBenchFolder& f) {
        return writeManyBlocksLogFile(f.path("blocks.lvt")) &&
               writeHashLinesFile(f.path("hash.ivt"), 40 << 20) &&
               writeEmptyBlocksLogFile(f.path("empty.lvt"));
    });
    return folder;
}

void appendLogFields(std::string& line, int i)
{
    char field[16];
    for (int k = 0; k < 13; ++k) {
        std::snprintf(field, sizeof field, "%8.2f", ((i * 7919LL + k * 104729LL) % 200000) / 100.0);
        line.append(field, 8);
    }
}

void reportRows(benchmark::State& state, const CDataTable& rows, std::size_t fileBytes)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fileBytes));
    state.counters["rows"] = static_cast<double>(rows.rowCount());
    state.counters["bytes_per_row"] =
        static_cast<double>(rows.memoryBytes()) / static_cast<double>(rows.rowCount());
    state.counters["peak_MB"] = peakMemoryMB();
}

void BM_ReadRecordFile(benchmark::State& state)
{
    std::string path = files().path("dump.ivt");
    CSilentMessages messages;
    CDataTable rows;
    resetPeakMemory();
    for (auto _ : state) {
        rows = CDataTable(); // start from no memory, as a viewer does
        if (!readRecordFile(path, rows, messages))
            state.SkipWithError("cannot read the record file");
        benchmark::DoNotOptimize(rows.rowCount());
    }
    reportRows(state, rows, std::filesystem::file_size(path));
}

// What a graph build costs: every field of every row as a number.
void BM_ReadAllValues(benchmark::State& state)
{
    CSilentMessages messages;
    CDataTable rows;
    readRecordFile(files().path("dump.ivt"), rows, messages);
    for (auto _ : state) {
        double sum = 0;
        for (std::size_t row = 0; row < rows.rowCount(); ++row)
            for (int column = 0; column < rows.columnCount(); ++column)
                sum += rows.value(row, column);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rows.rowCount()) *
                            rows.columnCount());
}

// The whole of ventora-convert: read the file, write the CSV.
void BM_ConvertRecordFileToCsv(benchmark::State& state)
{
    std::string path = files().path("dump.ivt");
    std::string output = files().path("dump.csv");
    CSilentMessages messages;
    resetPeakMemory();
    for (auto _ : state) {
        CDataTable rows;
        readRecordFile(path, rows, messages);
        std::FILE* out = std::fopen(output.c_str(), "wb");
        if (!out || writeCsv(rows, csvFieldTitles(rows), out) != 0)
            state.SkipWithError("cannot write the CSV file");
        if (out)
            std::fclose(out);
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
    state.counters["csv_MB"] = static_cast<double>(std::filesystem::file_size(output)) / 1e6;
    state.counters["peak_MB"] = peakMemoryMB();
}

void BM_ReadLogFile(benchmark::State& state)
{
    std::string path = files().path("log.lvt");
    CSilentMessages messages;
    CDataTable rows;
    resetPeakMemory();
    for (auto _ : state) {
        rows = CDataTable();
        readLogFile(path, rows, messages);
        benchmark::DoNotOptimize(rows.rowCount());
    }
    reportRows(state, rows, std::filesystem::file_size(path));
}

// A log record with one block per data line, converted to CSV: every field of the row is found
// in constant time, so the cost grows linearly with the blocks (up to the 64 a file may have).
void BM_ConvertManyBlockLog(benchmark::State& state)
{
    const auto blocks = static_cast<int>(state.range(0));
    std::string text = "DATE-TIME: 2024/01/02 10:00:00\r\r\n";
    for (int block = 0; block < blocks; ++block) {
        appendLogFields(text, block);
        text += "\r\r\n";
    }
    std::FILE* out = std::fopen("/dev/null", "wb");
    for (auto _ : state) {
        CDataTable rows;
        if (readLogText(text, rows) != 0 || writeCsv(rows, csvFieldTitles(rows), out) != 0)
            state.SkipWithError("cannot convert");
    }
    std::fclose(out);
    state.SetComplexityN(blocks);
}

// What ventora-convert does with a small hostile file before it writes anything: read it, and
// measure the CSV it would make. 0: 2 MB log file of a million data lines in its first record;
// 1: 40 MB of "#" lines; 2: 3 MB log file of empty 64-block records. Each must be refused.
void BM_RefuseHostileFile(benchmark::State& state)
{
    const char* names[] = {"blocks.lvt", "hash.ivt", "empty.lvt"};
    const std::string path = hostileFiles().path(names[state.range(0)]);
    const std::uint64_t bytes = std::filesystem::file_size(path);
    CSilentMessages messages;
    resetPeakMemory();
    for (auto _ : state) {
        CDataTable rows;
        const bool read = path.ends_with(".ivt") ? readRecordFile(path, rows, messages)
                                                 : readLogFile(path, rows, messages);
        if (read && outputWithinLimit(csvSizeBound(rows, csvFieldTitles(rows)), bytes))
            state.SkipWithError("a hostile file was not refused");
    }
    state.SetLabel(names[state.range(0)]);
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["peak_MB"] = peakMemoryMB();
}

} // namespace

BENCHMARK(BM_ReadRecordFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAllValues)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertRecordFileToCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLogFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertManyBlockLog)->Arg(8)->Arg(64)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RefuseHostileFile)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
