#pragma once
// One printed document. On a printer it paints on the QPrinter itself. When the printer writes
// a PDF file, it paints on a QPdfWriter over a file the job opens itself, with the printer's
// page layout and resolution: the file's errors then show up page by page, a failed or aborted
// document leaves no broken file behind, and nothing reports success that did not reach the disk.

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <memory>
#include <string>

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
    void removeFile();

    QPrinter& printer_;
    std::unique_ptr<QFile> file_;
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
};
