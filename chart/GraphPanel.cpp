#include "chart/GraphPanel.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "chart/GraphWnd.h"
#include "chart/HRuler.h"
#include "chart/PlotRenderer.h"
#include "chart/ToolTipText.h"
#include "chart/VRuler.h"
#include "controls/AnsiText.h"

namespace {

constexpr int kHandle = 4; // grab distance of the zoom tool's edges
const QRect kZoomToolStart(QPoint(5, 5), QPoint(50, 50));

} // namespace

CGraphPanel::CGraphPanel(CGraphWnd& graph, FHRuler* hRuler, FVRuler* vRuler, QWidget* parent)
    : QWidget(parent), graph_(graph), hRuler_(hRuler), vRuler_(vRuler)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setToolTipDuration(32767);
    setFocusPolicy(Qt::ClickFocus);
}

CGraphPanel::~CGraphPanel() = default;

CAxisMap CGraphPanel::xMap() const { return plotXMap(rect(), ranges_); }
CAxisMap CGraphPanel::yMap() const { return plotYMap(rect(), ranges_); }

void CGraphPanel::repaintRulers()
{
    if (hRuler_)
        hRuler_->update();
    if (vRuler_)
        vRuler_->update();
}

void CGraphPanel::setRanges(const PlotRanges& ranges, bool redraw)
{
    if (ranges == ranges_)
        return;
    ranges_ = ranges;
    if (hRuler_)
        hRuler_->setRange(ranges.xFrom, ranges.xTo, false);
    if (vRuler_)
        vRuler_->setRange(ranges.yFrom, ranges.yTo, false);
    imageValid_ = false;
    if (redraw) {
        repaintRulers();
        render();
        update();
    }
}

void CGraphPanel::setStyle(unsigned style, bool redraw)
{
    style_ = style;
    imageValid_ = false;
    if (redraw) {
        render();
        update();
    }
}

void CGraphPanel::toggleStyle(unsigned bit, bool redraw) { setStyle(style_ ^ bit, redraw); }

void CGraphPanel::gridPixels(const QPaintDevice* device, const QRect& rect,
                             const QRect& hRulerRect, const QRect& vRulerRect,
                             std::vector<int>& xs, std::vector<int>& ys) const
{
    // The grid stands at the rulers' ticks: same ranges, same capacities.
    const int xCapacity = hRuler_ ? hRuler_->tickCapacity(device, hRulerRect) : rect.width() / 40;
    const int yCapacity = vRuler_ ? vRuler_->tickCapacity(device, vRulerRect) : rect.height() / 40;
    const CAxisMap x = plotXMap(rect, ranges_), y = plotYMap(rect, ranges_);
    for (const Tick& t : computeTicks(ranges_.xFrom, ranges_.xTo, xCapacity).ticks)
        xs.push_back(x.toPixel(t.value));
    for (const Tick& t : computeTicks(ranges_.yFrom, ranges_.yTo, yCapacity).ticks)
        ys.push_back(y.toPixel(t.value));
}

void CGraphPanel::renderInto(QPainter& painter, const QRect& rect, const QRect& hRulerRect,
                             const QRect& vRulerRect) const
{
    renderSeries(painter, rect, graph_, ranges_, (style_ & kStylePointMarks) != 0,
                 markHalfSize(painter.device()));
    if (style_ & kStyleGrid) {
        std::vector<int> xs, ys;
        gridPixels(painter.device(), rect, hRulerRect, vRulerRect, xs, ys);
        drawGrid(painter, rect, xs, ys);
    }
}

void CGraphPanel::render()
{
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (image_.size() != wanted)
        image_ = QImage(wanted, QImage::Format_RGB32);
    QPainter painter(&image_);
    renderInto(painter, image_.rect(), hRuler_ ? hRuler_->rect() : QRect(),
               vRuler_ ? vRuler_->rect() : QRect());
    imageValid_ = true;
    pendingRender_ = false;
}

void CGraphPanel::flushPending()
{
    if (!pendingRender_)
        return;
    render();
    repaintRulers();
    update();
}

void CGraphPanel::paintEvent(QPaintEvent*)
{
    if (!imageValid_ || image_.size() != size())
        render();
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
    painter.setPen(QPen(Qt::black, 0, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    if (drag_ == Drag::Band) {
        painter.drawRect(band_.normalized());
    } else if (zoomTool_) {
        const QRect r = tracker_.normalized();
        painter.drawRect(r);
        painter.setPen(QPen(Qt::black, 0));
        for (QPoint corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
            painter.fillRect(QRect(corner - QPoint(2, 2), QSize(5, 5)), Qt::black);
    } else if (zoomRectPresent_) {
        painter.drawRect(tracker_.normalized());
    }
}

void CGraphPanel::resizeEvent(QResizeEvent*)
{
    // The ranges stay; the mappings follow the new size and the image is rebuilt on paint.
    imageValid_ = false;
}

void CGraphPanel::scrollPartner(double xFrom) { graph_.scrollPartnerTo(static_cast<int>(xFrom)); }

void CGraphPanel::zoomIn()
{
    if (!zoomRectPresent_)
        return;
    zoomRectPresent_ = false;
    ++zoomDepth_;
    const QRect r = tracker_.normalized();
    const PlotRanges next = zoomRanges(xMap(), yMap(), r.left(), r.top(), r.right(), r.bottom());
    setRanges(next, true);
    scrollPartner(next.xFrom);
    update();
}

void CGraphPanel::zoomReset()
{
    DataBounds b;
    if (!graph_.getDataBounds(b))
        return;
    setRanges(zoomResetRanges(b.minX, b.maxX, b.minY, b.maxY), true);
}

void CGraphPanel::setZoomTool(bool on)
{
    zoomTool_ = on;
    if (on) {
        tracker_ = kZoomToolStart;
        zoomRectPresent_ = true; // the tool's rectangle is a zoom rectangle of non-zero size
    }
    update();
}

void CGraphPanel::command(int id)
{
    switch (id) {
    case kCmdPointMarks:
        toggleStyle(kStylePointMarks, true);
        break;
    case kCmdAxis:
        toggleStyle(kStyleGrid, true);
        break;
    case kCmdZoomTool:
        setZoomTool(!zoomTool_);
        break;
    case kCmdZoomIn:
        zoomIn();
        break;
    case kCmdZoomOut:
        zoomRectPresent_ = false;
        zoomReset();
        update();
        break;
    default:
        break;
    }
}

std::unique_ptr<QMenu> CGraphPanel::createContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    auto add = [&](const char* text, int id, bool checkable, bool checked, bool enabled) {
        QAction* action = menu->addAction(QString::fromLatin1(text));
        action->setData(id);
        action->setCheckable(checkable);
        action->setChecked(checked);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, [this, id] { command(id); });
    };
    add("Point marks", kCmdPointMarks, true, style_ & kStylePointMarks, true);
    add("Axis", kCmdAxis, true, style_ & kStyleGrid, true);
    menu->addSeparator();
    add("Zoom tool", kCmdZoomTool, true, zoomTool_, true);
    add("Zoom +", kCmdZoomIn, false, false, zoomRectPresent_);
    add("Zoom -", kCmdZoomOut, false, false, true);
    return menu;
}

std::string CGraphPanel::toolTipTextAt(QPoint position) const
{
    const double x = xMap().toValue(position.x());
    const int row = toolTipRow(x, graph_.getAxis(kAxisX));
    return plotToolTipText(
        [&](int column) { return toAnsi(graph_.partnerText(row, column)); }, graph_.visibility());
}

void CGraphPanel::updateToolTip(QPoint position)
{
    if (!(style_ & kStyleMouseCoordinates)) {
        if (!currentToolTip_.empty()) {
            currentToolTip_.clear();
            setToolTip(QString());
            QToolTip::hideText();
        }
        return;
    }
    currentToolTip_ = toolTipTextAt(position);
    const QString text = fromAnsi(currentToolTip_);
    setToolTip(text);
    if (isVisible())
        QToolTip::showText(mapToGlobal(position), text, this, QRect(), 32767);
}

void CGraphPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    dragStart_ = dragLast_ = pos;
    if (event->modifiers() & Qt::ShiftModifier) {
        drag_ = Drag::Pan;
        return;
    }
    if (!zoomTool_) {
        drag_ = Drag::Band;
        band_ = QRect(pos, pos);
        return;
    }
    const QRect r = tracker_.normalized();
    const QRect grab = r.adjusted(-kHandle, -kHandle, kHandle, kHandle);
    if (!grab.contains(pos))
        return;
    trackerAtPress_ = r;
    resizeEdges_ = {};
    if (std::abs(pos.x() - r.left()) <= kHandle)
        resizeEdges_ |= Qt::LeftEdge;
    else if (std::abs(pos.x() - r.right()) <= kHandle)
        resizeEdges_ |= Qt::RightEdge;
    if (std::abs(pos.y() - r.top()) <= kHandle)
        resizeEdges_ |= Qt::TopEdge;
    else if (std::abs(pos.y() - r.bottom()) <= kHandle)
        resizeEdges_ |= Qt::BottomEdge;
    drag_ = resizeEdges_ ? Drag::TrackResize : Drag::TrackMove;
}

QRect CGraphPanel::trackedRect(QPoint pos) const
{
    QRect r = trackerAtPress_;
    const QPoint d = pos - dragStart_;
    if (drag_ == Drag::TrackMove)
        return r.translated(d);
    if (resizeEdges_ & Qt::LeftEdge)
        r.setLeft(r.left() + d.x());
    if (resizeEdges_ & Qt::RightEdge)
        r.setRight(r.right() + d.x());
    if (resizeEdges_ & Qt::TopEdge)
        r.setTop(r.top() + d.y());
    if (resizeEdges_ & Qt::BottomEdge)
        r.setBottom(r.bottom() + d.y());
    return r;
}

void CGraphPanel::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (moveCount_++ % 4 == 0)
        updateToolTip(pos);
    switch (drag_) {
    case Drag::Pan:
        setRanges(panRanges(ranges_, xMap(), yMap(), dragLast_.x(), dragLast_.y(), pos.x(),
                            pos.y()),
                  true);
        dragLast_ = pos;
        break;
    case Drag::Band: {
        const QRect before = band_.normalized();
        band_.setBottomRight(pos);
        update(before.united(band_.normalized()).adjusted(-2, -2, 2, 2));
        break;
    }
    case Drag::TrackMove:
    case Drag::TrackResize: {
        const QRect before = tracker_.normalized();
        const QRect r = trackedRect(pos);
        tracker_ = r;
        update(before.united(r.normalized()).adjusted(-4, -4, 4, 4));
        break;
    }
    case Drag::None:
        break;
    }
}

void CGraphPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        std::unique_ptr<QMenu> menu = createContextMenu();
        menu->exec(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    switch (drag_) {
    case Drag::Pan:
        setRanges(panRanges(ranges_, xMap(), yMap(), dragLast_.x(), dragLast_.y(), pos.x(),
                            pos.y()),
                  true);
        break;
    case Drag::Band: {
        band_.setBottomRight(pos);
        const QRect r = band_.normalized();
        // A click (no size) keeps the previous rectangle, so a double click can zoom into it.
        if (r.width() > 1 && r.height() > 1) {
            tracker_ = r;
            zoomRectPresent_ = true;
        }
        break;
    }
    case Drag::TrackMove:
    case Drag::TrackResize:
        tracker_ = trackedRect(pos).normalized();
        zoomRectPresent_ = tracker_.width() > 1 && tracker_.height() > 1;
        break;
    case Drag::None:
        break;
    }
    drag_ = Drag::None;
    update();
}

void CGraphPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        zoomIn();
}

void CGraphPanel::pointAdded(const CGraphNotify& record)
{
    const CGraphProps* series = graph_.getSeries(record.series);
    if (!series)
        return;
    if (series->visible() && (style_ & kStyleExtendRanges)) {
        PlotRanges extended = ranges_;
        if (extendRangesFor(extended, record.x, record.y)) {
            setRanges(extended, record.redraw);
            return;
        }
    }
    if (!series->visible())
        return;
    if (!record.redraw) {
        imageValid_ = false;
        pendingRender_ = true;
        return;
    }
    if (!imageValid_ || image_.size() != size() || record.index != series->points().count() - 1) {
        render();
        update();
        return;
    }
    QPainter painter(&image_);
    const QRect changed = drawAddedSegment(painter, image_.rect(), *series, record.index, ranges_,
                                           style_ & kStylePointMarks, markHalfSize(&image_));
    if (!changed.isEmpty())
        update(changed);
}

void CGraphPanel::axisChanged(const CGraphNotify& record)
{
    const CAxisDescription& axis = graph_.getAxis(record.axis);
    FRuler* ruler = record.axis == kAxisX ? static_cast<FRuler*>(hRuler_) : vRuler_;
    if (!ruler)
        return;
    ruler->setCaptionAndToolTip(axis.unit(), axis.title() + ", " + axis.unit());
    if (record.redraw)
        ruler->update();
}

void CGraphPanel::handleNotify(const CGraphNotify& record)
{
    switch (record.code) {
    case kNotifyPointAdded:
        pointAdded(record);
        break;
    case kNotifyPointRemoved:
    case kNotifyPointEdited:
    case kNotifySeriesRemoved:
    case kNotifySeriesCleared:
        imageValid_ = false;
        if (record.redraw) {
            render();
            update();
        } else {
            pendingRender_ = true;
        }
        break;
    case kNotifyStyleAndRanges:
        style_ = record.style;
        setRanges(record.ranges, false);
        imageValid_ = false;
        if (record.redraw) {
            repaintRulers();
            render();
            update();
        }
        break;
    case kNotifyAxisChanged:
        axisChanged(record);
        break;
    case kNotifyFrameCommand:
        if (record.value == kFrameRender) {
            render();
            update();
        } else if (record.value == kFrameRepaintRulers) {
            repaintRulers();
        }
        break;
    default:
        break;
    }
}
