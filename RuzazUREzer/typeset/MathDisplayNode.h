#pragma once

#include "Math.h"

#include <QPointF>
#include <QRectF>

#include <functional>
#include <memory>
#include <vector>

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

class Math::GlyphNode : public Math::DisplayNode {
public:
    GlyphNode(quint32 glyph, qreal pixelSize) : DisplayNode(Kind::glyph), glyph(glyph), pixelSize(pixelSize) {}
    quint32 glyph;
    qreal pixelSize;
};

// A filled rectangle from the baseline origin: width wide, from -descent to ascent.
class Math::RuleNode : public Math::DisplayNode {
public:
    RuleNode() : DisplayNode(Kind::rule) {}
};

class Math::ListNode : public Math::DisplayNode {
public:
    ListNode() : DisplayNode(Kind::list) {}

    // Places node with its baseline origin at (x, y) and grows this box to hold it.
    DisplayNode &add(std::unique_ptr<DisplayNode> node, qreal x, qreal y);
    const std::vector<std::unique_ptr<DisplayNode>> &children() const { return m_children; }
    // Removes and returns a child; the list's box keeps its size.
    std::unique_ptr<DisplayNode> takeChild(std::size_t index);

    // Visits every glyph and rule with its origin in this list's coordinates (y up); hidden
    // (phantom) lists are skipped.
    void forEachLeaf(const std::function<void(const DisplayNode &, QPointF origin)> &visit, QPointF origin = {}) const;
    // Every node with this role, with its origin in this list's coordinates.
    std::vector<std::pair<const DisplayNode *, QPointF>> find(Role role) const;

    // A phantom keeps its room but draws nothing.
    bool hidden = false;

private:
    std::vector<std::unique_ptr<DisplayNode>> m_children;
};
