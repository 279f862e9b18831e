#pragma once
// Draws a wind rose with QPainter into a rectangle of any device (a window, a PNG image): the
// 16 sectors as stacked wedges whose radius grows with the share of samples, one colour per
// speed class, rings at round percentages, the compass points, and a legend with the classes,
// the calm share and the sample counts. Texts are Windows-1252 (the unit's bytes map one to one
// to Latin-1 characters).

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <QString>
#include <string>

#include "stats/WindRose.h"

// The colour of a speed class, light to dark as the wind grows.
QColor windRoseClassColour(int speedClass);

// The step between rings (a share: 0.01, 0.02, 0.05, ...) for a largest sector share, so that
// at most five rings are drawn.
double windRoseRingStep(double largestShare);

// Where the rose goes in rect for text of these metrics: its centre and radius, and the left
// edge of the legend.
struct WindRoseLayout {
    QPointF centre;
    double radius = 1;
    int legendLeft = 0;
    int legendWidth = 0;
};
WindRoseLayout windRoseLayout(const QRect& rect, const QFontMetrics& metrics);

void paintWindRose(QPainter& painter, const QRect& rect, const CWindRose& rose,
                   const std::string& speedUnit, const QString& title);
