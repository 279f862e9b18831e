// Printing a viewer's table of realistic samples to a PDF file: the list printer against the
// straightforward way (one drawText per cell) on the same pages, in the same run. A3 landscape,
// where all 14 columns fit. Reports pages, file size and how much the process grew (peak).
// Run: bench_print [--benchmark_filter=...]
#include <QAbstractTableModel>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QTableView>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "bench/support/BenchFolder.h"
#include "bench/support/OffscreenBenchmarks.h"
#include "bench/support/ProcessFigures.h"
#include "bench/support/SilentMessages.h"
#include "controls/AnsiText.h"
#include "core/Channels.h"
#include "files/DataText.h"
#include "files/RecordFileReader.h"
#include "print/PrintJob.h"
#include "print/PrintListCtrl.h"
#include "print/PrintResult.h"
#include "print/ViewerPrint.h"
#include "tools/demo-files/DemoFiles.h"

namespace {

// The record viewer's table: date-time, then the 13 fields with markers shown as "---  --".
class RecordModel : public QAbstractTableModel {
public:
    RecordModel(const CDataTable& rows, int limit) : rows_(rows), limit_(limit) {}
    int rowCount(const QModelIndex& = {}) const override
    {
        return std::min(limit_, static_cast<int>(rows_.rowCount()));
    }
    int columnCount(const QModelIndex& = {}) const override { return kChannelCount + 1; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        const auto row = static_cast<std::size_t>(index.row());
        if (index.column() == 0)
            return fromAnsi(rows_.dateTime(row));
        return fromAnsi(displayField(rows_.field(row, index.column() - 1)));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
            return {};
        return section == 0 ? QStringLiteral("Date Time")
                            : fromAnsi(viewerColumnTitle(section - 1));
    }

private:
    const CDataTable& rows_;
    int limit_;
};

// A record file of 30,000 samples (8 h 20 min at one a second), its rows and a table view.
bool writeStation(const CBenchFolder& folder)
{
    return writeDemoRecordFile(folder.path("station.ivt"), 30000);
}

struct Fixture {
    Fixture()
    {
        CSilentMessages messages;
        if (!readRecordFile(folder.path("station.ivt"), rows, messages))
            std::abort();
    }
    CBenchFolder folder{"ventora-bench", writeStation};
    CDataTable rows;
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

std::unique_ptr<QPrinter> pdfPrinter(const std::string& path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QString::fromStdString(path));
    printer->setResolution(CViewerPrint::kPrintResolution);
    printer->setPageSize(QPageSize(QPageSize::A3));
    printer->setPageOrientation(QPageLayout::Landscape);
    return printer;
}

// A table view over the first rowCount rows.
struct Table {
    explicit Table(int rowCount) : model(fixture().rows, rowCount) { view.setModel(&model); }
    RecordModel model;
    QTableView view;
};

void report(benchmark::State& state, const std::string& path, int pages, double before)
{
    state.counters["pages"] = pages;
    state.counters["pdf_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    state.counters["growth_MB"] = statusMB("VmHWM:") - before;
}

// The straightforward way: the same pages, each cell its own drawText.
void BM_PrintTableStraightforward(benchmark::State& state)
{
    Table table(30000);
    const std::string path = fixture().folder.path("plain.pdf");
    int pages = 0;
    double before = 0;
    for (auto _ : state) {
        resetPeakMemory();
        before = statusMB("VmRSS:");
        auto printer = pdfPrinter(path);
        CSystemClock clock;
        CPrintListCtrl list(clock);
        list.settings() = CViewerPrint::tableSettings();
        list.prepare(QStringLiteral("station.ivt"), table.view);
        if (list.beginPrinting(*printer, 96) != kPrintOk)
            std::abort();
        const CListPageLayout& layout = list.layout();
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(scaleFontHeight(10, CViewerPrint::kPrintResolution, 96));
        QPainter painter(printer.get());
        painter.setFont(font);
        pages = layout.pageCount();
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                printer->newPage();
            const auto [first, end] = layout.pageRows(page);
            for (int row = first; row < end; ++row) {
                const int top = layout.rowTop(row - first);
                for (const PrintedColumn& column : layout.columns()) {
                    const PrintRect r = layout.cellText(column, top);
                    painter.drawText(QRect(r.left, r.top, r.width(), r.height()),
                                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                                     table.model.index(row, column.column).data().toString());
                }
            }
            painter.drawText(10, 10, QString::fromStdString(pageNumberText(page)));
        }
        painter.end();
    }
    report(state, path, pages, before);
}

// The list printer as the viewers' Print button runs it.
void BM_PrintTable(benchmark::State& state)
{
    const auto rows = static_cast<int>(state.range(0));
    Table table(rows);
    const std::string path = fixture().folder.path("table.pdf");
    double before = 0;
    for (auto _ : state) {
        resetPeakMemory();
        before = statusMB("VmRSS:");
        auto printer = pdfPrinter(path);
        CSilentMessages messages;
        CViewerPrint print(messages);
        if (print.printTable(*printer, QStringLiteral("station.ivt"), table.view, 96) != kPrintOk)
            std::abort();
    }
    const double peak = statusMB("VmHWM:");
    auto printer = pdfPrinter(path);
    CSystemClock clock;
    CPrintListCtrl list(clock);
    list.settings() = CViewerPrint::tableSettings();
    list.prepare(QString(), table.view);
    list.beginPrinting(*printer, 96);
    report(state, path, list.pageCount(), before);
    state.counters["growth_MB"] = peak - before;
}

} // namespace

BENCHMARK(BM_PrintTableStraightforward)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PrintTable)->Arg(30000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) { return runOffscreenBenchmarks(argc, argv); }
