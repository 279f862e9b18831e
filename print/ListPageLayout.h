#pragma once
// The list printer's page arithmetic and layout, in device units: font heights scaled from the
// screen, rows per page, page count, the rows of each page, which columns fit the page width,
// and where the header block, the column title row, the rows and the footer go. The window side
// measures the fonts on the printer and paints what this places.
//
// A page from the top margin down: the header block (4 title-font lines + 20: a line, the title
// in a double-height font, a line), the column title row, a 10-unit band holding the 3-unit
// line, then the rows, each body height + 6 high; at the bottom a 10-unit gap and the footer
// frame (footer height + 4).

#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "print/PrintListSettings.h"

struct PrintRect {
    int left = 0;
    int top = 0;
    int right = 0; // exclusive
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const PrintRect&) const = default;
};

// The page and the three fonts as measured on the printer.
struct ListPrintMetrics {
    int pageWidth = 0;
    int pageHeight = 0;
    int titleHeight = 0; // line height of the title font
    int footerHeight = 0;
    int bodyHeight = 0;
    int xWidth = 0; // width of "X" in the body font
};

struct PrintedColumn {
    int column = 0; // index in the table
    int left = 0;
    int right = 0;
    PrintAlign align = PrintAlign::Left;
    bool operator==(const PrintedColumn&) const = default;
};

struct HeaderLine {
    std::string text;
    PrintAlign align = PrintAlign::Right;
};

// A screen-pixel font size in printer pixels, by the ratio of the vertical resolutions (rounded).
int scaleFontHeight(int screenPixels, int printerDpi, int screenDpi);

// "Page : %d"
std::string pageNumberText(int page);
// "%04d/%02d/%02d  %02d:%02d:%02d"
std::string printDateTimeText(const std::tm& time);

class CListPageLayout {
public:
    // Text inset of a cell on each side.
    static constexpr int kCellInset = 4;

    // Lays out rowCount rows of columns with the given print widths (0: skipped) and alignments.
    // Returns kPrintOk, or kPrintPageTooSmall when not one row fits, or when the table has
    // columns to print and not one of them fits the page width.
    int setUp(const CPrintListSettings& settings, const ListPrintMetrics& metrics,
              const std::vector<int>& widths, const std::vector<PrintAlign>& aligns, int rowCount);

    int rowsPerPage() const { return rowsPerPage_; }
    // Row count / rows per page + 1: an exact multiple ends with an empty page.
    int pageCount() const { return rowCount_ / rowsPerPage_ + 1; }
    // Rows [first, end) of page n (from 1); empty past the last row.
    std::pair<int, int> pageRows(int page) const;

    // The columns printed, left to right.
    const std::vector<PrintedColumn>& columns() const { return columns_; }
    // x of the separator lines: the left edge of every printed column but the first.
    std::vector<int> separators() const;
    // Where a cell's text goes in the line starting at top: inset on both sides.
    PrintRect cellText(const PrintedColumn& column, int top) const;

    // The header block and its three text lines (meaningful when the header is on).
    PrintRect headerFrame() const;
    PrintRect upperLine() const;
    PrintRect titleLine() const;
    PrintRect lowerLine() const;
    // Texts of the lines above and below the title on page n.
    std::pair<HeaderLine, HeaderLine> headerLines(int page, const std::string& dateTime) const;

    int lineHeight() const { return metrics_.bodyHeight + 6; }
    int titleRowTop() const;
    PrintRect thickLine() const;
    // Top of the i-th row line of a page (from 0).
    int rowTop(int index) const;
    // The y that no row may pass: the footer's top gap, or the page bottom.
    int rowLimit() const;

    // The footer frame and its two halves' text places (meaningful when the footer is on).
    PrintRect footerFrame() const;
    PrintRect footerLeft() const;
    PrintRect footerRight() const;

private:
    int right() const { return metrics_.pageWidth - settings_.leftMargin; }
    int headerBlock() const;

    CPrintListSettings settings_;
    ListPrintMetrics metrics_;
    std::vector<PrintedColumn> columns_;
    int rowCount_ = 0;
    int rowsPerPage_ = 1;
};
