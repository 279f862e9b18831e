#pragma once
// The live graph's partner list: an invisible item view whose row r stands for second r since
// the link came up. The horizontal ruler labels its ticks with column 0 (the local time,
// "HH:MM:SS") and the value tool tip reads columns 1..13 (the channels' values of the row at
// that second). Rows are computed on demand, so the list costs nothing however long the link
// runs.

#include <QAbstractItemView>
#include <QAbstractTableModel>
#include <functional>

class CLiveTimeList : public QAbstractItemView {
public:
    // The text of (second, column).
    using CellText = std::function<QString(int second, int column)>;

    explicit CLiveTimeList(CellText cellText, QWidget* parent = nullptr);

    QRect visualRect(const QModelIndex&) const override { return {}; }
    // The graph scrolls its partner on a zoom-in; there is nothing to scroll.
    void scrollTo(const QModelIndex&, ScrollHint = EnsureVisible) override {}
    QModelIndex indexAt(const QPoint&) const override { return {}; }

protected:
    QModelIndex moveCursor(CursorAction, Qt::KeyboardModifiers) override { return {}; }
    int horizontalOffset() const override { return 0; }
    int verticalOffset() const override { return 0; }
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect&, QItemSelectionModel::SelectionFlags) override {}
    QRegion visualRegionForSelection(const QItemSelection&) const override { return {}; }

private:
    class Model : public QAbstractTableModel {
    public:
        explicit Model(CellText cellText) : cellText_(std::move(cellText)) {}
        int rowCount(const QModelIndex& parent) const override;
        int columnCount(const QModelIndex& parent) const override;
        QVariant data(const QModelIndex& index, int role) const override;

    private:
        CellText cellText_;
    };

    Model model_;
};
