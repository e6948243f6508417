#pragma once

#include "Math.h"

#include <QPointF>
#include <QRectF>

#include <memory>

// The typeset formula: boxes with a baseline, placed relative to their parent. Coordinates
// are in pixels with y pointing up, as in TeX; the painter flips them.
class Math::DisplayNode {
public:
    enum class Kind { glyph, rule, list };
    // What a box is in the construction it belongs to; lets callers and tests find parts.
    enum class Role {
        none,
        superscript,
        subscript,
        numerator,
        denominator,
        fractionRule,
        radicalSign,
        radicand,
        degree,
        upperLimit,
        lowerLimit,
        largeOperator,
        accent,
        line,
        delimiter,
        cell,
    };

    explicit DisplayNode(Kind kind) : m_kind(kind) {}
    virtual ~DisplayNode();
    DisplayNode(const DisplayNode &) = delete;
    DisplayNode &operator=(const DisplayNode &) = delete;

    Kind kind() const { return m_kind; }
    qreal height() const { return ascent + descent; }

    Role role = Role::none;
    // Baseline origin relative to the parent's baseline origin, y up.
    QPointF position;
    qreal width = 0;
    qreal ascent = 0;
    qreal descent = 0;

private:
    Kind m_kind;
};
