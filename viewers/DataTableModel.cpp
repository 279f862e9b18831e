#include "viewers/DataTableModel.h"

#include <algorithm>
#include <limits>

CDataTableModel::CDataTableModel(const CDataTable& rows, QObject* parent)
    : QAbstractTableModel(parent), rows_(rows)
{
}

int CDataTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count_;
}

void CDataTableModel::takeRowCount()
{
    // A view counts rows in int; more rows than that are not shown.
    count_ =
        static_cast<int>(std::min<std::size_t>(rows_.rowCount(), std::numeric_limits<int>::max()));
}
