#include "print/CellTextPainter.h"

#include <QGlyphRun>
#include <QPainter>
#include <cmath>

CCellTextPainter::CCellTextPainter(const QFont& font)
    : font_(font), raw_(QRawFont::fromFont(font)), ascent_(raw_.ascent()),
      height_(raw_.ascent() + raw_.descent())
{
}

const CCellTextPainter::Glyph& CCellTextPainter::glyph(char16_t code)
{
    Glyph& entry = code < latin_.size() ? latin_[code] : others_[code];
    if (!entry.known) {
        const QChar character(code);
        const QList<quint32> indexes = raw_.glyphIndexesForString(QString(character));
        if (indexes.size() == 1) {
            entry.index = indexes[0];
            entry.advance = raw_.advancesForGlyphIndexes(indexes).value(0).x();
        }
        entry.known = true;
    }
    return entry;
}

qreal CCellTextPainter::kerning(quint32 left, quint32 right)
{
    const quint64 key = (static_cast<quint64>(left) << 32) | right;
    const auto found = kerning_.find(key);
    if (found != kerning_.end())
        return found->second;
    const QList<quint32> pair{left, right};
    const QList<QPointF> plain = raw_.advancesForGlyphIndexes(pair);
    const QList<QPointF> kerned = raw_.advancesForGlyphIndexes(pair, QRawFont::KernedAdvances);
    const qreal adjustment = kerned.value(0).x() - plain.value(0).x();
    kerning_.emplace(key, adjustment);
    return adjustment;
}

void CCellTextPainter::add(const QString& text, const QRect& rect, PrintAlign align)
{
    if (text.isEmpty())
        return;
    // Measure first: the alignment needs the width, and a missing glyph sends the whole text
    // to drawText, which falls back to other fonts.
    cell_.clear();
    qreal x = 0;
    for (QChar character : text) {
        if (character.isSurrogate())
            return addFallback(text, rect, align);
        const Glyph& g = glyph(character.unicode());
        const bool blank = character.isSpace();
        if (g.index == 0 && !blank)
            return addFallback(text, rect, align);
        if (!cell_.empty())
            x += kerning(cell_.back().index, g.index);
        cell_.push_back({g.index, x, x + g.advance, blank});
        x += g.advance;
    }
    qreal left = rect.left();
    if (align == PrintAlign::Right)
        left = rect.left() + rect.width() - x;
    else if (align == PrintAlign::Centre)
        left = rect.left() + (rect.width() - x) / 2;
    const qreal baseline = std::round(rect.top() + (rect.height() - height_) / 2 + ascent_);
    const qreal from = rect.left() - 0.5;
    const qreal to = rect.left() + rect.width() + 0.5;
    for (const Placed& glyph : cell_) {
        if (glyph.blank || left + glyph.start < from || left + glyph.end > to)
            continue;
        indexes_.push_back(glyph.index);
        positions_.emplace_back(std::round(left + glyph.start), baseline);
    }
}

void CCellTextPainter::addFallback(const QString& text, const QRect& rect, PrintAlign align)
{
    fallbacks_.push_back({text, rect, align});
}

void CCellTextPainter::flush(QPainter& painter)
{
    if (!indexes_.empty()) {
        QGlyphRun run;
        run.setRawFont(raw_);
        run.setGlyphIndexes(QList<quint32>(indexes_.begin(), indexes_.end()));
        run.setPositions(QList<QPointF>(positions_.begin(), positions_.end()));
        painter.drawGlyphRun(QPointF(0, 0), run);
        indexes_.clear();
        positions_.clear();
    }
    if (!fallbacks_.empty()) {
        painter.save();
        painter.setFont(font_);
        for (const Fallback& cell : fallbacks_) {
            const Qt::Alignment horizontal = cell.align == PrintAlign::Right    ? Qt::AlignRight
                                             : cell.align == PrintAlign::Centre ? Qt::AlignHCenter
                                                                                : Qt::AlignLeft;
            painter.drawText(cell.rect, horizontal | Qt::AlignVCenter | Qt::TextSingleLine,
                             cell.text);
        }
        painter.restore();
        fallbacks_.clear();
    }
}
