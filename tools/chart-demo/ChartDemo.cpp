// chart-demo: shows a record file as a table and a graph, as the record viewer will.
//   chart-demo [--all] FILE                 open FILE (.ivt record file)
//   chart-demo --generate ROWS FILE         write a record file of ROWS samples, then open it
//   chart-demo --screenshots DIR FILE       save full, zoomed, grid and marks views as PNGs
//   chart-demo --bench FILE                 time reading, building and drawing
//   chart-demo --print DIR FILE             print the table and the graph to DIR/table.pdf and
//                                           DIR/graph.pdf, as the viewers' Print button does
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPrinter>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "DemoWindow.h"
#include "chart/GraphPanel.h"
#include "controls/QtMessageBox.h"
#include "core/FileSizeSignal.h"
#include "files/RecordFileReader.h"
#include "print/ViewerPrint.h"
#include "tools/demo-files/DemoFiles.h"

namespace {

void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button)
{
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// Draws a rubber band over the panel with the mouse and takes one zoom-in step.
void zoomInto(CGraphPanel* panel, QRect band)
{
    sendMouse(panel, QEvent::MouseButtonPress, band.topLeft(), Qt::LeftButton);
    sendMouse(panel, QEvent::MouseMove, band.center(), Qt::LeftButton);
    sendMouse(panel, QEvent::MouseMove, band.bottomRight(), Qt::LeftButton);
    sendMouse(panel, QEvent::MouseButtonRelease, band.bottomRight(), Qt::LeftButton);
    panel->zoomIn();
}

bool save(QWidget& window, const std::string& path)
{
    QApplication::processEvents();
    const bool ok = window.grab().save(QString::fromStdString(path));
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
    return ok;
}

int screenshots(DemoWindow& window, const std::string& dir)
{
    window.resize(1200, 800);
    window.show();
    QApplication::processEvents();
    window.buildGraph();
    CGraphPanel* panel = window.graph().panel();
    bool ok = save(window, dir + "/chart-full.png");
    const QSize s = panel->size();
    zoomInto(panel, QRect(QPoint(s.width() * 3 / 10, s.height() / 5),
                          QPoint(s.width() * 4 / 10, s.height() * 4 / 5)));
    ok = save(window, dir + "/chart-zoomed.png") && ok;
    panel->command(kCmdAxis); // grid on
    ok = save(window, dir + "/chart-grid.png") && ok;
    panel->command(kCmdAxis);
    zoomInto(panel, QRect(QPoint(s.width() * 45 / 100, 10),
                          QPoint(s.width() * 55 / 100, s.height() - 10)));
    panel->command(kCmdPointMarks);
    ok = save(window, dir + "/chart-marks.png") && ok;
    return ok ? 0 : 1;
}

double msSince(const std::chrono::steady_clock::time_point& start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

int printPdfs(DemoWindow& window, const std::string& dir, const std::string& file,
              IMessageBox& messages)
{
    window.resize(1200, 800);
    window.show();
    QApplication::processEvents();
    window.buildGraph();
    CViewerPrint print(messages);
    const QString title = QString::fromStdString(std::filesystem::path(file).filename().string());
    int result = 0;
    for (const char* name : {"table.pdf", "graph.pdf"}) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(dir + "/" + name));
        printer.setDocName(title);
        printer.setResolution(CViewerPrint::kPrintResolution);
        const bool table = name == std::string("table.pdf");
        const auto start = std::chrono::steady_clock::now();
        result |= table ? print.printTable(printer, title, window.table(), window.logicalDpiY())
                        : print.printGraph(printer, title, window.graph());
        std::printf("%s/%s: %.1f ms\n", dir.c_str(), name, msSince(start));
    }
    return result == 0 ? 0 : 1;
}

int bench(DemoWindow& window)
{
    window.resize(1600, 1000);
    window.show();
    QApplication::processEvents();
    auto start = std::chrono::steady_clock::now();
    window.buildGraph();
    std::printf("build graph: %.1f ms\n", msSince(start));
    CGraphPanel* panel = window.graph().panel();
    start = std::chrono::steady_clock::now();
    panel->render();
    std::printf("first render %dx%d: %.1f ms\n", panel->width(), panel->height(), msSince(start));
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; ++i)
        panel->render();
    std::printf("render: %.1f ms\n", msSince(start) / 10);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    ignoreFileSizeSignal();
    QApplication app(argc, argv);
    std::string mode, dir, file;
    int rows = 0;
    bool all = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--all") {
            all = true;
        } else if (arg == "--generate" && i + 1 < argc) {
            rows = std::atoi(argv[++i]);
        } else if (arg == "--screenshots" && i + 1 < argc) {
            mode = arg;
            dir = argv[++i];
        } else if (arg == "--print" && i + 1 < argc) {
            mode = arg;
            dir = argv[++i];
        } else if (arg == "--bench") {
            mode = arg;
        } else {
            file = arg;
        }
    }
    if (file.empty()) {
        std::fprintf(stderr, "usage: chart-demo [--all] [--generate ROWS] [--screenshots DIR | "
                             "--bench | --print DIR] FILE.ivt\n");
        return 2;
    }
    if (rows > 0 && !writeDemoRecordFile(file, rows)) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        return 1;
    }
    CQtMessageBox messages(QStringLiteral("Chart demo"));
    CDataTable table;
    const auto start = std::chrono::steady_clock::now();
    if (!readRecordFile(file, table, messages))
        return 1;
    std::printf("read %zu rows: %.1f ms\n", table.rowCount(), msSince(start));
    DemoWindow window(table, all);
    if (mode == "--screenshots")
        return screenshots(window, dir);
    if (mode == "--bench")
        return bench(window);
    if (mode == "--print")
        return printPdfs(window, dir, file, messages);
    window.resize(1200, 800);
    window.show();
    window.buildGraph();
    return QApplication::exec();
}
