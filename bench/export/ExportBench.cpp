// Writing export workbooks: one interval of 30,000 rows x 13 values as the viewers export it,
// ventora-convert's whole conversion of a 1,000,000-line record file to .xlsx, and libxlsxwriter
// alone writing the same cells from values prepared in memory (the floor for both).
// Reports wall time, the workbook's size and the memory the writing adds to the process.

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/BenchFolder.h"
#include "bench/support/PatternFiles.h"
#include "bench/support/ProcessFigures.h"
#include "bench/support/SilentMessages.h"
#include "export/ExportRange.h"
#include "export/WorkbookWriter.h"
#include "files/CsvWriter.h"
#include "files/RecordFileReader.h"

namespace {

constexpr int kRecordLines = 1000000;

// A record file of kRecordLines lines in a temporary folder, removed at exit.
const CBenchFolder& files()
{
    static const CBenchFolder folder("ventora-export-bench", [](const CBenchFolder& f) {
        return writePatternRecordFile(f.path("dump.ivt"), kRecordLines);
    });
    return folder;
}

const CDataTable& recordRows()
{
    static CDataTable rows = [] {
        CDataTable table;
        CSilentMessages messages;
        if (!readRecordFile(files().path("dump.ivt"), table, messages))
            std::abort();
        return table;
    }();
    return rows;
}

void reportWorkbook(benchmark::State& state, const std::string& path, double residentBefore)
{
    state.counters["workbook_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    state.counters["added_MB"] = statusMB("VmHWM:") - residentBefore;
}

// The Export button on a table of more than 30,000 rows, one interval chosen.
void BM_ExportInterval(benchmark::State& state)
{
    const CDataTable& rows = recordRows();
    std::vector<std::string> titles = csvFieldTitles(rows);
    std::string path = files().path("interval.xlsx");
    resetPeakMemory();
    double before = statusMB("VmRSS:");
    for (auto _ : state)
        if (writeExportWorkbook(path, rows, titles, {120000, kExportMaxRows}) != 0)
            state.SkipWithError("cannot write the workbook");
    reportWorkbook(state, path, before);
}

// ventora-convert dump.ivt dump.xlsx: read the file, write every row.
void BM_ConvertRecordFileToWorkbook(benchmark::State& state)
{
    std::string input = files().path("dump.ivt");
    std::string path = files().path("dump.xlsx");
    CSilentMessages messages;
    resetPeakMemory();
    double before = statusMB("VmRSS:");
    for (auto _ : state) {
        CDataTable rows;
        readRecordFile(input, rows, messages);
        if (convertToWorkbook(rows, path) != 0)
            state.SkipWithError("cannot write the workbook");
    }
    reportWorkbook(state, path, before);
}

// The same cells written by libxlsxwriter alone, from texts and numbers prepared beforehand:
// the rows of the interval above (30000) or of the whole file (1000000).
void BM_LibxlsxwriterAlone(benchmark::State& state)
{
    const CDataTable& rows = recordRows();
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::size_t first = count == kExportMaxRows ? 120000 : 0;
    std::vector<std::string> dates(count), times(count);
    std::vector<double> values(count * 13);
    for (std::size_t i = 0; i < count; ++i) {
        DateTimeParts parts = splitDateTime(rows.dateTime(first + i));
        dates[i] = parts.date;
        times[i] = parts.time;
        for (int k = 0; k < 13; ++k)
            values[i * 13 + k] = rows.value(first + i, k);
    }
    std::vector<std::string> titles = csvFieldTitles(rows);
    std::string path = files().path("alone.xlsx");
    std::string folder = files().directory();
    for (auto _ : state) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = folder.data();
        lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
        lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
        worksheet_write_string(sheet, 0, 0, "DATE", nullptr);
        worksheet_write_string(sheet, 0, 1, "TIME", nullptr);
        for (std::size_t k = 0; k < titles.size(); ++k)
            worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(k + 2), titles[k].c_str(),
                                   nullptr);
        for (std::size_t row = 0; row < count; ++row) {
            auto sheetRow = static_cast<lxw_row_t>(row + 2);
            worksheet_write_string(sheet, sheetRow, 0, dates[row].c_str(), nullptr);
            worksheet_write_string(sheet, sheetRow, 1, times[row].c_str(), nullptr);
            for (int k = 0; k < 13; ++k)
                worksheet_write_number(sheet, sheetRow, static_cast<lxw_col_t>(k + 2),
                                       values[row * 13 + k], nullptr);
        }
        if (workbook_close(book) != LXW_NO_ERROR)
            state.SkipWithError("cannot write the workbook");
    }
    state.counters["workbook_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

} // namespace

BENCHMARK(BM_ExportInterval)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_LibxlsxwriterAlone)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Arg(kExportMaxRows)
    ->MinTime(2);
BENCHMARK(BM_ConvertRecordFileToWorkbook)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);
BENCHMARK(BM_LibxlsxwriterAlone)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Arg(kRecordLines)
    ->Iterations(2);

BENCHMARK_MAIN();
