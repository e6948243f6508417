#pragma once

#include "Math.h"

#include <QList>
#include <QPointF>
#include <QRectF>

#include <memory>
#include <vector>

class QPainter;

// A typeset formula made ready to draw: its glyphs gathered into one run per size and its rules
// as rectangles, all placed from the baseline origin. Made once per formula (the display cache
// keeps it with the tree), so a repaint costs a few calls however large the formula is.
// Immutable, so any thread may draw it.
class Math::Drawing {
public:
    Drawing(std::shared_ptr<const FontTable> font, const ListNode &tree);

    // Draws with the painter's pen, as the painter draws text: its brush inks glyphs and rules
    // alike, so the formula takes whatever colour the caller's text has.
    void draw(QPainter *painter, QPointF baselineOrigin) const;

private:
    struct Run {
        qreal pixelSize = 0;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };

    std::shared_ptr<const FontTable> m_font;
    std::vector<Run> m_runs;
    std::vector<QRectF> m_rules;
};
