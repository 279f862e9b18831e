#pragma once
// View > "Live Graph": a window of the charting library that draws the data rows as they
// arrive, for the chosen channels, over the last 10 minutes, the last hour, or everything since
// the link came up. While it follows the data, each row draws only its new segments; the view
// moves in steps (LiveRanges.h), each a redraw, and points that left the view are dropped (the
// series rebuilt from the feed's history) once they would fill a whole window. "Everything" draws
// the history's per-bucket minimum and maximum, re-rendered by the graph's 100 ms timer. A zoom
// or pan by the user stops the following until "Follow" is ticked again. A hidden window does
// no work per row and catches up when shown. "Wind rose" shows the rose of the link beside the
// graph, repainted once a second.

#include <QWidget>
#include <array>

#include "app/live/LiveFeed.h"
#include "app/live/LiveRanges.h"
#include "chart/GraphWnd.h"

class CLiveTimeList;
class CWindRoseView;
class QCheckBox;
class QComboBox;
class QLabel;

class CLiveGraphWnd : public QWidget {
    Q_OBJECT
public:
    // Shown when the window first opens: Azimuth, Temperature, Humidity and Elevation.
    static constexpr int kInitialChannels[] = {1, 3, 4, 10};

    explicit CLiveGraphWnd(const CLiveFeed& feed, QWidget* parent = nullptr);
    ~CLiveGraphWnd() override;

    // The feed added a row: the newest one of its history.
    void rowAdded();
    // The feed's history started again (a new link).
    void historyRestarted();

    LiveSpan span() const { return span_; }
    void setSpan(LiveSpan span);
    bool following() const { return following_; }
    void setFollowing(bool on);
    bool channelShown(int channel) const { return shown_[static_cast<std::size_t>(channel)]; }
    void setChannelShown(int channel, bool shown);

    CGraphWnd& graph() { return *graph_; }
    QComboBox& spanChoice() { return *spanBox_; }
    QCheckBox& followBox() { return *followBox_; }
    QCheckBox& roseBox() { return *roseBox_; }
    CWindRoseView& roseView() { return *roseView_; }
    QCheckBox& channelBox(int channel) { return *channelBoxes_[static_cast<std::size_t>(channel)]; }
    // The x and y ranges the window gave the graph last.
    const PlotRanges& rangesSet() const { return rangesSet_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void rebuild();
    void addRecentRow(const LiveRow& row);
    double oldestPointX() const;
    // The y range of the shown channels' values in the history from x on.
    LiveYRange recentYRange(double from) const;
    void addBucketRow(const LiveRow& row);
    int appendBucketPoints(std::size_t bucket, int channel, double& min, double& max);
    void setRanges(const PlotRanges& ranges, bool redraw);
    QString cellText(int second, int column) const;
    void updateEverySecond();

    const CLiveFeed& feed_;
    CGraphWnd* graph_;
    CLiveTimeList* timeList_;
    QComboBox* spanBox_;
    QCheckBox* followBox_;
    QCheckBox* roseBox_;
    CWindRoseView* roseView_;
    QLabel* rowsLabel_;
    std::array<QCheckBox*, kChannelCount> channelBoxes_{};
    std::array<bool, kChannelCount> shown_{};

    LiveSpan span_ = LiveSpan::TenMinutes;
    bool following_ = true;
    bool stale_ = true;
    PlotRanges rangesSet_;
    std::size_t rowsSinceRebuild_ = 0;
    std::size_t lastBucket_ = 0;
    unsigned bucketGeneration_ = 0;
    std::array<int, kChannelCount> lastBucketPoints_{};
};
