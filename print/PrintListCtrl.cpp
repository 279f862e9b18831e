#include "print/PrintListCtrl.h"

#include <QAbstractItemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QTableView>

#include "controls/AnsiText.h"
#include "print/CellTextPainter.h"
#include "print/ColumnScan.h"
#include "print/PrintFont.h"
#include "print/PrintResult.h"

namespace {

QRect toQRect(const PrintRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

Qt::Alignment horizontal(PrintAlign align)
{
    switch (align) {
    case PrintAlign::Right:
        return Qt::AlignRight;
    case PrintAlign::Centre:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

void drawLineText(QPainter& painter, const PrintRect& rect, PrintAlign align, const QString& text)
{
    painter.drawText(toQRect(rect), horizontal(align) | Qt::AlignVCenter | Qt::TextSingleLine,
                     text);
}

PrintAlign alignmentOf(const QVariant& value)
{
    // Models give the role as an int or as Qt::Alignment; both convert to int.
    const auto flags = Qt::Alignment(value.toInt());
    if (flags & Qt::AlignRight)
        return PrintAlign::Right;
    if (flags & Qt::AlignHCenter)
        return PrintAlign::Centre;
    return PrintAlign::Left;
}

// A frame of 1-unit lines around rect, filled when asked.
void drawFrame(QPainter& painter, const PrintRect& rect, bool fill, std::uint32_t colour)
{
    if (fill)
        painter.fillRect(toQRect(rect), QColor::fromRgb(colour));
    painter.drawRect(QRect(rect.left, rect.top, rect.width() - 1, rect.height() - 1));
}

} // namespace

CPrintListCtrl::CPrintListCtrl(const IClock& clock) : clock_(clock) {}

void CPrintListCtrl::prepare(const QString& title, const QTableView& list)
{
    title_ = title;
    model_ = list.model();
    header_ = list.horizontalHeader();
    columnCount_ = model_ ? model_->columnCount() : 0;
    rowCount_ = model_ ? model_->rowCount() : 0;
    dateTime_ = printDateTimeText(clock_.localNow());
}

std::optional<CPrintListCtrl::Fonts> CPrintListCtrl::createFonts(const QPaintDevice& device,
                                                                 int screenDpi) const
{
    const int dpi = device.logicalDpiY();
    const int titlePixels = scaleFontHeight(settings_.titleFontSize, dpi, screenDpi);
    const int footerPixels = scaleFontHeight(settings_.footerFontSize, dpi, screenDpi);
    auto title = createPrintFont(settings_.titleFace, titlePixels, device);
    auto doubleTitle = createPrintFont(settings_.titleFace, 2 * titlePixels, device);
    auto footer = createPrintFont(settings_.footerFace, footerPixels, device);
    auto body = createPrintFont(settings_.bodyFace, titlePixels, device);
    if (!title || !doubleTitle || !footer || !body)
        return std::nullopt; // whatever was made goes with the optionals
    return Fonts{*title, *doubleTitle, *footer, *body};
}

void CPrintListCtrl::measureColumns(const Fonts& fonts, const QPaintDevice& device)
{
    const int xWidth = QFontMetrics(fonts.body, &device).horizontalAdvance(QLatin1Char('X'));
    for (int c = 0; c < columnCount_; ++c) {
        const QString title = model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        titles_.push_back(title);
        const bool shown =
            !header_ || (header_->sectionSize(c) > 0 && !header_->isSectionHidden(c));
        CColumnScan scan(toAnsi(title));
        for (int r = 0; shown && r < rowCount_; ++r)
            if (!scan.add(toAnsi(model_->data(model_->index(r, c)).toString())))
                break;
        widths_.push_back(scan.printWidth(xWidth, shown));
        QVariant align =
            rowCount_ > 0 ? model_->data(model_->index(0, c), Qt::TextAlignmentRole) : QVariant();
        if (!align.isValid())
            align = model_->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole);
        aligns_.push_back(alignmentOf(align));
    }
}

int CPrintListCtrl::beginPrinting(const QPaintDevice& device, int screenDpi)
{
    endPrinting();
    if (!model_) {
        columnCount_ = 0;
        rowCount_ = 0;
    }
    std::optional<Fonts> fonts = createFonts(device, screenDpi);
    if (!fonts)
        return kPrintFontFailed;
    measureColumns(*fonts, device);
    ListPrintMetrics metrics;
    metrics.pageWidth = device.width();
    metrics.pageHeight = device.height();
    metrics.titleHeight = QFontMetrics(fonts->title, &device).height();
    metrics.footerHeight = QFontMetrics(fonts->footer, &device).height();
    metrics.bodyHeight = QFontMetrics(fonts->body, &device).height();
    metrics.xWidth = QFontMetrics(fonts->body, &device).horizontalAdvance(QLatin1Char('X'));
    const int result = layout_.setUp(settings_, metrics, widths_, aligns_, rowCount_);
    if (result != kPrintOk) {
        endPrinting();
        return result;
    }
    fonts_ = std::move(fonts);
    ready_ = true;
    return kPrintOk;
}

bool CPrintListCtrl::printPage(QPainter& painter, int page)
{
    // The model may have gone while the document was printing; its rows cannot be printed.
    if (!ready_ || !model_)
        return false;
    painter.save();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    if (settings_.printHeader)
        printHeader(painter, page);
    printColumnTitles(painter);
    const int bottom = printRows(painter, page);
    if (settings_.columnSeparators)
        for (int x : layout_.separators())
            painter.drawLine(x, layout_.titleRowTop(), x, bottom - 1);
    painter.fillRect(toQRect(layout_.thickLine()), Qt::black);
    if (settings_.printFooter)
        printFooter(painter, page);
    painter.restore();
    return true;
}

void CPrintListCtrl::printHeader(QPainter& painter, int page)
{
    drawFrame(painter, layout_.headerFrame(), settings_.fillHeader, settings_.headerFill);
    const auto [upper, lower] = layout_.headerLines(page, dateTime_);
    painter.setFont(fonts_->title);
    drawLineText(painter, layout_.upperLine(), upper.align, fromAnsi(upper.text));
    drawLineText(painter, layout_.lowerLine(), lower.align, fromAnsi(lower.text));
    painter.setFont(fonts_->doubleTitle);
    drawLineText(painter, layout_.titleLine(), PrintAlign::Centre, title_);
}

void CPrintListCtrl::printColumnTitles(QPainter& painter)
{
    painter.setFont(fonts_->body);
    for (const PrintedColumn& column : layout_.columns())
        drawLineText(painter, layout_.cellText(column, layout_.titleRowTop()), column.align,
                     titles_[static_cast<std::size_t>(column.column)]);
}

int CPrintListCtrl::printRows(QPainter& painter, int page)
{
    CCellTextPainter cells(fonts_->body);
    const auto [first, end] = layout_.pageRows(page);
    // Rows cannot be added while printing; a model that shrank ends the rows early.
    const int last = std::min(end, model_->rowCount());
    int bottom = layout_.rowTop(0);
    for (int row = first; row < last; ++row) {
        const int top = layout_.rowTop(row - first);
        if (top + layout_.lineHeight() > layout_.rowLimit())
            break;
        for (const PrintedColumn& column : layout_.columns())
            cells.add(model_->data(model_->index(row, column.column)).toString(),
                      toQRect(layout_.cellText(column, top)), column.align);
        cells.flush(painter);
        bottom = top + layout_.lineHeight();
    }
    return bottom;
}

void CPrintListCtrl::printFooter(QPainter& painter, int page)
{
    drawFrame(painter, layout_.footerFrame(), settings_.fillFooter, settings_.footerFill);
    painter.setFont(fonts_->footer);
    drawLineText(painter, layout_.footerLeft(), PrintAlign::Left, fromAnsi(pageNumberText(page)));
    drawLineText(painter, layout_.footerRight(), PrintAlign::Right, fromAnsi(dateTime_));
}

void CPrintListCtrl::endPrinting()
{
    ready_ = false;
    fonts_.reset();
    widths_.clear();
    aligns_.clear();
    titles_.clear();
}
