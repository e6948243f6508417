#pragma once
// Paints a laid-out note: shapes first, then text and formulas on top, each clipped to its
// sideways-scrolling region when it has one. Only items meeting the exposed rectangle are drawn.
#include "DocumentLayout.h"

#include <QColor>
#include <QRectF>

class QPainter;

class DocumentPainter {
public:
    DocumentPainter(const DocumentLayout &layout, const QColor &text) : m_layout(layout), m_text(text) {}
    void paint(QPainter *painter, const QRectF &exposed) const;

private:
    const DocumentLayout &m_layout;
    QColor m_text;
};
