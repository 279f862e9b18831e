#include "chart/GraphFrame.h"

#include <QTimerEvent>

#include "chart/GraphContainer.h"
#include "chart/GraphPanel.h"
#include "chart/GraphWnd.h"
#include "chart/PointViewBar.h"

CGraphFrame::CGraphFrame(CGraphWnd& graph, int frameStyle, QWidget* parent)
    : QMainWindow(parent), container_(new CGraphContainer(graph, this)),
      pointsBar_(new CPointViewBar(graph, this))
{
    // A main window is always made a top-level window; this one lives inside the graph window.
    setWindowFlags(Qt::Widget);
    show();
    setCentralWidget(container_);
    addDockWidget(Qt::RightDockWidgetArea, pointsBar_);
    resizeDocks({pointsBar_}, {150}, Qt::Horizontal);
    if (frameStyle & kStyleTimer)
        timerId_ = startTimer(100);
}

void CGraphFrame::handleNotify(const CGraphNotify& record)
{
    container_->handleNotify(record);
    pointsBar_->handleNotify(record);
}

void CGraphFrame::command(int id)
{
    if (id == kCmdTogglePointsBar)
        pointsBar_->setVisible(pointsBar_->isHidden());
}

void CGraphFrame::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == timerId_)
        container_->panel()->flushPending();
}
