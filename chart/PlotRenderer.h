#pragma once
// Draws a graph's plot area with QPainter: background, the visible series in slot order and the
// dotted grid. The same code draws into the panel's off-screen image, a clipboard bitmap or a
// printer page; every size comes from the target device.

#include <QPainter>
#include <QRect>
#include <vector>

#include "chart/GraphBaseClass.h"
#include "chart/PlotMath.h"

enum class SeriesDrawing {
    Reduced,    // per pixel column: first, lowest, highest, last point
    EveryPoint, // each point whose pixel differs from the previous one
};

// The mappings of a plot rectangle: x from its left to its right, y from its bottom to its top.
CAxisMap plotXMap(const QRect& rect, const PlotRanges& ranges);
CAxisMap plotYMap(const QRect& rect, const PlotRanges& ranges);

// Half-size of a point mark on a device: its vertical pixels per inch / 35.
int markHalfSize(const QPaintDevice* device);

QColor seriesColour(const CGraphProps& series);

// Fills rect (one pixel larger on every side) with white and draws the series, clipped to it.
void renderSeries(QPainter& painter, const QRect& rect, const CGraphBaseClass& graph,
                  const PlotRanges& ranges, bool marks, int markHalf,
                  SeriesDrawing drawing = SeriesDrawing::Reduced);

// Dotted black lines at the given x pixels (bottom to top) and y pixels (left to right).
void drawGrid(QPainter& painter, const QRect& rect, const std::vector<int>& xs,
              const std::vector<int>& ys);

// One series' new segment from the point before index to index, and its mark.
// Returns the rectangle that changed (empty when the pixel did not move).
QRect drawAddedSegment(QPainter& painter, const QRect& rect, const CGraphProps& series, int index,
                       const PlotRanges& ranges, bool marks, int markHalf);
