#include "controls/HeaderCtrlMy.h"

#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "controls/HeaderCtrlEx.h"

namespace {

// Underlines the text of the hot row while the list underlines hot items.
class CHotItemDelegate : public QStyledItemDelegate {
public:
    explicit CHotItemDelegate(const CHeaderCtrlMy* list)
        : QStyledItemDelegate(const_cast<CHeaderCtrlMy*>(list)), list_(list)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if ((list_->extendedStyle() & CHeaderCtrlMy::UnderlineHot) &&
            index.row() == list_->hotRow())
            option->font.setUnderline(true);
    }

private:
    const CHeaderCtrlMy* list_;
};

} // namespace

CHeaderCtrlMy::CHeaderCtrlMy(QWidget* parent)
    : QTableView(parent), header_(new CHeaderCtrlEx(Qt::Horizontal, this))
{
    setHorizontalHeader(header_);
    header_->setSectionsClickable(false);
    header_->setHighlightSections(false);
    header_->setStretchLastSection(false);
    header_->setSectionResizeMode(QHeaderView::Interactive);
    // The default minimum follows the header font, and the big header font would widen every
    // column beyond the widths the program gives.
    header_->setMinimumSectionSize(8);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
    setShowGrid(false);
    setWordWrap(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new CHotItemDelegate(this));
}

CHeaderCtrlMy::~CHeaderCtrlMy() = default;

void CHeaderCtrlMy::setupButtonHeader()
{
    headerFont_ = QFont(QStringLiteral("MS Serif"));
    headerFont_.setPointSizeF(29.0);
    header_->setFont(headerFont_);
    markAllOwnerDrawn();
    header_->viewport()->update();
}

void CHeaderCtrlMy::markAllOwnerDrawn()
{
    if (!model())
        return;
    for (int column = 0; column < model()->columnCount(); ++column)
        model()->setHeaderData(column, Qt::Horizontal, true, CHeaderCtrlEx::OwnerDrawRole);
}

void CHeaderCtrlMy::setExtendedStyle(unsigned style)
{
    extendedStyle_ = style;
    setSelectionBehavior((style & FullRowSelect) ? SelectRows : SelectItems);
    setMouseTracking((style & UnderlineHot) != 0);
    if (!(style & UnderlineHot))
        setHotRow(-1);
}

void CHeaderCtrlMy::setHotRow(int row)
{
    if (row == hotRow_)
        return;
    hotRow_ = row;
    viewport()->update();
}

void CHeaderCtrlMy::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
}

void CHeaderCtrlMy::mouseMoveEvent(QMouseEvent* event)
{
    if (extendedStyle_ & UnderlineHot)
        setHotRow(indexAt(event->position().toPoint()).row());
    QTableView::mouseMoveEvent(event);
}

void CHeaderCtrlMy::leaveEvent(QEvent* event)
{
    setHotRow(-1);
    QTableView::leaveEvent(event);
}

void CHeaderCtrlMy::mouseReleaseEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    QTableView::mouseReleaseEvent(event);
    const bool styleActivates =
        style()->styleHint(QStyle::SH_ItemView_ActivateItemOnSingleClick, nullptr, this) != 0;
    if ((extendedStyle_ & OneClickActivate) && !styleActivates && index.isValid() &&
        event->button() == Qt::LeftButton)
        emit activated(index);
}
