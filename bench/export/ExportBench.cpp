// Writing export workbooks: one interval of 30,000 rows x 13 values as the viewers export it,
// ventora-convert's whole conversion of a 1,000,000-line record file to .xlsx, and libxlsxwriter
// alone writing the same cells from values prepared in memory (the floor for both).
// Reports wall time, the workbook's size and the memory the writing adds to the process.

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/MessageBox.h"
#include "export/ExportRange.h"
#include "export/WorkbookWriter.h"
#include "files/CsvWriter.h"
#include "files/RecordFileReader.h"

namespace {

constexpr int kRecordLines = 1000000;

class CSilentMessages final : public IMessageBox {
public:
    void tell(std::string_view, MessageIcon) override {}
    bool askYesNo(std::string_view, MessageIcon) override { return false; }
};

// A temporary folder with a record file of kRecordLines lines, removed at exit.
class BenchFiles {
public:
    BenchFiles()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ventora-export-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        folder_ = pattern;
        writeRecordFile();
    }
    ~BenchFiles()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string path(const char* name) const { return (folder_ / name).string(); }

private:
    // One line a second; thirteen 8-character fields like the instrument's, now and then a
    // marker.
    void writeRecordFile()
    {
        std::ofstream out(path("dump.ivt"), std::ios::binary);
        std::string chunk;
        char text[32];
        for (int i = 0; i < kRecordLines; ++i) {
            std::snprintf(text, sizeof text, "2024/%02d/%02d %02d:%02d:%02d#",
                          1 + (i / 86400 / 28) % 12, 1 + (i / 86400) % 28, (i / 3600) % 24,
                          (i / 60) % 60, i % 60);
            chunk += text;
            for (int k = 0; k < 13; ++k) {
                if ((i + k) % 997 == 0) {
                    chunk += "  _err  ";
                    continue;
                }
                double value = ((i * 7919LL + k * 104729LL) % 200000) / 100.0 - 500.0;
                std::snprintf(text, sizeof text, "%8.2f", value);
                chunk.append(text, 8);
            }
            chunk += "\r\r\n";
            if (chunk.size() > (1 << 20)) {
                out << chunk;
                chunk.clear();
            }
        }
        out << chunk;
    }

    std::filesystem::path folder_;
};

const BenchFiles& files()
{
    static BenchFiles instance;
    return instance;
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

// Resident memory now and its peak since the last reset (Linux: clear_refs resets VmHWM).
double statusMB(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::strtod(line.c_str() + std::string_view(key).size(), nullptr) / 1024.0;
    return 0;
}

void resetPeakMemory()
{
    if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
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
    std::string folder = files().path("");
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
