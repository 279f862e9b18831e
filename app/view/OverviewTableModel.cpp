#include "app/view/OverviewTableModel.h"

#include <climits>

#include "controls/AnsiText.h"
#include "controls/HeaderCtrlEx.h"

namespace {

Qt::Alignment alignmentOf(ColumnAlign align)
{
    return (align == ColumnAlign::Center ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
}

} // namespace

COverviewTableModel::COverviewTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int COverviewTableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return static_cast<int>(std::min<std::size_t>(rows_.rowCount(), INT_MAX));
}

int COverviewTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant COverviewTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.column() >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return fromAnsi(rows_.cellView(static_cast<std::size_t>(index.row()), index.column()));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            alignmentOf(columns_[static_cast<std::size_t>(index.column())].align));
    return {};
}

QVariant COverviewTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const COverviewColumn& column = columns_[static_cast<std::size_t>(section)];
    switch (role) {
    case Qt::DisplayRole:
        return fromAnsi(column.title);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignmentOf(column.align));
    case CHeaderCtrlEx::OwnerDrawRole:
        return column.ownerDrawn;
    default:
        return {};
    }
}

bool COverviewTableModel::setHeaderData(int section, Qt::Orientation orientation,
                                        const QVariant& value, int role)
{
    if (orientation != Qt::Horizontal || role != CHeaderCtrlEx::OwnerDrawRole || section < 0 ||
        section >= columnCount())
        return false;
    columns_[static_cast<std::size_t>(section)].ownerDrawn = value.toBool();
    emit headerDataChanged(orientation, section, section);
    return true;
}

void COverviewTableModel::setColumns(std::vector<COverviewColumn> columns)
{
    if (!columns_.empty()) {
        beginRemoveColumns({}, 0, columnCount() - 1);
        columns_.clear();
        endRemoveColumns();
    }
    if (!columns.empty()) {
        beginInsertColumns({}, 0, static_cast<int>(columns.size()) - 1);
        columns_ = std::move(columns);
        endInsertColumns();
    }
}

int COverviewTableModel::appendRow(std::string_view text)
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
    rows_.appendRow(text);
    endInsertRows();
    return row;
}

int COverviewTableModel::appendDataRow(std::string_view time, std::string_view data)
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
    rows_.appendDataRow(time, data);
    endInsertRows();
    return row;
}

bool COverviewTableModel::setCell(int row, int column, std::string_view text)
{
    if (row < 0 || !rows_.setCell(static_cast<std::size_t>(row), column, text))
        return false;
    if (column < columnCount())
        emit dataChanged(index(row, column), index(row, column), {Qt::DisplayRole});
    return true;
}

std::string COverviewTableModel::cell(int row, int column) const
{
    return row < 0 ? std::string() : rows_.cell(static_cast<std::size_t>(row), column);
}

void COverviewTableModel::deleteAllRows()
{
    if (rows_.rowCount() == 0)
        return;
    beginRemoveRows({}, 0, rowCount() - 1);
    rows_.clear();
    endRemoveRows();
}
