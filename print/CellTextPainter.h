#pragma once
// Draws the cell texts of one printed line as a single glyph run. Glyphs and advances are
// looked up once per character (kerning once per pair) and kept, blanks cost nothing, and positions
// fall on whole device units; to a PDF this writes a fraction of what one drawText call per cell
// does. A text with a character the font lacks (or outside the basic plane) is drawn by drawText.
//
// Texts are placed like single-line drawText in a rectangle: left, centred or right, centred
// vertically; glyphs that would cross the rectangle's sides are left out.

#include <QFont>
#include <QPointF>
#include <QRawFont>
#include <QRect>
#include <QString>
#include <array>
#include <unordered_map>
#include <vector>

#include "print/PrintListSettings.h"

class QPainter;

class CCellTextPainter {
public:
    // font is sized in device pixels of the page it draws on.
    explicit CCellTextPainter(const QFont& font);

    // Queues text for rect.
    void add(const QString& text, const QRect& rect, PrintAlign align);
    // Draws everything queued with the painter's pen and empties the queue.
    void flush(QPainter& painter);

private:
    struct Glyph {
        quint32 index = 0;
        qreal advance = 0;
        bool known = false;
    };
    // A glyph placed in the cell being added, x from the text's start.
    struct Placed {
        quint32 index;
        qreal start;
        qreal end;
        bool blank;
    };
    const Glyph& glyph(char16_t code);
    // What the pair's kerning adds to the left glyph's advance.
    qreal kerning(quint32 left, quint32 right);
    void addFallback(const QString& text, const QRect& rect, PrintAlign align);

    QFont font_;
    QRawFont raw_;
    qreal ascent_ = 0;
    qreal height_ = 0;
    std::array<Glyph, 256> latin_{};
    std::unordered_map<char16_t, Glyph> others_;
    std::unordered_map<quint64, qreal> kerning_;
    std::vector<Placed> cell_;
    std::vector<quint32> indexes_;
    std::vector<QPointF> positions_;
    struct Fallback {
        QString text;
        QRect rect;
        PrintAlign align;
    };
    std::vector<Fallback> fallbacks_;
};
