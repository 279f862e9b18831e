#include "print/PrintJob.h"

#include <QPrinter>
#include <filesystem>
#include <system_error>

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
    file_ = std::make_unique<QFile>(printer_.outputFileName());
    if (!file_->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file_.reset();
        return kPrintOpenFailed;
    }
    writer_ = std::make_unique<QPdfWriter>(file_.get());
    writer_->setResolution(printer_.resolution());
    writer_->setPageLayout(printer_.pageLayout());
    writer_->setTitle(printer_.docName());
    writer_->setCreator(QStringLiteral("Skyvane8u"));
    if (!painter_.begin(writer_.get())) {
        removeFile();
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
    if (file_->error() != QFileDevice::NoError)
        return failWrite();
    writer_.reset();
    file_.reset();
    return kPrintOk;
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
    removeFile();
}

int CPrintJob::failWrite()
{
    if (painter_.isActive())
        painter_.end();
    removeFile();
    return kPrintWriteFailed;
}

void CPrintJob::removeFile()
{
    if (!file_)
        return;
    file_->close();
    // Only a regular file is ours to remove; a device (such as /dev/full) or a link stays.
    const std::filesystem::path path(QFile::encodeName(file_->fileName()).toStdString());
    std::error_code error;
    if (std::filesystem::symlink_status(path, error).type() == std::filesystem::file_type::regular)
        std::filesystem::remove(path, error);
    writer_.reset();
    file_.reset();
}
