#pragma once
// The overview table as a Qt item model: the rows live in a compact COverviewRows store, the
// columns are the current COverviewColumn layout. Rows are appended at the end, cells set and
// read, all rows deleted; each change is signalled so that the view repaints only what changed.
// Header data carries each column's title, alignment and owner-draw flag.

#include <QAbstractTableModel>
#include <string>
#include <string_view>
#include <vector>

#include "app/view/OverviewLayout.h"
#include "app/view/OverviewRows.h"

class COverviewTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit COverviewTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Only the owner-draw flag of a column title can be changed.
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;

    // Replaces every column; the rows keep their cells.
    void setColumns(std::vector<COverviewColumn> columns);
    const std::vector<COverviewColumn>& columns() const { return columns_; }

    int appendRow(std::string_view text);
    int appendDataRow(std::string_view time, std::string_view data);
    bool setCell(int row, int column, std::string_view text);
    std::string cell(int row, int column) const;
    void deleteAllRows();

    const COverviewRows& rows() const { return rows_; }

private:
    COverviewRows rows_;
    std::vector<COverviewColumn> columns_;
};
