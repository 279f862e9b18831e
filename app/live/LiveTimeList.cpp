#include "app/live/LiveTimeList.h"

#include <limits>

#include "core/Channels.h"

CLiveTimeList::CLiveTimeList(CellText cellText, QWidget* parent)
    : QAbstractItemView(parent), model_(std::move(cellText))
{
    setModel(&model_);
    hide();
}

int CLiveTimeList::Model::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::numeric_limits<int>::max();
}

int CLiveTimeList::Model::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kOverviewColumnCount;
}

QVariant CLiveTimeList::Model::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return cellText_(index.row(), index.column());
}
