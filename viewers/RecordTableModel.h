#pragma once
// The record viewer's table: a virtual list over the rows, read straight from CDataTable (no
// object per cell). Column 0 is the date-time with the row icon, columns 1 to 13 the fields as
// displayed ("---  --" for a marker); each channel header carries its title and bitmap.

#include <QPixmap>
#include <vector>

#include "viewers/DataTableModel.h"

class CRecordTableModel : public CDataTableModel {
    Q_OBJECT
public:
    explicit CRecordTableModel(const CDataTable& rows, QObject* parent = nullptr);

    // Takes the rows' current count; call after the rows were read again.
    void reload();

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QPixmap rowIcon_;
    std::vector<QPixmap> bitmaps_;
};
