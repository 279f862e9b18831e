#pragma once
// The graph window, the charting library's public face: series slots and their points (the
// CGraphBaseClass operations), a frame with the plot panel, its rulers and the "Points" bar,
// and drawing onto any painter within a rectangle (clipboard bitmaps, printed pages).
//
// The partner list is any item view whose model gives a text per (row, column): the rulers and
// the tool tip read row texts from it, and a zoom-in scrolls it to the first row shown.

#include <QAbstractItemView>
#include <QPointer>
#include <QWidget>
#include <optional>

#include "chart/GraphBaseClass.h"

class CGraphFrame;
class CGraphContainer;
class CGraphPanel;

class CGraphWnd : public QWidget, public CGraphBaseClass {
    Q_OBJECT
public:
    // The file viewers ask for 32 slots; frameStyle CGraphFrame::kStyleTimer runs the timer.
    explicit CGraphWnd(int slotCount, QWidget* parent = nullptr, int frameStyle = 0);
    ~CGraphWnd() override;

    CGraphFrame* frame() const { return frame_; }
    CGraphContainer* container() const;
    CGraphPanel* panel() const;

    unsigned getStyle() const override;
    PlotRanges getViewRanges() const override;
    void pointsBarFlags(int flags) override;

    void setPartnerList(QAbstractItemView* list) { partner_ = list; }
    QAbstractItemView* partnerList() const { return partner_; }
    // The partner list's text of (row, column); empty outside the list or without one.
    QString partnerText(int row, int column) const;
    // Scrolls the partner list so that row is visible (clamped to its rows).
    void scrollPartnerTo(int row);

    // The panel's zoom-in step and zoom reset.
    void zoomIn();
    void zoomReset();

    // Draws rulers and plot into rect of painter's device, sized for that device. textFont,
    // when given, replaces the rulers' label font.
    void drawGraph(QPainter& painter, const QRect& rect,
                   const std::optional<QFont>& textFont = std::nullopt);
    // The graph as a bitmap of the window's size (for the clipboard).
    QImage grabGraph();

protected:
    void notify(const CGraphNotify& record) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CGraphFrame* frame_ = nullptr;
    QPointer<QAbstractItemView> partner_;
};
