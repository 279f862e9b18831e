#pragma once
// Result codes of a print run (0 for success) and the stop message each failure shows. The
// target is the PDF file's path or the printer's name, as Windows-1252 text.

#include <string>
#include <string_view>

enum PrintResult : int {
    kPrintOk = 0,
    kPrintOpenFailed = 1,   // the document could not be started
    kPrintWriteFailed = 2,  // the PDF file could not be written in full
    kPrintPageFailed = 3,   // the printer refused a page; the document was aborted
    kPrintFontFailed = 4,   // a printing font could not be created
    kPrintPageTooSmall = 5, // not one row or column fits the page
};

// The message for a failed run; empty for kPrintOk.
std::string printErrorText(int result, std::string_view target, bool pdfFile);
