#pragma once
// The printed graph page: the title, the graph drawn by CGraphWnd::drawGraph and the legend of
// the 13 channels, each beside a box in its colour (the record viewer's series colours,
// whatever the graph shows), laid out by graphPageLayout() on the page's printable area.

#include <QSize>
#include <QString>

class CGraphWnd;
class QPainter;

// Draws the page; false, with nothing drawn, when one of its fonts cannot be created.
bool drawGraphPage(QPainter& painter, const QSize& page, CGraphWnd& graph, const QString& title);
