// The list printer on real PDF files, read back with pdftotext and pdfinfo.
#include <QPrinter>
#include <QRegularExpression>
#include <QTableView>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

#include "PrintTestSupport.h"
#include "chart/GraphWnd.h"
#include "print/PrintJob.h"
#include "print/PrintListCtrl.h"
#include "print/PrintResult.h"
#include "print/ViewerPrint.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/OutputPlace.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"

namespace {

QString rowName(int row) { return QStringLiteral("row %1").arg(row, 5, 10, QLatin1Char('0')); }

// Date Time, a column hidden on screen, a value longer than its title and a remark too wide
// for any page.
std::unique_ptr<TableModel> stationTable(int rows)
{
    std::vector<QStringList> cells;
    for (int r = 0; r < rows; ++r)
        cells.push_back({rowName(r), QStringLiteral("hidden"),
                         QStringLiteral("value-%1-long").arg(r), QString(300, QLatin1Char('m'))});
    return std::make_unique<TableModel>(
        QStringList{QStringLiteral("Date Time"), QStringLiteral("Secret"), QStringLiteral("Value"),
                    QStringLiteral("Remark")},
        cells, std::vector<QVariant>{{}, {}, int(Qt::AlignRight | Qt::AlignVCenter)});
}

bool has(const QString& text, const QString& pattern)
{
    return text.contains(QRegularExpression(pattern));
}

class ListPrint : public ::testing::Test {
protected:
    ListPrint() : clock(2026, 3, 14, 10, 20, 30) { dialogs.pdfPath = pdf; }

    // Rows per page of the station table on the viewers' printer.
    int rowsPerPage()
    {
        auto model = stationTable(1);
        QTableView view;
        view.setModel(model.get());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(CViewerPrint::kPrintResolution);
        CPrintListCtrl list(clock);
        list.settings() = CViewerPrint::tableSettings();
        list.prepare(QStringLiteral("t"), view);
        EXPECT_EQ(list.beginPrinting(printer, view.logicalDpiY()), kPrintOk);
        return list.layout().rowsPerPage();
    }

    void printTable(TableModel& model)
    {
        QTableView view;
        view.setModel(&model);
        view.setColumnWidth(1, 0);
        CGraphWnd graph(32);
        CViewerPrint(messages, dialogs, clock).print(nullptr, view, graph);
    }

    TempDir dir;
    const QString pdf = QString::fromStdString(dir.file("table.pdf"));
    CFixedClock clock;
    CScriptedMessageBox messages;
    CScriptedPrintDialogs dialogs;
};

TEST_F(ListPrint, EveryPageHoldsTitleColumnTitlesItsRowsAndFooter)
{
    const int perPage = rowsPerPage();
    ASSERT_GT(perPage, 10);
    const int rows = 2 * perPage + 5;
    dialogs.choice.title = QStringLiteral("Station log");
    auto model = stationTable(rows);
    printTable(*model);
    ASSERT_TRUE(messages.shown().empty()) << messages.texts().front();
    ASSERT_EQ(pdfPageCount(pdf), 3);

    for (int page = 1; page <= 3; ++page) {
        const QString text = pdfText(pdf, page);
        SCOPED_TRACE(page);
        EXPECT_TRUE(text.contains(QStringLiteral("Station log")));
        EXPECT_TRUE(text.contains(QStringLiteral("Date Time")));
        EXPECT_TRUE(text.contains(QStringLiteral("Value")));
        EXPECT_FALSE(text.contains(QStringLiteral("Secret"))); // 0 wide on screen
        EXPECT_FALSE(text.contains(QStringLiteral("hidden")));
        EXPECT_FALSE(text.contains(QStringLiteral("Remark"))); // beyond the page width
        EXPECT_FALSE(text.contains(QStringLiteral("mmmm")));
        EXPECT_TRUE(has(text, QStringLiteral("Page\\s*:\\s*%1\\b").arg(page)));
        EXPECT_TRUE(has(text, QStringLiteral("2026/03/14\\s+10:20:30")));
        const int first = (page - 1) * perPage;
        const int last = std::min(rows, page * perPage) - 1;
        EXPECT_TRUE(text.contains(rowName(first)));
        EXPECT_TRUE(text.contains(QStringLiteral("value-%1-long").arg(last)));
        EXPECT_TRUE(text.contains(rowName(last)));
        if (first > 0) {
            EXPECT_FALSE(text.contains(rowName(first - 1)));
        }
        EXPECT_FALSE(text.contains(rowName(last + 1)));
        // The footer line comes after the rows.
        EXPECT_GT(text.indexOf(QRegularExpression(QStringLiteral("Page\\s*:"))),
                  text.indexOf(rowName(last)));
    }
}

TEST_F(ListPrint, ExactlyOnePageOfRowsEndsWithAnEmptySecondPage)
{
    const int perPage = rowsPerPage();
    auto model = stationTable(perPage);
    printTable(*model);
    ASSERT_EQ(pdfPageCount(pdf), 2);
    EXPECT_TRUE(pdfText(pdf, 1).contains(rowName(perPage - 1)));
    const QString second = pdfText(pdf, 2);
    EXPECT_TRUE(second.contains(QStringLiteral("Title")));
    EXPECT_TRUE(second.contains(QStringLiteral("Date Time")));
    EXPECT_TRUE(has(second, QStringLiteral("Page\\s*:\\s*2")));
    EXPECT_FALSE(second.contains(QStringLiteral("row ")));
}

TEST_F(ListPrint, PageNumberAndDateMoveToTheHeaderWithTheFooterOff)
{
    for (bool footer : {true, false}) {
        SCOPED_TRACE(footer);
        auto model = stationTable(3);
        QTableView view;
        view.setModel(model.get());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(CViewerPrint::kPrintResolution);
        CPrintListCtrl list(clock);
        list.settings() = CViewerPrint::tableSettings();
        list.settings().printFooter = footer;
        list.prepare(QStringLiteral("Header test"), view);
        ASSERT_EQ(list.beginPrinting(printer, 96), kPrintOk);
        CPrintJob job(printer);
        ASSERT_EQ(job.begin(), kPrintOk);
        ASSERT_TRUE(list.printPage(job.painter(), 1));
        ASSERT_EQ(job.end(), kPrintOk);
        const QString text = pdfText(pdf, 1);
        const auto page = text.indexOf(QRegularExpression(QStringLiteral("Page\\s*:\\s*1")));
        const auto date = text.indexOf(QRegularExpression(QStringLiteral("2026/03/14\\s+10:20")));
        ASSERT_GE(page, 0);
        ASSERT_GE(date, 0);
        const auto rows = text.indexOf(rowName(0));
        const auto title = text.indexOf(QStringLiteral("Header test"));
        if (footer) {
            EXPECT_GT(page, rows);
            EXPECT_GT(date, rows);
        } else {
            // Above and below the title, before the column titles and rows.
            EXPECT_LT(page, title);
            EXPECT_GT(date, title);
            EXPECT_LT(date, rows);
        }
    }
}

TEST_F(ListPrint, FailuresShowAStopMessageAndLeaveNoBrokenFile)
{
    struct Case {
        const char* name;
        std::string path;
        bool graph;
        std::optional<QPageSize> pageSize;
        long fileLimit; // 0: none
        std::string message;
    } cases[] = {
        {"missing folder", dir.file("missing/table.pdf"), false, std::nullopt, 0,
         "ERROR: Unable to create the file " + dir.file("missing/table.pdf")},
        {"graph to a missing folder", dir.file("missing/graph.pdf"), true, std::nullopt, 0,
         "ERROR: Unable to create the file " + dir.file("missing/graph.pdf")},
        {"disk full part-way", dir.file("full.pdf"), false, std::nullopt, 40000,
         "ERROR: Unable to write the file " + dir.file("full.pdf") + "; nothing was saved."},
        {"device that takes nothing", "/dev/full", false, std::nullopt, 0,
         "ERROR: Unable to write the file /dev/full; nothing was saved."},
        {"page too small", dir.file("label.pdf"), false,
         QPageSize(QSizeF(40, 15), QPageSize::Millimeter), 0,
         "ERROR: The page is too small to print the table."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        dialogs.pdfPath = QString::fromStdString(c.path);
        dialogs.choice.graph = c.graph;
        dialogs.pageSize = c.pageSize;
        auto model = stationTable(2000);
        {
            std::optional<FileSizeLimit> limit;
            if (c.fileLimit > 0)
                limit.emplace(static_cast<rlim_t>(c.fileLimit));
            printTable(*model);
        }
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.shown()[0].text, c.message);
        EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Stop);
        if (c.path == "/dev/full") {
            EXPECT_TRUE(std::filesystem::is_character_file(c.path));
        } else {
            EXPECT_FALSE(std::filesystem::exists(c.path));
        }
    }
}

// A printed PDF on every kind of output: a document that fails or is given up after it began
// leaves what was there as it was; a complete one replaces it (through a link, the file it
// leads to) with the older file's mode.
TEST_F(ListPrint, PdfOutputsByFailures)
{
    enum class Ending { Complete, GivenUp, SizeLimit };
    for (OutputKind kind : {OutputKind::NewName, OutputKind::OlderFile, OutputKind::Link,
                            OutputKind::Fifo, OutputKind::Device}) {
        for (Ending ending : {Ending::Complete, Ending::GivenUp, Ending::SizeLimit}) {
            if (ending == Ending::SizeLimit &&
                (kind == OutputKind::Fifo || kind == OutputKind::Device))
                continue;
            SCOPED_TRACE(std::string(outputKindName(kind)) + ", ending " +
                         std::to_string(static_cast<int>(ending)));
            TempDir folder;
            COutputPlace place(folder, kind, "out.pdf");
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(place.path()));
            printer.setResolution(CViewerPrint::kPrintResolution);
            int result = kPrintOk;
            {
                FileSizeLimit limit(ending == Ending::SizeLimit ? 40000 : RLIM_INFINITY);
                CPrintJob job(printer);
                ASSERT_EQ(job.begin(), kPrintOk);
                const int pages = ending == Ending::SizeLimit ? 400 : 2;
                for (int page = 1; page <= pages && result == kPrintOk; ++page) {
                    if (page > 1)
                        result = job.newPage();
                    job.painter().drawText(300, 300, QStringLiteral("page %1").arg(page));
                }
                if (ending == Ending::GivenUp || result != kPrintOk)
                    job.abort();
                else
                    result = job.end();
            }
            if (ending == Ending::Complete) {
                EXPECT_EQ(result, kPrintOk);
                if (kind != OutputKind::Device) {
                    EXPECT_TRUE(place.received().starts_with("%PDF"));
                }
                if (kind == OutputKind::OlderFile) {
                    EXPECT_EQ(std::filesystem::status(place.path()).permissions(),
                              std::filesystem::perms(0640));
                }
            } else {
                EXPECT_EQ(result, ending == Ending::SizeLimit ? kPrintWriteFailed : kPrintOk);
                EXPECT_TRUE(place.unharmed());
            }
        }
    }
}

TEST_F(ListPrint, ColumnsTakeTheModelsAlignmentInEitherForm)
{
    TableModel model(
        {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")},
        {{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}},
        {int(Qt::AlignRight | Qt::AlignVCenter),
         QVariant::fromValue(Qt::Alignment(Qt::AlignHCenter)),
         QVariant::fromValue(Qt::Alignment(Qt::AlignRight)),
         {}});
    QTableView view;
    view.setModel(&model);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(CViewerPrint::kPrintResolution);
    CPrintListCtrl list(clock);
    list.prepare(QStringLiteral("t"), view);
    ASSERT_EQ(list.beginPrinting(printer, 96), kPrintOk);
    std::vector<PrintAlign> aligns;
    for (const PrintedColumn& column : list.layout().columns())
        aligns.push_back(column.align);
    EXPECT_EQ(aligns, (std::vector<PrintAlign>{PrintAlign::Right, PrintAlign::Centre,
                                               PrintAlign::Right, PrintAlign::Left}));
}

TEST_F(ListPrint, AFontThatCannotBeMadeLeavesNothingToPrint)
{
    auto model = stationTable(5);
    QTableView view;
    view.setModel(model.get());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(CViewerPrint::kPrintResolution);
    CPrintListCtrl list(clock);
    list.settings().footerFontSize = 0;
    list.prepare(QStringLiteral("t"), view);
    EXPECT_EQ(list.beginPrinting(printer, 96), kPrintFontFailed);
    EXPECT_EQ(list.pageCount(), 0);
    QImage page(100, 100, QImage::Format_RGB32);
    QPainter painter(&page);
    EXPECT_FALSE(list.printPage(painter, 1));

    list.settings().footerFontSize = 10;
    EXPECT_EQ(list.beginPrinting(printer, 96), kPrintOk);
    EXPECT_TRUE(list.printPage(painter, 1));
}

} // namespace
