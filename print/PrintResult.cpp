#include "print/PrintResult.h"

std::string printErrorText(int result, std::string_view target, bool pdfFile)
{
    const std::string where(target);
    switch (result) {
    case kPrintOk:
        return {};
    case kPrintOpenFailed:
        return pdfFile ? "ERROR: Unable to create the file " + where
                       : "ERROR: Unable to start printing on " + where;
    case kPrintWriteFailed:
        return "ERROR: Unable to write the file " + where + "; nothing was saved.";
    case kPrintPageFailed:
        return "ERROR: Printing failed on " + where + "; the document was cancelled.";
    case kPrintFontFailed:
        return std::string("ERROR: Unable to create the printing fonts.");
    case kPrintPageTooSmall:
        return std::string("ERROR: The page is too small to print the table.");
    default:
        return "ERROR: Printing failed on " + where;
    }
}
