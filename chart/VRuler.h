#pragma once
// The vertical ruler left of the plot: ticks on the y range with "%.1f" labels of the scaled
// values, half-step marks, and the caption followed by "E<p>" at its top end.

#include "chart/Ruler.h"

class FVRuler : public FRuler {
    Q_OBJECT
public:
    explicit FVRuler(QWidget* parent = nullptr);

    void paintRuler(QPainter& painter, const QRect& rect) const override;
    int tickCapacity(const QPaintDevice* device, const QRect& rect) const override;

    // The caption as painted: the unit, then "E" and the exponent when it is not 0.
    std::string paintedCaption(int exponent) const;
};
