#include "viewers/RecordTableModel.h"

#include "controls/AnsiText.h"
#include "controls/BarIcons.h"
#include "core/Channels.h"
#include "viewers/ViewerColumns.h"

CRecordTableModel::CRecordTableModel(const CDataTable& rows, QObject* parent)
    : CDataTableModel(rows, parent), rowIcon_(rowIcon())
{
    for (int k = 0; k < kChannelCount; ++k)
        bitmaps_.push_back(channelBitmap(k));
}

void CRecordTableModel::reload()
{
    beginResetModel();
    takeRowCount();
    endResetModel();
}

int CRecordTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kRecordColumnCount;
}

QVariant CRecordTableModel::data(const QModelIndex& index, int role) const
{
    if (!showsRow(index))
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole) {
        const QString text = index.column() == 0
                                 ? fromAnsi(rows_.dateTime(row))
                                 : fromAnsi(displayField(rows_.field(row, index.column() - 1)));
        noteRead();
        return text;
    }
    if (role == Qt::DecorationRole && index.column() == 0)
        return rowIcon_;
    return {};
}

QVariant CRecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kRecordColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return fromAnsi(recordColumnTitle(section));
    if (role == Qt::DecorationRole && section > 0)
        return bitmaps_[static_cast<std::size_t>(section - 1)];
    return {};
}
