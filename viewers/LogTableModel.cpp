#include "viewers/LogTableModel.h"

#include "controls/AnsiText.h"
#include "controls/BarIcons.h"
#include "core/Channels.h"
#include "viewers/ViewerColumns.h"

CLogTableModel::CLogTableModel(const CDataTable& rows, QObject* parent)
    : CDataTableModel(rows, parent)
{
    for (int k = 0; k < kChannelCount; ++k)
        bitmaps_.push_back(channelBitmap(k));
}

void CLogTableModel::reload()
{
    beginResetModel();
    takeRowCount();
    columns_ = logColumnCount(rows_.blockCount());
    endResetModel();
}

void CLogTableModel::setHeaderBitmaps(std::vector<int> bitmaps)
{
    headerBitmaps_ = std::move(bitmaps);
    if (columns_ > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
}

int CLogTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns_;
}

QVariant CLogTableModel::data(const QModelIndex& index, int role) const
{
    if (!showsRow(index))
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole) {
        if (index.column() == 0)
            return fromAnsi(rows_.dateTime(row));
        return fromAnsi(rows_.field(row, index.column() - 1));
    }
    if (role == Qt::TextAlignmentRole && index.column() == 0)
        return int(Qt::AlignCenter);
    return {};
}

QVariant CLogTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_)
        return {};
    if (role == Qt::DisplayRole)
        return fromAnsi(logColumnTitle(section));
    if (role == Qt::TextAlignmentRole && section == 0)
        return int(Qt::AlignCenter);
    if (role == Qt::DecorationRole && static_cast<std::size_t>(section) < headerBitmaps_.size()) {
        const int channel = headerBitmaps_[static_cast<std::size_t>(section)];
        if (channel >= 0 && channel < kChannelCount)
            return bitmaps_[static_cast<std::size_t>(channel)];
    }
    return {};
}
