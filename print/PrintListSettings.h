#pragma once
// What the list printer prints and how: header and footer, column clipping and separators, font
// sizes (screen pixels, scaled to the printer) and faces, margins (device units), and the
// optional custom header texts. Defaults are the printer's own; the viewers set the margins and
// the body size.

#include <cstdint>
#include <string>

enum class PrintAlign { Left, Centre, Right };

struct CPrintListSettings {
    bool printHeader = true;
    bool printFooter = true;
    bool clipColumns = true;      // columns that do not fit the page width are left out
    bool columnSeparators = true; // thin lines between columns
    int titleFontSize = 10;       // the title and body fonts both use this size
    int footerFontSize = 10;
    int bodyFontSize = 10; // kept for callers; no font uses it
    int leftMargin = 0;    // device units, mirrored on the right
    int topMargin = 0;
    std::string titleFace = "Arial";
    std::string footerFace = "Arial";
    std::string bodyFace = "Arial";
    // Custom texts on the lines above and below the title, printed only when switched on and
    // the footer is on (with the footer off those lines carry the page number and date-time).
    bool useHeaderTexts = false;
    std::string upperHeaderText;
    std::string lowerHeaderText;
    PrintAlign upperHeaderAlign = PrintAlign::Right;
    PrintAlign lowerHeaderAlign = PrintAlign::Right;
    bool fillHeader = false;
    bool fillFooter = false;
    std::uint32_t headerFill = 0xFFFFFF; // 0xRRGGBB
    std::uint32_t footerFill = 0xFFFFFF;
};
