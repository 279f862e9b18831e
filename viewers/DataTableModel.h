#pragma once
// What the viewers' table models share: they read a viewer's rows on demand (no object per
// cell) and show as many of them as a view can count.

#include <QAbstractTableModel>

#include "files/DataTable.h"

class CDataTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    int rowCount(const QModelIndex& parent = {}) const override;

signals:
    // The file the rows are read from was cut shorter while shown (see CMappedFile): sent once,
    // after a read of its rows met the missing end.
    void fileDamaged();

protected:
    CDataTableModel(const CDataTable& rows, QObject* parent);

    // Takes the rows' current count; call between beginResetModel() and endResetModel().
    void takeRowCount();
    // Whether index is one of the rows shown.
    bool showsRow(const QModelIndex& index) const
    {
        return index.isValid() && index.row() < count_;
    }
    // Called after the rows' texts were read: tells of a damaged file.
    void noteRead() const;

    const CDataTable& rows_;

private:
    int count_ = 0;
    mutable bool damageTold_ = false;
};
