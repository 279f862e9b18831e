#include "print/ViewerPrint.h"

#include <QApplication>
#include <QPrinter>
#include <QTableView>

#include "chart/GraphWnd.h"
#include "controls/WaitCursor.h"
#include "print/GraphPage.h"
#include "print/PrintJob.h"
#include "print/PrintListCtrl.h"
#include "print/PrintResult.h"
#include "print/QtPrintDialogs.h"

CViewerPrint::CViewerPrint(IMessageBox& messages)
    : messages_(messages), ownDialogs_(std::make_unique<CQtPrintDialogs>()), dialogs_(*ownDialogs_),
      clock_(systemClock_)
{
}

CViewerPrint::CViewerPrint(IMessageBox& messages, IPrintDialogs& dialogs, const IClock& clock)
    : messages_(messages), dialogs_(dialogs), clock_(clock)
{
}

CViewerPrint::~CViewerPrint() = default;

CPrintListSettings CViewerPrint::tableSettings()
{
    CPrintListSettings settings;
    settings.bodyFontSize = 60;
    settings.leftMargin = 150;
    settings.topMargin = 150;
    settings.bodyFace = "Arial";
    return settings;
}

void CViewerPrint::print(QWidget* viewer, QTableView& table, CGraphWnd& graph)
{
    PrintChoice choice;
    if (!dialogs_.choose(viewer, choice))
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(choice.title);
    if (!dialogs_.setUpPrinter(viewer, printer))
        return;
    printer.setResolution(kPrintResolution);
    if (choice.graph)
        printGraph(printer, choice.title, graph);
    else
        printTable(printer, choice.title, table, table.logicalDpiY());
}

int CViewerPrint::printTable(QPrinter& printer, const QString& title, QTableView& table,
                             int screenDpi)
{
    CPrintListCtrl list(clock_);
    list.settings() = tableSettings();
    list.prepare(title, table);
    CPrintJob job(printer);
    // Fonts and columns are measured on the printer before the document starts, so that a
    // failure there leaves no empty document behind.
    int result = list.beginPrinting(printer, screenDpi);
    if (result == kPrintOk) {
        CWaitCursor wait; // for as long as the document prints
        result = job.begin();
        for (int page = 1; result == kPrintOk && page <= list.pageCount(); ++page) {
            if (page > 1)
                result = job.newPage();
            if (result == kPrintOk && !list.printPage(job.painter(), page))
                result = kPrintPageFailed;
            // Repaint the windows and keep the main window's timers running between pages.
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        result = finish(job, result);
    }
    list.endPrinting();
    return report(result, job.target(), job.pdfFile());
}

int CViewerPrint::printGraph(QPrinter& printer, const QString& title, CGraphWnd& graph)
{
    CPrintJob job(printer);
    int result = kPrintOk;
    {
        CWaitCursor wait; // for as long as the document prints
        result = job.begin();
        if (result == kPrintOk) {
            const QPaintDevice& device = *job.painter().device();
            if (!drawGraphPage(job.painter(), QSize(device.width(), device.height()), graph, title))
                result = kPrintFontFailed;
        }
        result = finish(job, result);
    }
    return report(result, job.target(), job.pdfFile());
}

int CViewerPrint::finish(CPrintJob& job, int result)
{
    if (result != kPrintOk) {
        job.abort();
        return result;
    }
    return job.end();
}

int CViewerPrint::report(int result, const std::string& target, bool pdfFile)
{
    if (result != kPrintOk)
        messages_.tell(printErrorText(result, target, pdfFile), MessageIcon::Stop);
    return result;
}
