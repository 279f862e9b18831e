#pragma once
// A flat push button that shows an icon: a raised frame while the pointer is over it, a sunken
// frame and the icon one pixel right and down while it is pressed, the icon greyed when the
// button is disabled, and a tool tip. A double click counts as one more click. Colours come
// from the palette's button face, so they follow the system's colours.

#include <QPixmap>
#include <QPushButton>

#include "controls/IconButtonLook.h"

class CIconButton : public QPushButton {
    Q_OBJECT
public:
    explicit CIconButton(QWidget* parent = nullptr);

    // The icon shown while hovered or pressed and, optionally, the one shown otherwise (without
    // it the "in" icon is shown in every state); each keeps its natural size.
    void setIcons(const QPixmap& in, const QPixmap& out = QPixmap());
    // Sets the tool-tip text; without activate the button shows no tool tip.
    void setTooltipText(const QString& text, bool activate = true);

    bool hover() const { return hover_; }
    iconbutton::Look look() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setHover(bool hover);

    QPixmap in_;
    QPixmap out_;
    bool hover_ = false;
};
