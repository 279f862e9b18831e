#pragma once
// The Print button of a viewer: the choice dialog, the print dialog, then the table (paginated
// by the list printer) or the graph page, to a CUPS printer or a PDF file. Failures are shown
// as stop messages; a document that fails part-way is abandoned, never left half-written.

#include <QString>
#include <memory>
#include <string>

#include "core/Clock.h"
#include "core/MessageBox.h"
#include "print/PrintListSettings.h"

class CGraphWnd;
class CPrintJob;
class IPrintDialogs;
class QPrinter;
class QTableView;
class QWidget;

class CViewerPrint {
public:
    explicit CViewerPrint(IMessageBox& messages);
    // Tests answer the dialogs and fix the print date-time.
    CViewerPrint(IMessageBox& messages, IPrintDialogs& dialogs, const IClock& clock);
    ~CViewerPrint();

    void print(QWidget* viewer, QTableView& table, CGraphWnd& graph);

    // The table or the graph on a printer set up by the print dialog; the result code (a
    // PrintResult), its message already shown. screenDpi is the resolution of the table's
    // screen, which the list printer's font sizes refer to.
    int printTable(QPrinter& printer, const QString& title, QTableView& table, int screenDpi);
    int printGraph(QPrinter& printer, const QString& title, CGraphWnd& graph);

    // The list printer's settings for a viewer's table: 150-unit margins, body size 60.
    static CPrintListSettings tableSettings();

    // Device units per inch of printed pages: the list printer's margins (150) and line widths
    // are the sizes they have on a 300-dpi printer.
    static constexpr int kPrintResolution = 300;

private:
    // Ends the document after a run that gave result, or abandons it after a failure.
    static int finish(CPrintJob& job, int result);
    int report(int result, const std::string& target, bool pdfFile);

    IMessageBox& messages_;
    std::unique_ptr<IPrintDialogs> ownDialogs_;
    IPrintDialogs& dialogs_;
    CSystemClock systemClock_;
    const IClock& clock_;
};
