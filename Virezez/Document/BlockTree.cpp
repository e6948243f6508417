#include "BlockTree.h"

#include <algorithm>

BlockTree::BlockTree(const AttributedString &document)
{
    const auto &intents = document.intents();
    m_blocks.resize(intents.size());
    for (size_t i = 0; i < intents.size(); ++i) {
        Block &b = m_blocks[i];
        b.kind = intents[i].kind;
        b.parent = intents[i].parent;
        b.subtreeEnd = int(i);
        b.firstRun = b.runEnd = -1;
        if (b.parent >= 0 && size_t(b.parent) < i)
            m_blocks[size_t(b.parent)].children.push_back(int(i));
        else
            m_roots.push_back(int(i));
    }
    for (size_t i = intents.size(); i-- > 0;) {
        const int p = m_blocks[i].parent;
        if (p >= 0 && size_t(p) < i)
            m_blocks[size_t(p)].subtreeEnd = std::max(m_blocks[size_t(p)].subtreeEnd, m_blocks[i].subtreeEnd);
    }
    const auto &runs = document.runs();
    for (size_t r = 0; r < runs.size(); ++r) {
        const int owner = runs[r].intent;
        if (owner < 0 || size_t(owner) >= m_blocks.size())
            continue;
        Block &b = m_blocks[size_t(owner)];
        if (b.firstRun < 0)
            b.firstRun = int(r);
        b.runEnd = int(r) + 1;
    }
    for (Block &b : m_blocks) {
        if (b.firstRun < 0)
            b.firstRun = b.runEnd = 0;
    }
}

bool BlockTree::isLeaf(Kind kind)
{
    return kind == Kind::paragraph || kind == Kind::heading || kind == Kind::codeBlock
        || kind == Kind::thematicBreak || kind == Kind::tableCell;
}

QString BlockTree::text(const AttributedString &document, int index) const
{
    QString out;
    const int end = m_blocks[size_t(index)].subtreeEnd;
    for (int i = index; i <= end; ++i) {
        const Block &b = m_blocks[size_t(i)];
        if (!isLeaf(b.kind))
            continue;
        if (i != index && !out.isEmpty())
            out += QLatin1Char('\n');
        for (int r = b.firstRun; r < b.runEnd; ++r)
            out += document.runText(document.runs()[size_t(r)]);
    }
    return out;
}
