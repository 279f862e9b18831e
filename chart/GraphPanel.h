#pragma once
// The plot panel: maps data to pixels, renders the visible series into an off-screen image,
// and handles the mouse (rubber band and zoom tool, Shift-drag panning, double-click zoom, the
// value tool tip and the context menu). It reads the graph's series and follows its
// notifications; its rulers get the ranges and axis captions.

#include <QImage>
#include <QWidget>
#include <memory>

#include "chart/GraphNotify.h"
#include "chart/PlotMath.h"

class CGraphWnd;
class FHRuler;
class FVRuler;
class QMenu;

class CGraphPanel : public QWidget {
    Q_OBJECT
public:
    CGraphPanel(CGraphWnd& graph, FHRuler* hRuler, FVRuler* vRuler, QWidget* parent = nullptr);
    ~CGraphPanel() override;

    // Does nothing when all four ends are the current ones.
    void setRanges(const PlotRanges& ranges, bool redraw);
    const PlotRanges& ranges() const { return ranges_; }

    unsigned style() const { return style_; }
    void setStyle(unsigned style, bool redraw);
    void toggleStyle(unsigned bit, bool redraw);

    // A zoom-in step into the zoom rectangle, when there is one.
    void zoomIn();
    // Both ranges back to the data bounds (nothing when no visible series has points).
    void zoomReset();
    // A context-menu command (point marks, axis, zoom tool, zoom +, zoom -).
    void command(int id);
    // The context menu with the current check states.
    std::unique_ptr<QMenu> createContextMenu();

    bool zoomRectPresent() const { return zoomRectPresent_; }
    int zoomDepth() const { return zoomDepth_; }
    bool zoomToolOn() const { return zoomTool_; }
    // The tracker rectangle: the last rubber band, or the zoom tool's rectangle.
    QRect trackerRect() const { return tracker_; }

    // The tool tip for a panel position, as program text.
    std::string toolTipTextAt(QPoint position) const;
    const std::string& currentToolTip() const { return currentToolTip_; }

    void handleNotify(const CGraphNotify& record);
    // Re-renders when data changed without a redraw (the frame's timer asks).
    void flushPending();

    // Draws the plot for ranges into rect of any painter (clipboard bitmap, printer page).
    void renderInto(QPainter& painter, const QRect& rect, const QRect& hRulerRect,
                    const QRect& vRulerRect) const;
    // Renders the off-screen image now.
    void render();
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    CAxisMap xMap() const;
    CAxisMap yMap() const;
    void repaintRulers();
    void pointAdded(const CGraphNotify& record);
    void axisChanged(const CGraphNotify& record);
    void gridPixels(const QPaintDevice* device, const QRect& rect, const QRect& hRulerRect,
                    const QRect& vRulerRect, std::vector<int>& xs, std::vector<int>& ys) const;
    void updateToolTip(QPoint position);
    void setZoomTool(bool on);
    // The zoom tool's rectangle while it is dragged to pos.
    QRect trackedRect(QPoint pos) const;
    void scrollPartner(double xFrom);

    enum class Drag { None, Band, Pan, TrackMove, TrackResize };

    CGraphWnd& graph_;
    FHRuler* hRuler_;
    FVRuler* vRuler_;
    PlotRanges ranges_;
    unsigned style_ = kStyleInitial;
    QImage image_;
    bool imageValid_ = false;
    bool pendingRender_ = false;

    Drag drag_ = Drag::None;
    QPoint dragStart_;
    QPoint dragLast_;
    QRect band_;
    QRect tracker_;
    QRect trackerAtPress_;
    Qt::Edges resizeEdges_;
    bool zoomRectPresent_ = false;
    bool zoomTool_ = false;
    int zoomDepth_ = 0;
    int moveCount_ = 0;
    std::string currentToolTip_;
};
