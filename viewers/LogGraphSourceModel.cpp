#include "viewers/LogGraphSourceModel.h"

#include "controls/AnsiText.h"

CLogGraphSourceModel::CLogGraphSourceModel(const CDataTable& rows, QObject* parent)
    : CDataTableModel(rows, parent)
{
}

void CLogGraphSourceModel::refill(int startColumn)
{
    beginResetModel();
    start_ = startColumn;
    takeRowCount();
    endResetModel();
}

int CLogGraphSourceModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant CLogGraphSourceModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !showsRow(index))
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (index.column() == 0)
        return fromAnsi(rows_.dateTime(row));
    return fromAnsi(rows_.field(row, start_ - 1 + index.column() - 1));
}
