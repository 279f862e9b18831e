#include "chart/GraphContainer.h"

#include <algorithm>

#include "chart/GraphPanel.h"
#include "chart/GraphWnd.h"
#include "chart/HRuler.h"
#include "chart/VRuler.h"

CGraphContainer::CGraphContainer(CGraphWnd& graph, QWidget* parent)
    : QWidget(parent), hRuler_(new FHRuler(this)), vRuler_(new FVRuler(this)),
      panel_(new CGraphPanel(graph, hRuler_, vRuler_, this))
{
    setProperty("childId", kChildId);
    hRuler_->setPartnerText([&graph](int row, int column) { return graph.partnerText(row, column); });
    hRuler_->setRange(panel_->ranges().xFrom, panel_->ranges().xTo, false);
    vRuler_->setRange(panel_->ranges().yFrom, panel_->ranges().yTo, false);
}

GraphLayout CGraphContainer::layoutFor(const QRect& area, int dpiX, int dpiY)
{
    const int hMargin = FRuler::sizesFor(dpiY).margin;
    const int vMargin = FRuler::sizesFor(dpiX).margin;
    const int height = std::max(FRuler::thicknessFor(dpiY), vMargin);
    const int width = std::max(FRuler::thicknessFor(dpiX) + FRuler::sizesFor(dpiX).fontHeight / 2,
                               hMargin);
    GraphLayout layout;
    layout.plot = QRect(area.left() + width, area.top() + height, std::max(1, area.width() - width),
                        std::max(1, area.height() - height));
    layout.hRuler = QRect(layout.plot.left() - hMargin, area.top(), layout.plot.width() + hMargin,
                          height);
    layout.vRuler = QRect(area.left(), layout.plot.top() - vMargin, width,
                          layout.plot.height() + vMargin);
    return layout;
}

void CGraphContainer::resizeEvent(QResizeEvent*)
{
    const GraphLayout layout = layoutFor(rect(), logicalDpiX(), logicalDpiY());
    panel_->setGeometry(layout.plot);
    hRuler_->setGeometry(layout.hRuler);
    vRuler_->setGeometry(layout.vRuler);
}

void CGraphContainer::handleNotify(const CGraphNotify& record) { panel_->handleNotify(record); }
