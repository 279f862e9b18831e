#include "print/PrintJob.h"

#include <QPrinter>
#include <unistd.h>

#include "controls/AnsiText.h"
#include "print/PrintResult.h"

CPrintJob::CPrintJob(QPrinter& printer) : printer_(printer) {}

CPrintJob::~CPrintJob()
{
    if (painter_.isActive())
        abort();
}

bool CPrintJob::pdfFile() const { return printer_.outputFormat() == QPrinter::PdfFormat; }

std::string CPrintJob::target() const
{
    return toAnsi(pdfFile() ? printer_.outputFileName() : printer_.printerName());
}

int CPrintJob::begin()
{
    if (!pdfFile())
        return painter_.begin(&printer_) ? kPrintOk : kPrintOpenFailed;
    if (printer_.outputFileName().isEmpty())
        return kPrintOpenFailed;
    if (output_.open(QFile::encodeName(printer_.outputFileName()).toStdString()) != 0)
        return kPrintOpenFailed;
    // Qt writes the descriptor of the output's stream, whose own buffer stays empty.
    file_ = std::make_unique<QFile>();
    if (!file_->open(::fileno(output_.stream()), QIODevice::WriteOnly,
                     QFileDevice::DontCloseHandle)) {
        dropFile();
        return kPrintOpenFailed;
    }
    writer_ = std::make_unique<QPdfWriter>(file_.get());
    writer_->setResolution(printer_.resolution());
    writer_->setPageLayout(printer_.pageLayout());
    writer_->setTitle(printer_.docName());
    writer_->setCreator(QStringLiteral("Skyvane8u"));
    if (!painter_.begin(writer_.get())) {
        dropFile();
        return kPrintOpenFailed;
    }
    return kPrintOk;
}

int CPrintJob::newPage()
{
    if (!writer_)
        return printer_.newPage() ? kPrintOk : kPrintPageFailed;
    const bool started = writer_->newPage();
    if (file_->error() != QFileDevice::NoError)
        return failWrite();
    return started ? kPrintOk : kPrintPageFailed;
}

int CPrintJob::end()
{
    if (!writer_)
        return painter_.end() ? kPrintOk : kPrintPageFailed;
    painter_.end();
    if (!file_->flush() || file_->error() != QFileDevice::NoError)
        return failWrite();
    file_->close();
    writer_.reset();
    file_.reset();
    return output_.commit() == 0 ? kPrintOk : kPrintWriteFailed;
}

void CPrintJob::abort()
{
    if (!writer_) {
        printer_.abort();
        if (painter_.isActive())
            painter_.end();
        return;
    }
    if (painter_.isActive())
        painter_.end();
    dropFile();
}

int CPrintJob::failWrite()
{
    if (painter_.isActive())
        painter_.end();
    dropFile();
    return kPrintWriteFailed;
}

void CPrintJob::dropFile()
{
    writer_.reset();
    file_.reset();
    output_.discard(); // only the new file goes; the chosen one stays as it was
}
