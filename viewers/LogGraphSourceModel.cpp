#include "viewers/LogGraphSourceModel.h"

#include <algorithm>
#include <limits>

#include "controls/AnsiText.h"

CLogGraphSourceModel::CLogGraphSourceModel(const CDataTable& rows, QObject* parent)
    : QAbstractTableModel(parent), rows_(rows)
{
}

void CLogGraphSourceModel::refill(int startColumn)
{
    beginResetModel();
    start_ = startColumn;
    count_ =
        static_cast<int>(std::min<std::size_t>(rows_.rowCount(), std::numeric_limits<int>::max()));
    endResetModel();
}

int CLogGraphSourceModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count_;
}

int CLogGraphSourceModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant CLogGraphSourceModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= count_)
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (index.column() == 0)
        return fromAnsi(rows_.dateTime(row));
    return fromAnsi(rows_.field(row, start_ - 1 + index.column() - 1));
}
