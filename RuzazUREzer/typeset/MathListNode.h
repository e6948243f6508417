#pragma once

#include "MathDisplayNode.h"

#include <functional>
#include <memory>
#include <vector>

// A horizontal or vertical arrangement of boxes: the nodes of every construction.
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
