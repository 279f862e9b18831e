#pragma once
// One printed document. On a printer it paints on the QPrinter itself. When the printer writes
// a PDF file, it paints on a QPdfWriter with the printer's page layout and resolution, over a
// file written as every output of ours is (files/OutputFile.h): a new file that replaces the
// chosen one only when the document is complete. The file's errors show up page by page, a
// failed or aborted document leaves the earlier file of that name as it was, and nothing
// reports success that did not reach the disk.

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <memory>
#include <string>

#include "files/OutputFile.h"

class QPrinter;

class CPrintJob {
public:
    explicit CPrintJob(QPrinter& printer);
    ~CPrintJob();
    CPrintJob(const CPrintJob&) = delete;
    CPrintJob& operator=(const CPrintJob&) = delete;

    bool pdfFile() const;
    // The PDF file's path or the printer's name, for messages (Windows-1252).
    std::string target() const;

    // Starts the document, named by the printer's document name, on its first page.
    int begin();
    QPainter& painter() { return painter_; }
    // Ends the current page and starts the next.
    int newPage();
    // Ends the last page and the document.
    int end();
    // Gives the document up: the printer is asked to drop it, a PDF file is removed.
    void abort();

private:
    int failWrite();
    void dropFile();

    QPrinter& printer_;
    COutputFile output_;
    std::unique_ptr<QFile> file_;
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
};
