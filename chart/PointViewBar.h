#pragma once
// The dockable "Points" bar: the points of one series in a list that follows the graph's
// notifications. Commands 11 (reload the list) and 12 (show the last point) come from the
// graph's points bar flags.

#include <QDockWidget>

#include "chart/GraphNotify.h"

class CGraphBaseClass;
class QComboBox;
class QTableView;
class PointsTableModel;

class CPointViewBar : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int kChildId = 11003;
    static constexpr int kCmdReload = 11;
    static constexpr int kCmdShowLast = 12;

    CPointViewBar(const CGraphBaseClass& graph, QWidget* parent = nullptr);
    ~CPointViewBar() override;

    void handleNotify(const CGraphNotify& record);
    void command(int id);

    // The series the list shows (-1 when there is none), and its row count.
    int shownSeries() const;
    int rowCount() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void reloadSeriesList();
    void reload();

    const CGraphBaseClass& graph_;
    QComboBox* series_;
    QTableView* table_;
    PointsTableModel* model_;
    bool stale_ = true;
};
