#pragma once
// The log viewer's table over its rows (no object per cell): column 0 the date-time (centred),
// then 13 columns per instrument block holding the raw 8-character fields, markers as they
// are. Which headers carry a channel bitmap is set by the viewer (the plotted columns' bitmaps
// move with the block choice).

#include <QPixmap>
#include <vector>

#include "viewers/DataTableModel.h"

class CLogTableModel : public CDataTableModel {
    Q_OBJECT
public:
    explicit CLogTableModel(const CDataTable& rows, QObject* parent = nullptr);

    // Takes the rows' current count and blocks; call after the rows were read again.
    void reload();

    // Channel bitmap per column (-1 for none).
    void setHeaderBitmaps(std::vector<int> bitmaps);
    const std::vector<int>& headerBitmaps() const { return headerBitmaps_; }

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    int columns_ = 1;
    std::vector<int> headerBitmaps_;
    std::vector<QPixmap> bitmaps_;
};
