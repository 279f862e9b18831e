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
    damageTold_ = false;
    // A view counts rows in int; more rows than that are not shown.
    count_ =
        static_cast<int>(std::min<std::size_t>(rows_.rowCount(), std::numeric_limits<int>::max()));
}

void CDataTableModel::noteRead() const
{
    if (damageTold_ || !rows_.damaged())
        return;
    damageTold_ = true;
    emit const_cast<CDataTableModel*>(this)->fileDamaged();
}
