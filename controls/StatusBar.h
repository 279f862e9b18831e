#pragma once
// The main window's status bar with coloured panes: every pane has its own colours, texts,
// font and mode (text, picture or progress bar; optionally scrolling). Painting is
// double-buffered; a 100 ms animation timer runs only while some pane scrolls. Mouse events
// are passed on to the owner window unchanged before the bar handles them. While the owner is
// not maximised a size grip is drawn (and works) in the bottom-right corner.

#include <QBasicTimer>
#include <QPointer>
#include <QStatusBar>
#include <string>
#include <vector>

#include "core/MessageBox.h"
#include "controls/PaneInfo.h"
#include "controls/StatusBarGeometry.h"

class QMainWindow;

class XStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit XStatusBar(QWidget* parent = nullptr);
    ~XStatusBar() override;

    // Becomes the owner's status bar with one pane per indicator id, each with default
    // settings, pane 0 with the given style (statusbar::kStyleStretch and so on). On failure (no
    // owner, no indicators) shows "Unable to create Statusbar." and returns false.
    bool create(QMainWindow* owner, const unsigned* indicators, int count, unsigned pane0Style,
                IMessageBox& messages);

    // One pane per id, every pane with a default XPaneInfo.
    void setIndicators(const unsigned* indicators, int count);
    int paneCount() const { return static_cast<int>(panes_.size()); }

    // Pane settings; the caller repaints (update()) after changing a pane.
    XPaneInfo& pane(int index) { return panes_.at(static_cast<std::size_t>(index)).info; }

    void setPaneInfo(int index, unsigned id, unsigned style, int width);
    unsigned paneId(int index) const { return panes_.at(static_cast<std::size_t>(index)).id; }
    unsigned paneStyle(int index) const { return panes_.at(static_cast<std::size_t>(index)).style; }
    void setPaneStyle(int index, unsigned style);
    int paneWidth(int index) const { return panes_.at(static_cast<std::size_t>(index)).width; }
    int commandToIndex(unsigned id) const;

    // The standard pane text (Windows-1252), shown by a text pane whose own texts are empty.
    // Pane 0 shows the bar's current message (status tips) in preference.
    void setPaneText(int index, std::string text);
    std::string paneText(int index) const;

    // Where the pane lies. A fixed-width text pane is widened to hold its texts.
    QRect paneRect(int index) const;
    bool animationTimerActive() const { return animation_.isActive(); }
    QWidget* owner() const { return owner_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    struct Pane {
        unsigned id = 0;
        unsigned style = 0;
        int width = 0;
        std::string text;
        XPaneInfo info;
    };

    bool showsGrip() const;
    int effectiveWidth(int index) const;
    std::vector<statusbar::Span> spans() const;
    void drawPane(QPainter& painter, int index);
    void drawTextPane(QPainter& painter, const QRect& inner, Pane& pane, bool enabled, int index);
    void drawPicturePane(QPainter& painter, const QRect& inner, Pane& pane, bool enabled);
    void drawGrip(QPainter& painter);
    void placeProgressControls();
    void updateAnimationTimer();
    void forwardToOwner(QMouseEvent* event);

    std::vector<Pane> panes_;
    QPointer<QWidget> owner_;
    QBasicTimer animation_;
    bool paneEnabled_ = true; // whether the pane being drawn is enabled
};
