#pragma once
// The inline text of leaf blocks, ready for Qt's text layout: the block's characters with its
// runs' attributes turned into formats by the style. Long texts are handed out in pieces.
#include "AttributedString.h"
#include "BlockTree.h"
#include "DefaultStyle.h"

#include <QTextLayout>
#include <memory>
#include <utility>

class InlineText {
public:
    // All three must outlive this object.
    InlineText(const AttributedString &document, const BlockTree &tree, const DefaultStyle &style)
        : m_doc(document), m_tree(tree), m_style(style)
    {
    }

    // The document text range [first, second) of a leaf block.
    std::pair<int, int> range(int block) const;
    // Text of [from, to) of a leaf block with the block's inline formats, not yet laid out.
    std::shared_ptr<QTextLayout> layout(int block, const QFont &font, int from, int to) const;
    // Where the next piece of a long text ends: texts are laid out in pieces of bounded size
    // because the cost of one layout grows faster than its length.
    int pieceEnd(int block, int from, int end, bool code) const;

private:
    const AttributedString &m_doc;
    const BlockTree &m_tree;
    const DefaultStyle &m_style;
};
