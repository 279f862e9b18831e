#pragma once
// The live side of the main frame: it takes each data row the overview table receives, feeds
// the statistics and the live graph's history (CLiveFeed), updates the statistics strip below
// the LED, and owns the "Live Graph" window, made when first asked for. The frame calls it at
// three points: after each serial reply, when the link closes, and for View > "Live Graph".

#include <QObject>
#include <memory>

#include "app/live/LiveFeed.h"

class CLiveGraphWnd;
class CStatsStrip;
class CVentoraView;
class QWidget;

class CLiveMonitor : public QObject {
    Q_OBJECT
public:
    // The strip goes into the view's free area; the graph window belongs to windowParent.
    CLiveMonitor(CVentoraView& view, QWidget* windowParent);
    ~CLiveMonitor() override;

    // Reads the rows from `first` to the table's end when the table shows data rows (the
    // set-up menu's lines are no data).
    void takeRows(int first);
    // The link closed: the next data row starts a new graph history.
    void linkClosed();
    // Opens (or raises) the "Live Graph" window.
    void showGraph();

    void setStatisticsPeriod(int seconds);

    const CLiveFeed& feed() const { return feed_; }
    CStatsStrip& strip() { return *strip_; }
    // The window, once opened.
    CLiveGraphWnd* graphWindow() const { return graph_.get(); }

private:
    void addRow(int row);
    void showStatistics();

    CVentoraView& view_;
    QWidget* windowParent_;
    CLiveFeed feed_;
    CStatsStrip* strip_; // owned by the view
    std::unique_ptr<CLiveGraphWnd> graph_;
};
