#pragma once
// The horizontal ruler over the plot: ticks on the x range, and at every fifth tick the date
// time of that row from the partner list's column 0. Caption at its right end.

#include <functional>

#include "chart/Ruler.h"

class FHRuler : public FRuler {
    Q_OBJECT
public:
    explicit FHRuler(QWidget* parent = nullptr);

    // Text of a partner-list cell (row, column); empty outside the list.
    using CellText = std::function<QString(int row, int column)>;
    void setPartnerText(CellText cellText) { cellText_ = std::move(cellText); }

    void paintRuler(QPainter& painter, const QRect& rect) const override;
    int tickCapacity(const QPaintDevice* device, const QRect& rect) const override;

private:
    CellText cellText_;
};
