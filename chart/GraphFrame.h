#pragma once
// The frame inside a graph window: the plot container in the middle and the dockable "Points"
// bar at the right. Notifications go to the container first, then to the bar. With the timer
// style it re-renders every 100 ms when data changed without a redraw.

#include <QMainWindow>

#include "chart/GraphNotify.h"

class CGraphWnd;
class CGraphContainer;
class CPointViewBar;

class CGraphFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kStyleTimer = 1;

    CGraphFrame(CGraphWnd& graph, int frameStyle, QWidget* parent);

    CGraphContainer* container() const { return container_; }
    CPointViewBar* pointsBar() const { return pointsBar_; }
    bool timerRunning() const { return timerId_ != 0; }

    void handleNotify(const CGraphNotify& record);
    // Command 4108 toggles the "Points" bar.
    void command(int id);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    CGraphContainer* container_;
    CPointViewBar* pointsBar_;
    int timerId_ = 0;
};
