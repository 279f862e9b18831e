#pragma once
// The demo window: the record file as a table (the graph's partner list) above the graph,
// which is built the way the record viewer builds it.

#include <QAbstractTableModel>
#include <QTableView>
#include <QWidget>
#include <array>

#include "chart/GraphWnd.h"
#include "files/DataTable.h"

class RecordTableModel : public QAbstractTableModel {
public:
    explicit RecordTableModel(const CDataTable& rows) : rows_(rows) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const CDataTable& rows_;
};

class DemoWindow : public QWidget {
public:
    DemoWindow(const CDataTable& rows, bool allChannels);

    CGraphWnd& graph() { return *graph_; }
    QTableView& table() { return *table_; }
    // Builds the graph from the rows: series, points, bounds and the full view.
    void buildGraph();

private:
    const CDataTable& rows_;
    RecordTableModel model_;
    QTableView* table_;
    CGraphWnd* graph_;
};
