#pragma once
// What a laid-out note is made of: positioned text, shapes (fills, frames, rules, list markers,
// check boxes) and formulas, some of them inside a region that scrolls sideways on its own.
#include "MathBlock.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QTextLayout>
#include <memory>

struct TextItem {
    QPointF origin;
    QRectF rect; // in document coordinates, before any sideways scrolling
    std::shared_ptr<QTextLayout> layout;
    QColor color;
    int block = -1;
    int textStart = 0; // document text index of the layout's first character
    int firstRun = 0;  // runs shown by this item: [firstRun, runEnd)
    int runEnd = 0;
    int region = -1;
};

struct ShapeItem {
    enum class Kind : quint8 { fill, roundedFill, frame, marker, checkBox };
    Kind kind = Kind::fill;
    QRectF rect;
    QColor color;
    bool checked = false;
    bool rightAligned = false; // ordered-list numbers line up on their dot
    QString text;              // marker text
    QFont font;                // marker font
    qreal baseline = 0;        // marker baseline
    int region = -1;

    static ShapeItem make(Kind kind, const QRectF &rect, const QColor &color, int region = -1)
    {
        ShapeItem s;
        s.kind = kind;
        s.rect = rect;
        s.color = color;
        s.region = region;
        return s;
    }
};

struct MathItem {
    QRectF rect;
    QPointF baseline;
    std::shared_ptr<MathBlock> formula;
    QColor color; // the text colour where the formula stands
    int region = -1;
};

// Content wider than its place in the view (a long code line, a wide table or formula) keeps
// its own sideways offset instead of widening the note.
struct ScrollRegion {
    QRectF viewport;
    qreal contentWidth = 0;
    qreal offset = 0;
    qreal maxOffset() const { return std::max<qreal>(0, contentWidth - viewport.width()); }
};
