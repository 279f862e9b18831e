#pragma once
// A small static control showing one 16 x 16 LED picture from the LED strip resource: a colour
// (red, green, yellow, blue), a state (lit, dark, grey) and a shape (round, square). Magenta
// pixels of the strip are transparent, so the LED sits on whatever the parent painted.

#include <QPixmap>
#include <QWidget>

#include "controls/LedCell.h"

class CStatusLed : public QWidget {
    Q_OBJECT
public:
    explicit CStatusLed(QWidget* parent = nullptr);

    // Stores the colour offset (led::kRed ... led::kBlue), the state (led::kLit, kDark, kGrey)
    // and the shape offset (led::kRound, kSquare) and redraws. A setting whose cell lies
    // outside the strip draws nothing.
    void setLed(int colour, int state, int shape);

    int colour() const { return colour_; }
    int state() const { return state_; }
    int shape() const { return shape_; }

    // The strip with magenta made transparent (48 x 128).
    const QPixmap& strip() const { return strip_; }

    QSize sizeHint() const override { return {led::kCell, led::kCell}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int colour_ = led::kRed;
    int state_ = led::kDark;
    int shape_ = led::kRound;
    QPixmap strip_;
};
