#pragma once
// The ruler base: an axis range, a caption (the axis unit) with its tool tip, the fixed inch
// sizes converted for the device being painted, and the tick capacity. FHRuler and FVRuler
// paint the two orientations; both paint into any QPainter within a rectangle.

#include <QFont>
#include <QWidget>
#include <optional>
#include <string>

#include "chart/Ticks.h"

struct RulerSizes {
    int margin = 1;     // 1/6 inch at the ruler's start
    int fontHeight = 1; // 1/6 x 100/113 inch
    int tickLength = 1; // 1/24 inch
    int captionGap = 1; // 1/60 inch
};

class FRuler : public QWidget {
    Q_OBJECT
public:
    explicit FRuler(QWidget* parent = nullptr);

    double rangeFrom() const { return from_; }
    double rangeTo() const { return to_; }
    void setRange(double from, double to, bool redraw);

    const std::string& caption() const { return caption_; }
    const std::string& toolTipText() const { return toolTipText_; }
    // Caption and tool tip text are Windows-1252 program text.
    void setCaptionAndToolTip(const std::string& caption, const std::string& toolTipText);

    // A font for the labels instead of the built-in one (printing asks for its own).
    void setLabelFont(std::optional<QFont> font) { labelFont_ = std::move(font); }

    // Inch sizes in pixels of a device with the given pixels per inch (0 becomes 1).
    static RulerSizes sizesFor(int dpi);

    // Paints the ruler into rect.
    virtual void paintRuler(QPainter& painter, const QRect& rect) const = 0;
    // Number of ticks that fit on the ruler painted into rect on painter's device.
    virtual int tickCapacity(const QPaintDevice* device, const QRect& rect) const = 0;

    // The thickness a ruler needs on a device with the given pixels per inch.
    static int thicknessFor(int dpi);

protected:
    void paintEvent(QPaintEvent* event) override;
    QFont labelFont(int pixelHeight, const QPaintDevice* device) const;
    int capacityFor(const QPaintDevice* device, int length, int dpi) const;

private:
    double from_ = 1;
    double to_ = 100;
    std::string caption_;
    std::string toolTipText_;
    std::optional<QFont> labelFont_;
};
