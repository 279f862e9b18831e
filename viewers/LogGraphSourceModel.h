#pragma once
// The log viewer's graph source, the graph's partner list (kept hidden): the date-time and the
// five table columns from the chosen block's first one, read from the rows. The graph's rulers
// and tool tip read their texts from it.

#include "viewers/DataTableModel.h"

class CLogGraphSourceModel : public CDataTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 6;

    explicit CLogGraphSourceModel(const CDataTable& rows, QObject* parent = nullptr);

    // Refills the list from the rows, starting at a table column (1 on).
    void refill(int startColumn);
    int startColumn() const { return start_; }

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    int start_ = 1;
};
