#include "controls/StatusLed.h"

#include <QImage>
#include <QPainter>

// The resource lives in a static library; make sure its initialiser is linked and run.
static void initControlsResources() { Q_INIT_RESOURCE(controls); }

namespace {

QPixmap loadStrip()
{
    initControlsResources();
    QImage image(":/controls/StatusLed.bmp");
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb magenta = qRgb(255, 0, 255);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0x00FFFFFF) == (magenta & 0x00FFFFFF))
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return QPixmap::fromImage(image);
}

} // namespace

CStatusLed::CStatusLed(QWidget* parent) : QWidget(parent), strip_(loadStrip())
{
    // No background of its own: the parent's painting shows through the transparent pixels.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void CStatusLed::setLed(int colour, int state, int shape)
{
    colour_ = colour;
    state_ = state;
    shape_ = shape;
    update();
}

void CStatusLed::paintEvent(QPaintEvent*)
{
    const auto cell = led::stripCell(colour_, state_, shape_);
    if (!cell)
        return;
    const led::Rect place = led::target(width(), height());
    QPainter painter(this);
    painter.drawPixmap(QRect(place.x, place.y, place.width, place.height), strip_,
                       QRect(cell->x, cell->y, cell->width, cell->height));
}
