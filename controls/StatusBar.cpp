#include "controls/StatusBar.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <memory>

#include "controls/AnsiText.h"
#include "controls/PaneMode.h"

using namespace panemode;

namespace {

constexpr int kTimerPeriodMs = 100;
constexpr int kDefaultPaneWidth = 100;
constexpr int kTextMargin = 4;

// Advances the pane's scroll offsets by one paint for content of the given size, and returns
// where (top-left corners) the content is drawn this time: once by its alignment, at the scroll
// offset, or repeated across the pane when it scrolls continuously.
std::vector<QPoint> contentPlaces(XPaneInfo& pane, const QRect& inner, QSize content)
{
    const std::uint32_t mode = pane.mode();
    const bool scrollH = mode & kScrollHorizontal;
    const bool scrollV = mode & kScrollVertical;
    const bool continuous = mode & kContinuous;
    int x = pane.scrollX();
    int y = pane.scrollY();
    if (scrollH)
        x = nextScrollOffset(x, content.width(), inner.width(), continuous);
    if (scrollV)
        y = nextScrollOffset(y, content.height(), inner.height(), continuous);
    pane.setScroll(x, y);

    const Alignment align = alignmentOf(mode);
    const std::vector<int> lefts =
        scrollH ? scrollStarts(x, content.width(), inner.width(), continuous)
                : std::vector<int>{alignedStart(content.width(), inner.width(),
                                                align.horizontal == HAlign::Center,
                                                align.horizontal == HAlign::Right)};
    const std::vector<int> tops =
        scrollV ? scrollStarts(y, content.height(), inner.height(), continuous)
                : std::vector<int>{alignedStart(content.height(), inner.height(),
                                                align.vertical == VAlign::Center,
                                                align.vertical == VAlign::Bottom)};
    std::vector<QPoint> places;
    for (int left : lefts)
        for (int top : tops)
            places.emplace_back(inner.left() + left, inner.top() + top);
    return places;
}

} // namespace

XStatusBar::XStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false); // the bar draws its own grip
    setMouseTracking(true);    // mouse moves reach the owner without a button held
    connect(this, &QStatusBar::messageChanged, this, [this] { update(); });
}

XStatusBar::~XStatusBar()
{
    animation_.stop();
    panes_.clear(); // progress controls go before the widget deletes its children
}

bool XStatusBar::create(QMainWindow* owner, const unsigned* indicators, int count,
                        unsigned pane0Style, IMessageBox& messages)
{
    if (!owner || count < 1 || !indicators) {
        messages.tell("Unable to create Statusbar.", MessageIcon::None);
        return false;
    }
    owner_ = owner;
    owner->setStatusBar(this);
    setIndicators(indicators, count);
    setPaneStyle(0, pane0Style);
    return true;
}

void XStatusBar::setIndicators(const unsigned* indicators, int count)
{
    panes_.clear();
    for (int i = 0; i < count; ++i) {
        const unsigned id = indicators[i];
        panes_.push_back({id, 0, id == 0 ? 0 : kDefaultPaneWidth, {}, XPaneInfo(this)});
    }
    setMinimumHeight(sizeHint().height());
    placeProgressControls();
    updateGeometry();
    update();
}

void XStatusBar::setPaneInfo(int index, unsigned id, unsigned style, int width)
{
    Pane& pane = panes_.at(static_cast<std::size_t>(index));
    pane.id = id;
    pane.style = style;
    pane.width = std::max(0, width);
    setMinimumHeight(sizeHint().height());
    placeProgressControls();
    updateGeometry();
    update();
}

void XStatusBar::setPaneStyle(int index, unsigned style)
{
    Pane& pane = panes_.at(static_cast<std::size_t>(index));
    setPaneInfo(index, pane.id, style, pane.width);
}

int XStatusBar::commandToIndex(unsigned id) const
{
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        if (panes_[i].id == id)
            return static_cast<int>(i);
    }
    return -1;
}

void XStatusBar::setPaneText(int index, std::string text)
{
    panes_.at(static_cast<std::size_t>(index)).text = std::move(text);
    update();
}

std::string XStatusBar::paneText(int index) const
{
    if (index == 0 && !currentMessage().isEmpty())
        return toAnsi(currentMessage());
    return panes_.at(static_cast<std::size_t>(index)).text;
}

bool XStatusBar::showsGrip() const
{
    const QWidget* owner = owner_ ? owner_.data() : window();
    return !owner->isMaximized();
}

int XStatusBar::effectiveWidth(int index) const
{
    const Pane& pane = panes_[static_cast<std::size_t>(index)];
    const std::uint32_t mode = pane.info.mode();
    if ((pane.style & statusbar::kStyleStretch) || kindOf(mode) != Kind::Text || animates(mode))
        return pane.width;
    // A fixed text pane is never narrower than its texts: pixel widths chosen for one
    // platform's font would otherwise cut the link state short on another.
    const QFontMetrics metrics(pane.info.font());
    int text = 0;
    for (const std::string& candidate :
         {pane.info.text(true), pane.info.text(false), paneText(index)})
        text = std::max(text, metrics.horizontalAdvance(fromAnsi(candidate)));
    return std::max(pane.width, text == 0 ? 0 : text + 2 * kTextMargin);
}

std::vector<statusbar::Span> XStatusBar::spans() const
{
    std::vector<int> widths;
    std::vector<unsigned> styles;
    for (int i = 0; i < paneCount(); ++i) {
        const Pane& pane = panes_[static_cast<std::size_t>(i)];
        widths.push_back(effectiveWidth(i));
        styles.push_back(pane.style);
    }
    return statusbar::layoutPanes(width(), widths, styles, showsGrip() ? statusbar::kGripSize : 0);
}

QRect XStatusBar::paneRect(int index) const
{
    const auto all = spans();
    const auto& span = all.at(static_cast<std::size_t>(index));
    return QRect(span.left, statusbar::kBorder, span.width, height() - 2 * statusbar::kBorder);
}

QSize XStatusBar::sizeHint() const
{
    int textHeight = fontMetrics().height();
    int width = 2 * statusbar::kBorder + statusbar::kGripSize;
    for (int i = 0; i < paneCount(); ++i) {
        const Pane& pane = panes_[static_cast<std::size_t>(i)];
        textHeight = std::max(textHeight, QFontMetrics(pane.info.font()).height());
        width += effectiveWidth(i) + 2 * statusbar::kPaneFrame + statusbar::kGap;
    }
    return {width, textHeight + 2 * statusbar::kBorder + 2 * statusbar::kPaneFrame + 2};
}

QSize XStatusBar::minimumSizeHint() const { return {0, sizeHint().height()}; }

void XStatusBar::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    QPixmap buffer(size() * ratio);
    buffer.setDevicePixelRatio(ratio);
    {
        QPainter painter(&buffer);
        painter.fillRect(rect(), palette().color(QPalette::Button));
        for (int i = 0; i < paneCount(); ++i)
            drawPane(painter, i);
        if (showsGrip())
            drawGrip(painter);
    }
    updateAnimationTimer();
    QPainter(this).drawPixmap(0, 0, buffer);
}

void XStatusBar::drawPane(QPainter& painter, int index)
{
    Pane& pane = panes_[static_cast<std::size_t>(index)];
    const QRect outer = paneRect(index);
    if (outer.width() <= 0 || outer.height() <= 0)
        return;
    if (!(pane.style & statusbar::kStyleNoBorders)) {
        const bool raised = (pane.style & statusbar::kStylePopOut) != 0;
        const QColor light = palette().color(QPalette::Light);
        const QColor dark = palette().color(QPalette::Dark);
        painter.setPen(raised ? light : dark);
        painter.drawLine(outer.topLeft(), outer.topRight());
        painter.drawLine(outer.topLeft(), outer.bottomLeft());
        painter.setPen(raised ? dark : light);
        painter.drawLine(outer.bottomLeft(), outer.bottomRight());
        painter.drawLine(outer.topRight(), outer.bottomRight());
    }
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    paneEnabled_ = !(pane.style & statusbar::kStyleDisabled);
    painter.fillRect(inner, pane.info.backColor(paneEnabled_));

    painter.save();
    painter.setClipRect(inner);
    switch (kindOf(pane.info.mode())) {
    case Kind::Text:
        drawTextPane(painter, inner, pane, paneEnabled_, index);
        break;
    case Kind::Picture:
        drawPicturePane(painter, inner, pane, paneEnabled_);
        break;
    case Kind::Progress:
        break; // the progress control covers the pane (placeProgressControls)
    }
    painter.restore();
}

void XStatusBar::drawTextPane(QPainter& painter, const QRect& inner, Pane& pane, bool enabled,
                              int index)
{
    QString text = fromAnsi(pane.info.text(enabled));
    if (text.isEmpty())
        text = fromAnsi(paneText(index));
    const std::uint32_t mode = pane.info.mode();
    if ((mode & kContinuous) && animates(mode))
        text += QStringLiteral("  ");

    painter.setFont(pane.info.font());
    painter.setPen(pane.info.textColor(enabled));
    const QFontMetrics metrics(pane.info.font());
    const QSize size(metrics.horizontalAdvance(text), metrics.height());
    for (const QPoint& at : contentPlaces(pane.info, inner, size))
        painter.drawText(QRect(at, size), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

void XStatusBar::drawPicturePane(QPainter& painter, const QRect& inner, Pane& pane, bool enabled)
{
    const QPixmap& picture = pane.info.picture(pane.info.text(enabled));
    if (picture.isNull())
        return;
    if (pane.info.mode() & kStretch) {
        painter.drawPixmap(inner, picture);
        return;
    }
    for (const QPoint& at : contentPlaces(pane.info, inner, picture.size()))
        painter.drawPixmap(at, picture);
}

void XStatusBar::drawGrip(QPainter& painter)
{
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    for (const auto& line : statusbar::sizeGripLines(width() - 1, height() - 1)) {
        painter.setPen(line.colour == statusbar::GripColour::Highlight ? light : dark);
        painter.drawLine(line.x1, line.y1, line.x2, line.y2);
    }
}

void XStatusBar::placeProgressControls()
{
    for (int i = 0; i < paneCount(); ++i) {
        if (QProgressBar* progress = panes_[static_cast<std::size_t>(i)].info.progressControl())
            progress->setGeometry(paneRect(i)); // the inner rectangle enlarged by one pixel
    }
}

void XStatusBar::updateAnimationTimer()
{
    const bool animated = std::any_of(panes_.begin(), panes_.end(),
                                      [](const Pane& pane) { return animates(pane.info.mode()); });
    if (animated && isVisible() && !animation_.isActive())
        animation_.start(kTimerPeriodMs, this);
    else if (!animated && animation_.isActive())
        animation_.stop();
}

void XStatusBar::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == animation_.timerId()) {
        update();
        return;
    }
    QStatusBar::timerEvent(event);
}

void XStatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    placeProgressControls();
}

void XStatusBar::hideEvent(QHideEvent* event)
{
    animation_.stop(); // nothing to animate while hidden; the next paint restarts it
    QStatusBar::hideEvent(event);
}

void XStatusBar::forwardToOwner(QMouseEvent* event)
{
    if (!owner_)
        return;
    std::unique_ptr<QEvent> copy(event->clone());
    QCoreApplication::sendEvent(owner_, copy.get());
}

void XStatusBar::mousePressEvent(QMouseEvent* event)
{
    forwardToOwner(event);
    const QPoint pos = event->position().toPoint();
    const bool inGrip =
        pos.x() >= width() - statusbar::kGripSize && pos.y() >= height() - statusbar::kGripSize;
    if (event->button() == Qt::LeftButton && inGrip && showsGrip() && window()->windowHandle()) {
        window()->windowHandle()->startSystemResize(Qt::BottomEdge | Qt::RightEdge);
        return;
    }
    QStatusBar::mousePressEvent(event);
    event->accept();
}

void XStatusBar::mouseReleaseEvent(QMouseEvent* event)
{
    forwardToOwner(event);
    QStatusBar::mouseReleaseEvent(event);
    event->accept(); // the owner has had it; do not let it propagate a second time
}

void XStatusBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    forwardToOwner(event);
    // The base class would call our mousePressEvent and forward the event a second time.
    QStatusBar::mousePressEvent(event);
    event->accept();
}

void XStatusBar::mouseMoveEvent(QMouseEvent* event)
{
    forwardToOwner(event);
    QStatusBar::mouseMoveEvent(event);
    event->accept(); // the owner has had it; do not let it propagate a second time
}
