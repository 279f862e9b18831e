#include "print/PrintFont.h"

#include <QFontMetrics>
#include <QRawFont>

#include "controls/AnsiText.h"

std::optional<QFont> createPrintFont(const std::string& face, int pixelHeight,
                                     const QPaintDevice& device, bool bold)
{
    if (pixelHeight < 1)
        return std::nullopt;
    QFont font(fromAnsi(face));
    font.setPixelSize(pixelHeight);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    // The offscreen and minimal platforms fall back to nothing when no font is installed.
    if (QFontMetrics(font, &device).height() <= 0 || !QRawFont::fromFont(font).isValid())
        return std::nullopt;
    return font;
}
