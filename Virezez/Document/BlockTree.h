#pragma once
// The blocks of a parsed document: one block per block intent, with its children and the runs
// of its own text. Because intents come in document order with parents first, every subtree
// is a contiguous range of blocks and of runs, which keeps all walks over it flat.
#include "AttributedString.h"

#include <vector>

class BlockTree {
public:
    using Kind = AttributedString::IntentKind;

    struct Block {
        Kind kind = Kind::paragraph;
        int parent = -1;
        std::vector<int> children;
        int firstRun = 0; // runs of the block's own text: [firstRun, runEnd)
        int runEnd = 0;
        int subtreeEnd = 0; // last block of the subtree, inclusive
    };

    BlockTree() = default;
    explicit BlockTree(const AttributedString &document);

    const std::vector<Block> &blocks() const { return m_blocks; }
    const Block &block(int index) const { return m_blocks[size_t(index)]; }
    const std::vector<int> &roots() const { return m_roots; }
    bool isEmpty() const { return m_blocks.empty(); }

    static bool isLeaf(Kind kind);
    // The block's own text for a leaf; for a container the texts of its leaves, one per line.
    QString text(const AttributedString &document, int index) const;

private:
    std::vector<Block> m_blocks;
    std::vector<int> m_roots;
};
