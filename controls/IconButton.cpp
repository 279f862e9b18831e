#include "controls/IconButton.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace {

constexpr int kPadding = 4; // between the frame and the icon on each side

} // namespace

CIconButton::CIconButton(QWidget* parent) : QPushButton(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    // Leaving the application (another program comes to the front) ends the hover.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s != Qt::ApplicationActive)
            setHover(false);
    });
}

void CIconButton::setIcons(const QPixmap& in, const QPixmap& out)
{
    in_ = in;
    out_ = out;
    updateGeometry();
    update();
}

void CIconButton::setTooltipText(const QString& text, bool activate)
{
    setToolTip(activate ? text : QString());
}

iconbutton::Look CIconButton::look() const
{
    return iconbutton::lookFor({hover_, isDown(), !isEnabled()}, !out_.isNull());
}

QSize CIconButton::sizeHint() const
{
    const QSize icon = in_.isNull() ? QSize(16, 16) : in_.deviceIndependentSize().toSize();
    return icon + QSize(2 * kPadding + 2, 2 * kPadding + 2);
}

void CIconButton::setHover(bool hover)
{
    if (hover_ == hover)
        return;
    hover_ = hover;
    update();
}

void CIconButton::mouseMoveEvent(QMouseEvent* event)
{
    if (QGuiApplication::applicationState() == Qt::ApplicationActive &&
        rect().contains(event->position().toPoint()))
        setHover(true);
    QPushButton::mouseMoveEvent(event);
}

void CIconButton::leaveEvent(QEvent* event)
{
    setHover(false);
    QPushButton::leaveEvent(event);
}

void CIconButton::focusOutEvent(QFocusEvent* event)
{
    setHover(false);
    QPushButton::focusOutEvent(event);
}

void CIconButton::changeEvent(QEvent* event)
{
    // Qt moves the focus on to the next control itself when a focused button is disabled.
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        setHover(false);
    else if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        setHover(false);
    QPushButton::changeEvent(event);
}

void CIconButton::paintEvent(QPaintEvent*)
{
    using iconbutton::Frame;
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Button));
    const iconbutton::Look look = this->look();
    if (look.frame != Frame::None) {
        const QColor light = colours.color(QPalette::Light);
        const QColor shadow = colours.color(QPalette::Dark);
        const QColor topLeft = look.frame == Frame::Raised ? light : shadow;
        const QColor bottomRight = look.frame == Frame::Raised ? shadow : light;
        const QRect r = rect();
        painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
        painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
        painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
        painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
    }
    QPixmap icon = look.outIcon ? out_ : in_;
    if (icon.isNull())
        return;
    if (look.greyed) {
        QStyleOption option;
        option.initFrom(this);
        icon = style()->generatedIconPixmap(QIcon::Disabled, icon, &option);
    }
    const QSize size = icon.deviceIndependentSize().toSize();
    const iconbutton::Place place =
        iconbutton::iconPlace(width(), height(), size.width(), size.height(), look);
    painter.drawPixmap(place.x, place.y, icon);
}
