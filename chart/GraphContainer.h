#pragma once
// The plot container: the plot panel with the horizontal ruler above it and the vertical ruler
// on its left, laid out so that each ruler's scale (after its margin) lines up with the panel.

#include <QWidget>

#include "chart/GraphNotify.h"

class CGraphWnd;
class CGraphPanel;
class FHRuler;
class FVRuler;

struct GraphLayout {
    QRect plot;
    QRect hRuler;
    QRect vRuler;
};

class CGraphContainer : public QWidget {
    Q_OBJECT
public:
    static constexpr int kChildId = 11001;

    CGraphContainer(CGraphWnd& graph, QWidget* parent = nullptr);

    // Where panel and rulers go within area on a device with these pixels per inch.
    static GraphLayout layoutFor(const QRect& area, int dpiX, int dpiY);

    CGraphPanel* panel() const { return panel_; }
    FHRuler* hRuler() const { return hRuler_; }
    FVRuler* vRuler() const { return vRuler_; }

    void handleNotify(const CGraphNotify& record);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    FHRuler* hRuler_;
    FVRuler* vRuler_;
    CGraphPanel* panel_;
};
