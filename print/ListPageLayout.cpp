#include "print/ListPageLayout.h"

#include <algorithm>
#include <cstdio>

#include "print/PrintResult.h"

namespace {

// Gap between the column title row and the first row; the 3-unit line runs through it.
constexpr int kTitleRowGap = 10;
constexpr int kThickLine = 3;
constexpr int kFooterGap = 10;

} // namespace

int scaleFontHeight(int screenPixels, int printerDpi, int screenDpi)
{
    if (screenDpi <= 0)
        screenDpi = 96;
    const long long scaled = static_cast<long long>(screenPixels) * printerDpi;
    return static_cast<int>((scaled + screenDpi / 2) / screenDpi);
}

std::string pageNumberText(int page)
{
    char text[32];
    std::snprintf(text, sizeof text, "Page : %d", page);
    return text;
}

std::string printDateTimeText(const std::tm& time)
{
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d  %02d:%02d:%02d", time.tm_year + 1900,
                  time.tm_mon + 1, time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
    return text;
}

int CListPageLayout::setUp(const CPrintListSettings& settings, const ListPrintMetrics& metrics,
                           const std::vector<int>& widths, const std::vector<PrintAlign>& aligns,
                           int rowCount)
{
    settings_ = settings;
    metrics_ = metrics;
    rowCount_ = std::max(0, rowCount);
    columns_.clear();
    bool anyShown = false;
    int x = settings.leftMargin;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (widths[i] <= 0)
            continue;
        anyShown = true;
        if (settings.clipColumns && x + widths[i] > right())
            break; // this column and every one after it lie beyond the page width
        const PrintAlign align = i < aligns.size() ? aligns[i] : PrintAlign::Left;
        columns_.push_back({static_cast<int>(i), x, x + widths[i], align});
        x += widths[i];
    }
    // The rows start below the top margin, the header block and the column titles; counting
    // all of them keeps every row of a page above the footer.
    const int rows = (rowLimit() - rowTop(0)) / lineHeight();
    rowsPerPage_ = std::max(1, rows);
    if (rows < 1 || (anyShown && columns_.empty()))
        return kPrintPageTooSmall;
    return kPrintOk;
}

std::pair<int, int> CListPageLayout::pageRows(int page) const
{
    const long long first = static_cast<long long>(page - 1) * rowsPerPage_;
    if (page < 1 || first >= rowCount_)
        return {rowCount_, rowCount_};
    return {static_cast<int>(first),
            static_cast<int>(std::min<long long>(first + rowsPerPage_, rowCount_))};
}

std::vector<int> CListPageLayout::separators() const
{
    std::vector<int> xs;
    for (std::size_t i = 1; i < columns_.size(); ++i)
        xs.push_back(columns_[i].left);
    return xs;
}

PrintRect CListPageLayout::cellText(const PrintedColumn& column, int top) const
{
    return {column.left + kCellInset, top, column.right - kCellInset, top + lineHeight()};
}

int CListPageLayout::headerBlock() const
{
    return settings_.printHeader ? 4 * metrics_.titleHeight + 20 : 0;
}

PrintRect CListPageLayout::headerFrame() const
{
    return {settings_.leftMargin, settings_.topMargin, right(),
            settings_.topMargin + headerBlock()};
}

PrintRect CListPageLayout::upperLine() const
{
    const int top = settings_.topMargin + 10;
    return {settings_.leftMargin + metrics_.xWidth, top, right() - metrics_.xWidth,
            top + metrics_.titleHeight};
}

PrintRect CListPageLayout::titleLine() const
{
    const PrintRect upper = upperLine();
    return {upper.left, upper.bottom, upper.right, upper.bottom + 2 * metrics_.titleHeight};
}

PrintRect CListPageLayout::lowerLine() const
{
    const PrintRect title = titleLine();
    return {title.left, title.bottom, title.right, title.bottom + metrics_.titleHeight};
}

std::pair<HeaderLine, HeaderLine> CListPageLayout::headerLines(int page,
                                                               const std::string& dateTime) const
{
    if (!settings_.printFooter)
        return {{pageNumberText(page), PrintAlign::Right}, {dateTime, PrintAlign::Right}};
    if (settings_.useHeaderTexts)
        return {{settings_.upperHeaderText, settings_.upperHeaderAlign},
                {settings_.lowerHeaderText, settings_.lowerHeaderAlign}};
    return {};
}

int CListPageLayout::titleRowTop() const { return settings_.topMargin + headerBlock(); }

PrintRect CListPageLayout::thickLine() const
{
    const int top = titleRowTop() + lineHeight() + (kTitleRowGap - kThickLine) / 2;
    return {settings_.leftMargin, top, right(), top + kThickLine};
}

int CListPageLayout::rowTop(int index) const
{
    return titleRowTop() + lineHeight() + kTitleRowGap + index * lineHeight();
}

int CListPageLayout::rowLimit() const
{
    if (!settings_.printFooter)
        return metrics_.pageHeight;
    return metrics_.pageHeight - (metrics_.footerHeight + 4 + kFooterGap);
}

PrintRect CListPageLayout::footerFrame() const
{
    return {settings_.leftMargin, rowLimit() + kFooterGap, right(), metrics_.pageHeight};
}

PrintRect CListPageLayout::footerLeft() const
{
    const PrintRect frame = footerFrame();
    const int middle = (frame.left + frame.right) / 2;
    return {frame.left + metrics_.xWidth, frame.top + 2, middle, frame.bottom - 2};
}

PrintRect CListPageLayout::footerRight() const
{
    const PrintRect frame = footerFrame();
    const int middle = (frame.left + frame.right) / 2;
    return {middle, frame.top + 2, frame.right - metrics_.xWidth, frame.bottom - 2};
}
