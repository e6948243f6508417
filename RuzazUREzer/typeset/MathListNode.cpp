#include "MathListNode.h"

#include <algorithm>

Math::DisplayNode &Math::ListNode::add(std::unique_ptr<DisplayNode> node, qreal x, qreal y)
{
    node->position = QPointF(x, y);
    width = std::max(width, x + node->width);
    ascent = std::max(ascent, y + node->ascent);
    descent = std::max(descent, node->descent - y);
    m_children.push_back(std::move(node));
    return *m_children.back();
}

void Math::ListNode::forEachLeaf(const std::function<void(const DisplayNode &, QPointF)> &visit, QPointF origin) const
{
    if (hidden)
        return;
    for (const auto &child : m_children) {
        const QPointF at = origin + child->position;
        if (child->kind() == Kind::list)
            static_cast<const ListNode &>(*child).forEachLeaf(visit, at);
        else
            visit(*child, at);
    }
}

std::vector<std::pair<const Math::DisplayNode *, QPointF>> Math::ListNode::find(Role wanted) const
{
    std::vector<std::pair<const DisplayNode *, QPointF>> found;
    std::function<void(const ListNode &, QPointF)> walk = [&](const ListNode &list, QPointF origin) {
        for (const auto &child : list.children()) {
            const QPointF at = origin + child->position;
            if (child->role == wanted)
                found.emplace_back(child.get(), at);
            if (child->kind() == Kind::list)
                walk(static_cast<const ListNode &>(*child), at);
        }
    };
    walk(*this, {});
    return found;
}

std::unique_ptr<Math::DisplayNode> Math::ListNode::takeChild(std::size_t index)
{
    auto node = std::move(m_children.at(index));
    m_children.erase(m_children.begin() + std::ptrdiff_t(index));
    return node;
}
