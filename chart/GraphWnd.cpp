#include "chart/GraphWnd.h"

#include <QLayout>
#include <QPainter>
#include <algorithm>

#include "chart/GraphContainer.h"
#include "chart/GraphFrame.h"
#include "chart/GraphPanel.h"
#include "chart/HRuler.h"
#include "chart/PlotRenderer.h"
#include "chart/PointViewBar.h"
#include "chart/VRuler.h"

CGraphWnd::CGraphWnd(int slotCount, QWidget* parent, int frameStyle)
    : QWidget(parent), CGraphBaseClass(slotCount)
{
    frame_ = new CGraphFrame(*this, frameStyle, this);
    frame_->setGeometry(rect());
}

CGraphWnd::~CGraphWnd()
{
    // The frame reads the series while it goes; take it down before they are freed.
    delete frame_;
    frame_ = nullptr;
}

CGraphContainer* CGraphWnd::container() const { return frame_->container(); }
CGraphPanel* CGraphWnd::panel() const { return frame_->container()->panel(); }

unsigned CGraphWnd::getStyle() const { return panel()->style(); }
PlotRanges CGraphWnd::getViewRanges() const { return panel()->ranges(); }

void CGraphWnd::pointsBarFlags(int flags)
{
    CPointViewBar* bar = frame_->pointsBar();
    if (flags & kBarShow)
        bar->show();
    if (flags & kBarHide)
        bar->hide();
    if (flags & kBarCommand12)
        bar->command(CPointViewBar::kCmdShowLast);
    if (flags & kBarCommand11)
        bar->command(CPointViewBar::kCmdReload);
}

void CGraphWnd::notify(const CGraphNotify& record)
{
    if (frame_)
        frame_->handleNotify(record);
}

void CGraphWnd::resizeEvent(QResizeEvent*)
{
    if (!frame_)
        return;
    frame_->setGeometry(rect());
    // Lay the frame out now, so that drawing right after a resize sees the new panel size.
    if (frame_->layout())
        frame_->layout()->activate();
}

QString CGraphWnd::partnerText(int row, int column) const
{
    const QAbstractItemModel* model = partner_ ? partner_->model() : nullptr;
    if (!model || row < 0 || row >= model->rowCount() || column < 0 ||
        column >= model->columnCount())
        return {};
    return model->index(row, column).data(Qt::DisplayRole).toString();
}

void CGraphWnd::scrollPartnerTo(int row)
{
    const QAbstractItemModel* model = partner_ ? partner_->model() : nullptr;
    if (!model || model->rowCount() == 0)
        return;
    row = std::clamp(row, 0, model->rowCount() - 1);
    partner_->scrollTo(model->index(row, 0), QAbstractItemView::EnsureVisible);
}

void CGraphWnd::zoomIn() { panel()->zoomIn(); }
void CGraphWnd::zoomReset() { panel()->zoomReset(); }

void CGraphWnd::drawGraph(QPainter& painter, const QRect& rect,
                          const std::optional<QFont>& textFont)
{
    const QPaintDevice* device = painter.device();
    const GraphLayout layout =
        CGraphContainer::layoutFor(rect, device->logicalDpiX(), device->logicalDpiY());
    FHRuler* h = container()->hRuler();
    FVRuler* v = container()->vRuler();
    h->setLabelFont(textFont);
    v->setLabelFont(textFont);
    painter.fillRect(rect, h->palette().color(QPalette::Window));
    h->paintRuler(painter, layout.hRuler);
    v->paintRuler(painter, layout.vRuler);
    panel()->renderInto(painter, layout.plot, layout.hRuler, layout.vRuler);
    h->setLabelFont(std::nullopt);
    v->setLabelFont(std::nullopt);
}

QImage CGraphWnd::grabGraph()
{
    QImage image(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter painter(&image);
    drawGraph(painter, image.rect());
    return image;
}
