#include "app/live/LiveGraphWnd.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "app/live/LiveTimeList.h"
#include "app/live/WindRoseView.h"
#include "chart/GraphFrame.h"
#include "controls/AnsiText.h"
#include "files/DataText.h"

namespace {

constexpr unsigned kLiveStyle = kStyleGrid | kStyleMouseCoordinates;

QIcon colourIcon(std::uint32_t rgb)
{
    QPixmap box(12, 12);
    box.fill(QColor::fromRgb(rgb));
    QPainter painter(&box);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 11, 11);
    return QIcon(box);
}

struct YExtent {
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    void add(double v)
    {
        min = std::min(min, v);
        max = std::max(max, v);
    }
    LiveYRange range() const { return min <= max ? fitYRange(min, max) : fitYRange(0, 0); }
};

} // namespace

CLiveGraphWnd::CLiveGraphWnd(const CLiveFeed& feed, QWidget* parent)
    : QWidget(parent, Qt::Window), feed_(feed)
{
    setWindowTitle(QStringLiteral("Live Graph"));
    resize(960, 540);

    spanBox_ = new QComboBox(this);
    spanBox_->addItems({QStringLiteral("Last 10 minutes"), QStringLiteral("Last hour"),
                        QStringLiteral("Everything since the link came up")});
    followBox_ = new QCheckBox(QStringLiteral("Follow"), this);
    followBox_->setChecked(true);
    followBox_->setToolTip(QStringLiteral("Keep the newest rows in view; a zoom or pan stops it"));
    roseBox_ = new QCheckBox(QStringLiteral("Wind rose"), this);
    roseBox_->setToolTip(QStringLiteral("The wind rose of the rows since the link came up"));
    rowsLabel_ = new QLabel(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Window:"), this));
    top->addWidget(spanBox_);
    top->addWidget(followBox_);
    top->addWidget(roseBox_);
    top->addStretch(1);
    top->addWidget(rowsLabel_);

    graph_ = new CGraphWnd(kChannelCount, this, CGraphFrame::kStyleTimer);
    timeList_ = new CLiveTimeList(
        [this](int second, int column) { return cellText(second, column); }, this);
    graph_->setPartnerList(timeList_);
    graph_->pointsBarFlags(kBarHide);
    graph_->setAxis("Time", "local", 0, kAxisX);
    graph_->setAxis("Value", "", 2, kAxisY);
    // No extending by the panel (the window moves the view itself) and no point marks, which
    // would hide the lines at ten rows a second; the context menu can switch marks on.
    graph_->setStyleKeepRanges(kLiveStyle, false);
    graph_->visibility().assign(kChannelCount, 0);
    for (int k : kInitialChannels)
        shown_[static_cast<std::size_t>(k)] = true;

    auto* channels = new QVBoxLayout;
    channels->addWidget(new QLabel(QStringLiteral("Channels"), this));
    for (int k = 0; k < kChannelCount; ++k) {
        graph_->addSeries(channelColour(k), channelName(k), false);
        auto* box = new QCheckBox(fromAnsi(channelName(k)), this);
        box->setIcon(colourIcon(channelColour(k)));
        box->setChecked(shown_[static_cast<std::size_t>(k)]);
        connect(box, &QCheckBox::toggled, this, [this, k](bool on) { setChannelShown(k, on); });
        channelBoxes_[static_cast<std::size_t>(k)] = box;
        channels->addWidget(box);
    }
    channels->addStretch(1);

    roseView_ = new CWindRoseView(feed_, this);
    roseView_->hide();
    auto* middle = new QHBoxLayout;
    middle->addWidget(graph_, 1);
    middle->addWidget(roseView_);
    middle->addLayout(channels);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);

    connect(spanBox_, &QComboBox::currentIndexChanged, this,
            [this](int index) { setSpan(static_cast<LiveSpan>(index)); });
    connect(followBox_, &QCheckBox::toggled, this, &CLiveGraphWnd::setFollowing);
    connect(roseBox_, &QCheckBox::toggled, roseView_, &QWidget::setVisible);
    // The row count and the rose are read once a second, not per row.
    auto* secondTimer = new QTimer(this);
    connect(secondTimer, &QTimer::timeout, this, &CLiveGraphWnd::updateEverySecond);
    secondTimer->start(1000);
    updateEverySecond();
}

CLiveGraphWnd::~CLiveGraphWnd() = default;

void CLiveGraphWnd::updateEverySecond()
{
    if (roseView_->isVisible())
        roseView_->update();
    const CLiveHistory& history = feed_.history();
    rowsLabel_->setText(history.empty() ? QStringLiteral("No rows yet")
                                        : QStringLiteral("%1 rows since %2")
                                              .arg(static_cast<qulonglong>(history.totalRows()))
                                              .arg(QString::fromStdString(feed_.timeText(0))));
}

QString CLiveGraphWnd::cellText(int second, int column) const
{
    if (second < 0 || feed_.history().empty())
        return {};
    if (column == 0)
        return QString::fromStdString(feed_.timeText(second));
    // The channel's value in the first row of that second, while the history still holds it.
    const std::deque<LiveRow>& recent = feed_.history().recent();
    const std::size_t i = feed_.history().firstRecentAt(second);
    if (column > kChannelCount || i >= recent.size() || recent[i].x >= second + 1.0)
        return {};
    const float value = recent[i].values[static_cast<std::size_t>(column - 1)];
    return std::isnan(value) ? fromAnsi(std::string(kNoValueDisplay))
                             : QString::number(static_cast<double>(value), 'f', 2);
}

void CLiveGraphWnd::setSpan(LiveSpan span)
{
    span_ = span;
    if (spanBox_->currentIndex() != static_cast<int>(span)) {
        const QSignalBlocker block(spanBox_);
        spanBox_->setCurrentIndex(static_cast<int>(span));
    }
    following_ = false; // setFollowing rebuilds
    setFollowing(true);
}

void CLiveGraphWnd::setFollowing(bool on)
{
    if (followBox_->isChecked() != on) {
        const QSignalBlocker block(followBox_);
        followBox_->setChecked(on);
    }
    const bool resume = on && !following_;
    following_ = on;
    if (resume)
        rebuild();
}

void CLiveGraphWnd::setChannelShown(int channel, bool shown)
{
    if (channel < 0 || channel >= kChannelCount)
        return;
    shown_[static_cast<std::size_t>(channel)] = shown;
    if (channelBoxes_[static_cast<std::size_t>(channel)]->isChecked() != shown) {
        const QSignalBlocker block(channelBoxes_[static_cast<std::size_t>(channel)]);
        channelBoxes_[static_cast<std::size_t>(channel)]->setChecked(shown);
    }
    rebuild();
}

void CLiveGraphWnd::historyRestarted()
{
    stale_ = true;
    if (isVisible())
        rebuild();
}

void CLiveGraphWnd::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (stale_)
        rebuild();
}

void CLiveGraphWnd::setRanges(const PlotRanges& ranges, bool redraw)
{
    rangesSet_ = ranges;
    graph_->setStyleAndRanges(graph_->getStyle(), ranges.xFrom, ranges.xTo, ranges.yFrom,
                              ranges.yTo, redraw);
}

int CLiveGraphWnd::appendBucketPoints(std::size_t bucket, int channel, double& min, double& max)
{
    const LiveBucket& b = feed_.history().buckets()[bucket];
    const auto k = static_cast<std::size_t>(channel);
    if (std::isnan(b.min[k]))
        return 0;
    min = std::min(min, static_cast<double>(b.min[k]));
    max = std::max(max, static_cast<double>(b.max[k]));
    if (b.xMin[k] == b.xMax[k]) {
        graph_->addPoint(channel, b.xMin[k], b.min[k], false);
        return 1;
    }
    const bool minFirst = b.xMin[k] < b.xMax[k];
    graph_->addPoint(channel, minFirst ? b.xMin[k] : b.xMax[k], minFirst ? b.min[k] : b.max[k],
                     false);
    graph_->addPoint(channel, minFirst ? b.xMax[k] : b.xMin[k], minFirst ? b.max[k] : b.min[k],
                     false);
    return 2;
}

void CLiveGraphWnd::rebuild()
{
    stale_ = false;
    rowsSinceRebuild_ = 0;
    for (int k = 0; k < kChannelCount; ++k) {
        graph_->clearSeries(k, false);
        graph_->getSeries(k)->setVisible(shown_[static_cast<std::size_t>(k)]);
        graph_->visibility()[static_cast<std::size_t>(k)] = shown_[static_cast<std::size_t>(k)];
    }
    const CLiveHistory& history = feed_.history();
    const PlotRanges current = graph_->getViewRanges();
    const LiveXRange x = following_ ? followXRange(span_, 0, history.lastX())
                                    : LiveXRange{current.xFrom, current.xTo};
    YExtent extent;
    if (span_ != LiveSpan::Everything) {
        const std::deque<LiveRow>& recent = history.recent();
        std::size_t first = history.firstRecentAt(x.from);
        if (first > 0)
            --first; // the line entering from the left
        for (std::size_t i = first; i < recent.size(); ++i) {
            const LiveRow& row = recent[i];
            for (int k = 0; k < kChannelCount; ++k) {
                const float v = row.values[static_cast<std::size_t>(k)];
                if (!shown_[static_cast<std::size_t>(k)] || std::isnan(v))
                    continue;
                graph_->addPoint(k, row.x, v, false);
                if (row.x >= x.from)
                    extent.add(v);
            }
        }
    } else {
        bucketGeneration_ = history.bucketGeneration();
        lastBucket_ = history.buckets().empty() ? 0 : history.buckets().size() - 1;
        lastBucketPoints_.fill(0);
        for (std::size_t b = 0; b < history.buckets().size(); ++b)
            for (int k = 0; k < kChannelCount; ++k)
                if (shown_[static_cast<std::size_t>(k)])
                    lastBucketPoints_[static_cast<std::size_t>(k)] =
                        appendBucketPoints(b, k, extent.min, extent.max);
    }
    if (following_) {
        const LiveYRange y = extent.range();
        setRanges({x.from, x.to, y.from, y.to}, true);
    } else {
        setRanges(current, true);
    }
}

void CLiveGraphWnd::rowAdded()
{
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    if (stale_ || feed_.history().empty()) {
        rebuild();
        return;
    }
    // A zoom, pan or zoom reset by the user: leave the view where the user put it.
    if (following_ && graph_->getViewRanges() != rangesSet_)
        setFollowing(false);
    const LiveRow& row = feed_.history().recent().back();
    if (span_ == LiveSpan::Everything)
        addBucketRow(row);
    else
        addRecentRow(row);
}

double CLiveGraphWnd::oldestPointX() const
{
    double oldest = std::numeric_limits<double>::infinity();
    for (int k = 0; k < kChannelCount; ++k) {
        const CPointsCollection& points = graph_->getSeries(k)->points();
        if (!points.empty())
            oldest = std::min(oldest, points.at(0).x);
    }
    return oldest;
}

LiveYRange CLiveGraphWnd::recentYRange(double from) const
{
    YExtent extent;
    const CLiveHistory& history = feed_.history();
    for (std::size_t i = history.firstRecentAt(from); i < history.recent().size(); ++i)
        for (int k = 0; k < kChannelCount; ++k)
            if (shown_[static_cast<std::size_t>(k)] &&
                !std::isnan(history.recent()[i].values[static_cast<std::size_t>(k)]))
                extent.add(history.recent()[i].values[static_cast<std::size_t>(k)]);
    return extent.range();
}

void CLiveGraphWnd::addRecentRow(const LiveRow& row)
{
    // The series never hold more than the history does.
    if (++rowsSinceRebuild_ > feed_.history().recent().size()) {
        rebuild();
        return;
    }
    PlotRanges next = rangesSet_;
    bool redraw = false;
    if (following_ && needsNewXRange({next.xFrom, next.xTo}, row.x)) {
        // A step of the view. Points that left it stay until they would fill a whole window;
        // then a rebuild drops them.
        const LiveXRange x = followXRange(span_, 0, row.x);
        if (oldestPointX() < x.from - liveSpanSeconds(span_)) {
            rebuild();
            return;
        }
        const LiveYRange y = recentYRange(x.from);
        next = {x.from, x.to, y.from, y.to};
        redraw = true;
    }
    if (following_) {
        for (int k = 0; k < kChannelCount; ++k) {
            if (!shown_[static_cast<std::size_t>(k)])
                continue;
            if (auto wider = widenedYRange({next.yFrom, next.yTo},
                                           row.values[static_cast<std::size_t>(k)])) {
                next.yFrom = wider->from;
                next.yTo = wider->to;
                redraw = true;
            }
        }
    }
    for (int k = 0; k < kChannelCount; ++k) {
        const float v = row.values[static_cast<std::size_t>(k)];
        if (shown_[static_cast<std::size_t>(k)] && !std::isnan(v))
            graph_->addPoint(k, row.x, v, !redraw); // each draws its new segment
    }
    if (redraw)
        setRanges(next, true);
}

void CLiveGraphWnd::addBucketRow(const LiveRow& row)
{
    const CLiveHistory& history = feed_.history();
    if (history.bucketGeneration() != bucketGeneration_) {
        rebuild();
        return;
    }
    const std::size_t last = history.buckets().size() - 1;
    YExtent extent;
    for (int k = 0; k < kChannelCount; ++k) {
        if (!shown_[static_cast<std::size_t>(k)])
            continue;
        // The row changed the last bucket: its points are drawn again.
        if (last == lastBucket_) {
            for (int i = 0; i < lastBucketPoints_[static_cast<std::size_t>(k)]; ++i)
                graph_->removePoint(k, graph_->getSeries(k)->points().count() - 1, false);
        }
        lastBucketPoints_[static_cast<std::size_t>(k)] =
            appendBucketPoints(last, k, extent.min, extent.max);
    }
    lastBucket_ = last;
    if (!following_)
        return; // the graph's timer renders the changed points
    PlotRanges next = rangesSet_;
    if (needsNewXRange({next.xFrom, next.xTo}, row.x)) {
        const LiveXRange x = followXRange(span_, 0, row.x);
        next.xFrom = x.from;
        next.xTo = x.to;
    }
    for (double v : {extent.min, extent.max}) {
        if (!std::isfinite(v))
            continue; // no shown channel has a value in the row
        if (auto wider = widenedYRange({next.yFrom, next.yTo}, v)) {
            next.yFrom = wider->from;
            next.yTo = wider->to;
        }
    }
    if (next != rangesSet_)
        setRanges(next, true);
}
