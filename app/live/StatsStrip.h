#pragma once
// The statistics strip in the free area of the overview form, below the LED: the wind figures
// of the current period so far and of the period ended last (StatsStripText.h). It paints its
// texts itself, so that an update per data row costs one repaint at most. Its context menu
// chooses the averaging period.

#include <QWidget>
#include <functional>

#include "app/live/StatsStripText.h"

class CStatsStrip : public QWidget {
    Q_OBJECT
public:
    // The periods offered by the context menu, in seconds.
    static constexpr int kPeriods[] = {60, 300, 600, 900, 1800, 3600};

    explicit CStatsStrip(QWidget* parent = nullptr);

    void setTexts(const StatsStripTexts& texts);
    const StatsStripTexts& texts() const { return texts_; }

    // Called with the period (seconds) the user chose.
    void setPeriodChosen(std::function<void(int)> chosen) { periodChosen_ = std::move(chosen); }
    void setCurrentPeriod(int seconds) { period_ = seconds; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    StatsStripTexts texts_;
    std::function<void(int)> periodChosen_;
    int period_ = 0;
};
