#pragma once
// The list printer: prints any QTableView page by page, with a header block carrying the title,
// the column titles, the rows and a footer with the page number and the print date-time.
// It reads the view's model as displayed: DisplayRole texts of the cells and the horizontal
// header, TextAlignmentRole for each column's alignment, and the header's section sizes (a
// column 0 wide on screen is not printed). The page arithmetic is CListPageLayout's.
//
// Use: prepare(), beginPrinting() on the printer, printPage() for pages 1..pageCount(),
// endPrinting().

#include <QFont>
#include <QPointer>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "print/ListPageLayout.h"
#include "print/PrintListSettings.h"

class QAbstractItemModel;
class QHeaderView;
class QPainter;
class QPaintDevice;
class QTableView;

class CPrintListCtrl {
public:
    explicit CPrintListCtrl(const IClock& clock);

    CPrintListSettings& settings() { return settings_; }
    const CPrintListSettings& settings() const { return settings_; }

    // Stores the title and the list, reads its column and row counts, takes the local time.
    void prepare(const QString& title, const QTableView& list);

    // Creates the fonts for the device, measures the columns and lays out the pages.
    // screenDpi is the vertical resolution the font sizes were chosen for. Returns kPrintOk,
    // kPrintFontFailed (no font is kept) or kPrintPageTooSmall.
    int beginPrinting(const QPaintDevice& device, int screenDpi);
    int pageCount() const { return ready_ ? layout_.pageCount() : 0; }
    const CListPageLayout& layout() const { return layout_; }

    // Prints page n (from 1); false, drawing nothing, without a successful beginPrinting.
    bool printPage(QPainter& painter, int page);

    // Frees the fonts and the per-column data.
    void endPrinting();

private:
    struct Fonts {
        QFont title;
        QFont doubleTitle;
        QFont footer;
        QFont body;
    };
    std::optional<Fonts> createFonts(const QPaintDevice& device, int screenDpi) const;
    void measureColumns(const Fonts& fonts, const QPaintDevice& device);
    void printHeader(QPainter& painter, int page);
    void printColumnTitles(QPainter& painter);
    int printRows(QPainter& painter, int page);
    void printFooter(QPainter& painter, int page);

    const IClock& clock_;
    CPrintListSettings settings_;
    QString title_;
    QPointer<QAbstractItemModel> model_;
    QPointer<QHeaderView> header_;
    int columnCount_ = 0;
    int rowCount_ = 0;
    std::string dateTime_;

    bool ready_ = false;
    std::optional<Fonts> fonts_;
    std::vector<int> widths_;
    std::vector<PrintAlign> aligns_;
    std::vector<QString> titles_;
    CListPageLayout layout_;
};
