// The record and log viewers driven as a user would (offscreen): opening, the button bar,
// zoom, Graph Settings, the clipboard, Save As, selection, Export and Print through their
// interface, and the log viewer's block choice.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <unistd.h>

#include "chart/GraphFrame.h"
#include "chart/GraphPanel.h"
#include "chart/GraphWnd.h"
#include "chart/PointViewBar.h"
#include "controls/AnsiText.h"
#include "controls/IconButton.h"
#include "core/Unit.h"
#include "tests/support/ScriptedFileDialog.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"
#include "viewers/DispayLoggedDataDlg.h"
#include "viewers/GraphSettingDlg.h"
#include "viewers/ViewFileDlg.h"

namespace {

// Outputs that record what the viewer handed them.
class CRecordedOutputs final : public IViewerOutputs {
public:
    struct Log {
        int exports = 0;
        std::size_t exportedRows = 0;
        std::vector<std::string> titles;
        int prints = 0;
        QTableView* printedTable = nullptr;
        CGraphWnd* printedGraph = nullptr;
    };
    explicit CRecordedOutputs(Log& log) : log_(log) {}
    void exportTable(QWidget*, const CDataTable& table,
                     const std::vector<std::string>& titles) override
    {
        ++log_.exports;
        log_.exportedRows = table.rowCount();
        log_.titles = titles;
    }
    void print(QWidget*, QTableView& table, CGraphWnd& graph) override
    {
        ++log_.prints;
        log_.printedTable = &table;
        log_.printedGraph = &graph;
    }

private:
    Log& log_;
};

// "    12.5" and so on: each field right-aligned in 8 characters.
std::string dataText(const std::vector<std::string>& fields)
{
    std::string text;
    for (const std::string& f : fields)
        text += std::string(8 - f.size(), ' ') + f;
    return text;
}

// Row r of a record file: channel k holds r * 10 + k, Temperature of row 1 is "_ofl".
std::string recordFile(int rows)
{
    std::string content;
    for (int r = 0; r < rows; ++r) {
        std::vector<std::string> fields;
        for (int k = 0; k < 13; ++k)
            fields.push_back(r == 1 && k == 3 ? "_ofl" : std::to_string(r * 10 + k));
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "2026/03/14 10:%02d:%02d#", r / 60 % 60, r % 60);
        content += stamp + dataText(fields) + "\r\r\n";
    }
    return content;
}

// A log file of `records` records with `blocks` instrument blocks: block b, channel k of
// record r holds b * 1000 + r * 10 + k.
std::string logFile(int records, int blocks)
{
    std::string content;
    for (int r = 0; r < records; ++r) {
        char stamp[48];
        std::snprintf(stamp, sizeof stamp, "DATE-TIME: 2026/05/02 %02d:%02d:00\r\r\n", r / 60 % 24,
                      r % 60);
        content += stamp;
        for (int b = 0; b < blocks; ++b) {
            std::vector<std::string> fields;
            for (int k = 0; k < 13; ++k)
                fields.push_back(std::to_string(b * 1000 + r * 10 + k));
            content += dataText(fields) + "\r\r\n";
        }
    }
    return content;
}

void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// A rubber band over the middle of the panel.
void drawBand(CGraphPanel* panel)
{
    const QPoint from(panel->width() / 4, panel->height() / 4);
    const QPoint to(panel->width() / 2, panel->height() * 3 / 4);
    sendMouse(panel, QEvent::MouseButtonPress, from, Qt::LeftButton);
    sendMouse(panel, QEvent::MouseMove, to, Qt::LeftButton);
    sendMouse(panel, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

// Runs `act` (which opens the Graph Settings dialog) and handles the dialog with `handle`.
void withGraphSettings(const std::function<void()>& act,
                       const std::function<void(CGraphSettingDlg&)>& handle)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CGraphSettingDlg*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        handle(*dialog);
    });
    act();
    EXPECT_TRUE(seen) << "the Graph Settings dialog did not open";
}

std::string headerText(QTableView& table, int column)
{
    return toAnsi(table.model()->headerData(column, Qt::Horizontal).toString());
}

bool headerHasBitmap(QTableView& table, int column)
{
    return !table.model()->headerData(column, Qt::Horizontal, Qt::DecorationRole).isNull();
}

std::string cell(QTableView& table, int row, int column)
{
    return toAnsi(table.model()->index(row, column).data().toString());
}

class Viewers : public ::testing::Test {
protected:
    Viewers() { Unit::instance().reset(); }
    ~Viewers() override { Unit::instance().reset(); }

    CViewerContext context(const std::string& name)
    {
        return {dir.file(name), dir.directory(), messages, fileDialog,
                std::make_unique<CRecordedOutputs>(outputs)};
    }
    std::unique_ptr<CViewFileDlg> openRecord(const std::string& content, int width = 1000)
    {
        writeFile(dir.file("dump.ivt"), content);
        auto viewer = std::make_unique<CViewFileDlg>(context("dump.ivt"));
        viewer->resize(width, 700);
        viewer->show();
        QApplication::processEvents();
        return viewer;
    }
    std::unique_ptr<CDispayLoggedDataDlg> openLog(const std::string& content)
    {
        writeFile(dir.file("day.lvt"), content);
        auto viewer = std::make_unique<CDispayLoggedDataDlg>(context("day.lvt"));
        viewer->resize(1000, 700);
        viewer->show();
        QApplication::processEvents();
        return viewer;
    }

    TempDir dir;
    CScriptedMessageBox messages;
    CScriptedFileDialog fileDialog;
    CRecordedOutputs::Log outputs;
};

} // namespace

TEST_F(Viewers, RecordViewerShowsTableAndGraphOfTheFile)
{
    Unit::instance().setSpeedUnit("m/s");
    auto viewer = openRecord(recordFile(50) + "    1.50    2.50\r\r\n");
    EXPECT_TRUE(messages.shown().empty());
    QTableView& table = viewer->table();
    ASSERT_EQ(table.model()->rowCount(), 51);
    ASSERT_EQ(table.model()->columnCount(), 14);
    EXPECT_EQ(cell(table, 0, 0), "2026/03/14 10:00:00");
    EXPECT_EQ(cell(table, 1, 4), "---  --");
    EXPECT_EQ(cell(table, 1, 5), "      14");
    EXPECT_EQ(cell(table, 50, 0), ""); // a line without "#"
    EXPECT_EQ(cell(table, 50, 1), "    1.50");
    EXPECT_EQ(headerText(table, 0), "Date Time");
    EXPECT_EQ(headerText(table, 1), "SoW m/s");
    EXPECT_EQ(headerText(table, 13), "T.Sonic \xB0"
                                     "C");
    EXPECT_FALSE(headerHasBitmap(table, 0));
    for (int column = 1; column < 14; ++column)
        EXPECT_TRUE(headerHasBitmap(table, column)) << column;
    EXPECT_EQ(table.columnWidth(0), 140);
    EXPECT_EQ(table.columnWidth(7), 100);

    const char* tips[] = {
        "Save As...", "Copy Table to Clipboard", "Copy Graph to Clipboard", "Zoom +",
        "Zoom -",     "Graph Settings",          "Export to Excel",         "Print"};
    for (int i = 0; i < CViewerDialog::kButtonCount; ++i)
        EXPECT_EQ(viewer->button(CViewerDialog::Button(i)).toolTip().toStdString(), tips[i]);
    EXPECT_FALSE(viewer->button(CViewerDialog::ZoomOut).isEnabled());

    CGraphWnd* graph = viewer->graph();
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->slotCount(), 32);
    EXPECT_TRUE(graph->frame()->pointsBar()->isHidden());
    EXPECT_EQ(graph->partnerList(), &table);
    EXPECT_EQ(graph->visibility(),
              (std::vector<std::uint8_t>{0, 1, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(graph->getSeries(3)->points().at(1).y, -999);
    // The graph fills the lower half; the full view is the widened data bounds.
    EXPECT_NEAR(graph->mapTo(viewer.get(), QPoint(0, 0)).y(), viewer->height() / 2, 1);
    const PlotRanges view = graph->panel()->ranges();
    EXPECT_EQ(view.xFrom, 0);
    EXPECT_EQ(view.xTo, 50);
    const double spread = 500 + 999; // Elevation of the last row to the marker
    EXPECT_DOUBLE_EQ(view.yFrom, -999 - spread / 10);
    EXPECT_DOUBLE_EQ(view.yTo, 500 + spread / 10);
}

TEST_F(Viewers, AFileThatCannotBeOpenedLeavesAnEmptyViewer)
{
    auto record = std::make_unique<CViewFileDlg>(context("missing.ivt"));
    EXPECT_EQ(messages.shown(), (std::vector<ShownMessage>{{"ERROR: Unable to open selected file",
                                                            MessageIcon::Stop, false}}));
    EXPECT_EQ(record->table().model()->rowCount(), 0);
    EXPECT_EQ(record->graph(), nullptr);
    // The buttons that need a graph do nothing; nothing breaks.
    record->OnCopyGraph();
    record->OnZoomIn();
    record->OnZoomOut();
    record->OnPrint();
    EXPECT_EQ(outputs.prints, 0);

    messages.clear();
    auto log = std::make_unique<CDispayLoggedDataDlg>(context("missing.lvt"));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"ERROR: unable to open LogInstr file.",
                                                          "ERROR: unable to open LogInstr file."}));
    EXPECT_EQ(log->graph(), nullptr);
    EXPECT_EQ(log->blockChoice().count(), 0);
    EXPECT_EQ(log->windowTitle(), "Ventora Log Viewer");
}

// Files refused for a reason of their own, a folder, a file beyond the limits: the open-failure
// message, an empty viewer, and no graph however Graph Settings are set, so Print does nothing.
TEST_F(Viewers, RefusedFilesLeaveAViewerWithoutGraph)
{
    std::string hashLines, blocks = "DATE-TIME: 2024/01/02 10:00:00\r\r\n";
    for (int i = 0; i < 5000; ++i)
        hashLines += "#\n";
    for (int i = 0; i < 65; ++i)
        blocks += std::string(104, '1') + "\r\r\n";
    std::filesystem::create_directory(dir.file("folder.ivt"));
    writeFile(dir.file("hash.ivt"), hashLines);
    writeFile(dir.file("blocks.lvt"), blocks);
    const std::string record = "ERROR: Unable to open selected file";
    const std::string log = "ERROR: unable to open LogInstr file.";
    const struct Row {
        const char* name;
        std::vector<std::string> messages;
    } rows[] = {{"folder.ivt", {record}}, {"hash.ivt", {record}}, {"blocks.lvt", {log}},
                {"missing.lvt", {log, log}}};
    for (const Row& row : rows) {
        messages.clear();
        std::unique_ptr<CViewerDialog> viewer;
        if (std::string(row.name).ends_with(".ivt"))
            viewer = std::make_unique<CViewFileDlg>(context(row.name));
        else
            viewer = std::make_unique<CDispayLoggedDataDlg>(context(row.name));
        EXPECT_EQ(messages.texts(), row.messages) << row.name;
        EXPECT_EQ(viewer->table().model()->rowCount(), 0) << row.name;
        withGraphSettings([&] { viewer->OnGraphSettings(); },
                          [](CGraphSettingDlg& dialog) { dialog.accept(); });
        EXPECT_EQ(viewer->graph(), nullptr) << row.name;
        viewer->OnPrint();
        viewer->OnCopyGraph();
        EXPECT_EQ(outputs.prints, 0) << row.name;
    }
}

TEST_F(Viewers, ZoomMinusFollowsZoomPlusAndZoomMinusButNotARebuild)
{
    auto viewer = openRecord(recordFile(200));
    CGraphPanel* panel = viewer->graph()->panel();
    CIconButton& zoomOut = viewer->button(CViewerDialog::ZoomOut);
    const PlotRanges full = panel->ranges();

    drawBand(panel);
    viewer->button(CViewerDialog::ZoomIn).click();
    EXPECT_TRUE(zoomOut.isEnabled());
    EXPECT_LT(panel->ranges().xTo - panel->ranges().xFrom, full.xTo - full.xFrom);

    viewer->buildGraph(); // a rebuild shows everything again but leaves the buttons alone
    EXPECT_EQ(panel->ranges(), full);
    EXPECT_TRUE(zoomOut.isEnabled());

    drawBand(panel);
    viewer->OnZoomIn();
    zoomOut.click();
    EXPECT_EQ(panel->ranges(), full);
    EXPECT_FALSE(zoomOut.isEnabled());
    viewer->buildGraph();
    EXPECT_FALSE(zoomOut.isEnabled());

    // Zoom + enables Zoom - even without a rectangle to zoom into.
    viewer->OnZoomIn();
    EXPECT_EQ(panel->ranges(), full);
    EXPECT_TRUE(zoomOut.isEnabled());
}

TEST_F(Viewers, GraphSettingsSetTheFlagsAndRebuildTheSameGraph)
{
    auto viewer = openRecord(recordFile(20));
    CGraphWnd* graph = viewer->graph();
    withGraphSettings([&] { viewer->OnGraphSettings(); },
                      [](CGraphSettingDlg& dialog) {
                          EXPECT_EQ(dialog.windowTitle(), "Graph Settings");
                          EXPECT_EQ(dialog.box(2).text(), "Pressure");
                          EXPECT_EQ(dialog.box(3).text(), "Temperature");
                          EXPECT_EQ(dialog.box(4).text(), "Humidity");
                          EXPECT_EQ(dialog.box(9).text(), "Spd U-V");
                          EXPECT_TRUE(dialog.box(1).isChecked());
                          EXPECT_FALSE(dialog.box(0).isChecked());
                          for (int k = 0; k < 13; ++k) {
                              EXPECT_TRUE(dialog.box(k).isEnabled());
                              dialog.box(k).setChecked(k == 0 || k == 12);
                          }
                          dialog.accept();
                      });
    EXPECT_EQ(viewer->graph(), graph); // created once, rebuilt since
    EXPECT_EQ(graph->visibility(),
              (std::vector<std::uint8_t>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(graph->getSeries(0)->points().count(), 20);
    EXPECT_EQ(graph->getSeries(1)->points().count(), 0);
    EXPECT_EQ(graph->getSeries(12)->points().count(), 20);

    withGraphSettings([&] { viewer->OnGraphSettings(); },
                      [](CGraphSettingDlg& dialog) {
                          dialog.box(5).setChecked(true);
                          dialog.reject();
                      });
    EXPECT_EQ(graph->visibility()[5], 0);
}

// Channels that Graph Settings adds read their values from the file then: the file's numbers,
// or, for a file cut shorter meanwhile, the open-failure message once and an emptied viewer.
TEST_F(Viewers, ChannelsAddedByGraphSettingsReadTheFileThen)
{
    for (const bool cut : {false, true}) {
        auto viewer = openRecord(recordFile(3000));
        if (cut) {
            ASSERT_EQ(::truncate(dir.file("dump.ivt").c_str(), 0), 0);
        }
        withGraphSettings([&] { viewer->OnGraphSettings(); },
                          [](CGraphSettingDlg& dialog) {
                              dialog.box(0).setChecked(true);
                              dialog.box(12).setChecked(true);
                              dialog.accept();
                          });
        CGraphWnd* graph = viewer->graph();
        if (!cut) {
            EXPECT_TRUE(messages.texts().empty());
            EXPECT_EQ(graph->getSeries(0)->points().at(2999).y, 29990);
            EXPECT_EQ(graph->getSeries(12)->points().at(7).y, 82);
            EXPECT_EQ(graph->getSeries(3)->points().at(1).y, -999); // "_ofl"
            continue;
        }
        EXPECT_EQ(messages.texts(),
                  std::vector<std::string>{"ERROR: Unable to open selected file"});
        EXPECT_EQ(viewer->rows().rowCount(), 0u);
        EXPECT_EQ(graph->getSeries(0)->points().count(), 0);
    }
}

TEST_F(Viewers, CopyTableAndCopyGraphFillTheClipboard)
{
    auto viewer = openRecord(recordFile(2));
    QGuiApplication::clipboard()->clear();
    viewer->button(CViewerDialog::CopyTable).click();
    EXPECT_EQ(toAnsi(QGuiApplication::clipboard()->text()),
              "2026/03/14 10:00:00       0       1       2       3       4       5       6"
              "       7       8       9      10      11      12\r\n"
              "2026/03/14 10:00:01      10      11      12---  --      14      15      16"
              "      17      18      19      20      21      22\r\n");

    viewer->button(CViewerDialog::CopyGraph).click();
    const QImage image = QGuiApplication::clipboard()->image();
    EXPECT_EQ(image.size(), viewer->graph()->size());

    auto log = openLog(logFile(2, 2));
    log->OnCopyTable();
    const std::string text = toAnsi(QGuiApplication::clipboard()->text());
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "2026/05/02 00:00:00\t       0\t       1\t       2\t       3\t       4\t       5"
              "\t       6\t       7\t       8\t       9\t      10\t      11\t      12");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
}

TEST_F(Viewers, SaveAsCopiesTheOpenedFileWithTheViewersExtension)
{
    const std::string content = recordFile(3);
    auto viewer = openRecord(content);
    fileDialog.answers = {dir.file("copy.ivt"), dir.file("copy.lvt")};
    viewer->button(CViewerDialog::SaveAs).click();
    EXPECT_EQ(readFile(dir.file("copy.ivt")), content);
    viewer->OnSaveAs();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"ERROR: Bad File extention."});
    ASSERT_EQ(fileDialog.requests.size(), 2u);
    EXPECT_EQ(fileDialog.saveRequests, (std::vector<bool>{true, true}));
    EXPECT_EQ(fileDialog.requests[0].defaultExtension, "ivt");

    auto log = openLog(logFile(2, 1));
    fileDialog.answers = {dir.file("copy.lvt")};
    log->OnSaveAs();
    EXPECT_EQ(readFile(dir.file("copy.lvt")), logFile(2, 1));
    EXPECT_EQ(fileDialog.requests.back().filter, "Logger Ventora files (*.lvt;)|*.lvt||");
}

TEST_F(Viewers, SelectionKeepsTheFirstSelectedRow)
{
    auto viewer = openRecord(recordFile(30));
    EXPECT_EQ(viewer->selectedRow(), -1);
    QTableView& table = viewer->table();
    table.selectionModel()->select(
        QItemSelection(table.model()->index(12, 0), table.model()->index(14, 13)),
        QItemSelectionModel::ClearAndSelect);
    table.selectionModel()->select(table.model()->index(7, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(viewer->selectedRow(), 7);
    table.clearSelection();
    EXPECT_EQ(viewer->selectedRow(), -1);
}

TEST_F(Viewers, ExportAndPrintHandOnTheTableTheTitlesAndTheGraph)
{
    auto viewer = openRecord(recordFile(4));
    viewer->button(CViewerDialog::Export).click();
    viewer->button(CViewerDialog::Print).click();
    EXPECT_EQ(outputs.exports, 1);
    EXPECT_EQ(outputs.exportedRows, 4u);
    ASSERT_EQ(outputs.titles.size(), 13u);
    EXPECT_EQ(outputs.titles[2], "Pressure mbar");
    EXPECT_EQ(outputs.prints, 1);
    EXPECT_EQ(outputs.printedTable, &viewer->table());
    EXPECT_EQ(outputs.printedGraph, viewer->graph());

    auto log = openLog(logFile(3, 2));
    log->OnExport();
    ASSERT_EQ(outputs.titles.size(), 26u);
    EXPECT_EQ(outputs.titles[12], "T.Sonic \xB0"
                                  "C");
    EXPECT_EQ(outputs.titles[24], "VA7310 (SoS)");

    // Without outputs the buttons do nothing.
    writeFile(dir.file("plain.ivt"), recordFile(2));
    CViewFileDlg plain({dir.file("plain.ivt"), dir.directory(), messages, fileDialog, nullptr});
    plain.OnExport();
    plain.OnPrint();
    EXPECT_EQ(outputs.exports, 2);
    EXPECT_EQ(outputs.prints, 1);
}

TEST_F(Viewers, LogViewerShowsEveryBlockAndGraphsTheFirst)
{
    auto viewer = openLog(logFile(30, 3));
    QTableView& table = viewer->table();
    ASSERT_EQ(table.model()->columnCount(), 40);
    EXPECT_EQ(cell(table, 2, 0), "2026/05/02 00:02:00");
    EXPECT_EQ(cell(table, 2, 14), "    1020"); // block 2, SoW
    EXPECT_EQ(headerText(table, 1), "SoW ");
    EXPECT_EQ(headerText(table, 14), " (SoW)");
    EXPECT_EQ(table.columnWidth(0), 150);
    EXPECT_EQ(table.columnWidth(25), 150);
    EXPECT_EQ(table.columnWidth(26), 80);
    EXPECT_EQ(table.model()->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignCenter));
    ASSERT_EQ(viewer->blockChoice().count(), 3);
    EXPECT_EQ(viewer->blockChoice().itemText(2), "VA7310");
    EXPECT_EQ(viewer->blockChoice().currentIndex(), 0);
    EXPECT_EQ(viewer->button(CViewerDialog::SaveAs).toolTip(), "Save as...");

    CGraphWnd* graph = viewer->graph();
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->seriesCount(), 5);
    EXPECT_EQ(graph->partnerList(), &viewer->graphSourceList());
    EXPECT_TRUE(viewer->graphSourceList().isHidden());
    EXPECT_EQ(graph->partnerText(2, 0).toStdString(), "2026/05/02 00:02:00");
    EXPECT_EQ(graph->partnerText(2, 5).toStdString(), "      24");
    EXPECT_EQ(graph->getSeries(4)->points().at(2).y, 24);

    // No captions for the three Ain boxes, and only the five series' boxes can be changed.
    withGraphSettings([&] { viewer->OnGraphSettings(); },
                      [](CGraphSettingDlg& dialog) {
                          EXPECT_EQ(dialog.box(1).text(), "Azimuth");
                          EXPECT_EQ(dialog.box(2).text(), "");
                          EXPECT_EQ(dialog.box(4).text(), "");
                          EXPECT_TRUE(dialog.box(4).isEnabled());
                          EXPECT_FALSE(dialog.box(5).isEnabled());
                          dialog.box(1).setChecked(false);
                          dialog.accept();
                      });
    EXPECT_EQ(graph->getSeries(1)->points().count(), 0);
}

TEST_F(Viewers, ChoosingABlockMovesGraphBitmapsAndView)
{
    auto viewer = openLog(logFile(30, 3));
    CGraphWnd* graph = viewer->graph();
    graph->visibility()[1] = 0;
    QTableView& table = viewer->table();

    viewer->OnBlockChoice(2);
    EXPECT_EQ(viewer->startColumn(), 27);
    EXPECT_EQ(viewer->blockChoice().currentIndex(), 2);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(graph->visibility()[static_cast<std::size_t>(i)], 1) << i;
        EXPECT_EQ(graph->getSeries(i)->points().at(3).y, 2000 + 30 + i) << i;
    }
    EXPECT_EQ(graph->partnerText(3, 1).toStdString(), "    2030");
    for (int column : {1, 5, 26, 32})
        EXPECT_FALSE(headerHasBitmap(table, column)) << column;
    for (int column : {6, 13, 27, 31})
        EXPECT_TRUE(headerHasBitmap(table, column)) << column;
    // The chosen block's first column is in view.
    const int left = table.columnViewportPosition(27);
    EXPECT_GE(left, 0);
    EXPECT_LE(left + table.columnWidth(27), table.viewport()->width());

    // Choosing the current block changes nothing; going back returns the bitmaps and the view.
    const CGraphProps* series = graph->getSeries(0);
    viewer->OnBlockChoice(2);
    EXPECT_EQ(graph->getSeries(0), series);
    viewer->OnBlockChoice(0);
    EXPECT_EQ(viewer->startColumn(), 1);
    EXPECT_TRUE(headerHasBitmap(table, 1));
    EXPECT_FALSE(headerHasBitmap(table, 27));
    EXPECT_GE(table.columnViewportPosition(1), 0);
    EXPECT_EQ(graph->getSeries(0)->points().at(3).y, 30);
}
