#pragma once
// Lays a parsed note out as a vertical stack of blocks at a given width, and paints it.
// The walk over the block tree keeps its own stack instead of recursing, so any nesting depth
// is safe, and it can stop after a time budget and resume later: a very large note shows its
// first screen at once and finishes laying out in later turns of the event loop.
#include "AttributedString.h"
#include "BlockTree.h"
#include "DefaultStyle.h"
#include "InlineText.h"
#include "LayoutItems.h"
#include "TableLayout.h"

#include <vector>

class QPainter;

class DocumentLayout {
public:
    // The document, tree and style must outlive the layout.
    DocumentLayout(const AttributedString &document, const BlockTree &tree, const DefaultStyle &style, qreal width);

    // Lays out blocks for about `milliseconds`; returns true once the whole note is laid out.
    bool layoutFor(int milliseconds);
    void layoutAll();
    bool isComplete() const { return m_frames.empty(); }

    qreal width() const { return m_width; }
    // Exact once complete; before that, extrapolated from the share of text laid out so far.
    qreal height() const;

    void paint(QPainter *painter, const QRectF &exposed) const;
    // The link under a point, when it is one that may be opened; empty otherwise.
    QString linkAt(QPointF point) const;
    // The link under a point, when it is one that may not be opened; empty otherwise.
    QString refusedLinkAt(QPointF point) const;
    int regionAt(QPointF point) const;
    // Returns whether the region actually moved.
    bool scrollRegion(int region, qreal dx);

    const std::vector<TextItem> &textItems() const { return m_texts; }
    const std::vector<ShapeItem> &shapes() const { return m_shapes; }
    const std::vector<MathItem> &formulas() const { return m_formulas; }
    const std::vector<ScrollRegion> &regions() const { return m_regions; }

private:
    // The attributes of the text under a point; none between and beside lines.
    const InlineAttributes *attributesAt(QPointF point) const;
    struct Frame {
        int block = -1; // -1: the document itself
        size_t next = 0;
        qreal x = 0;
        qreal width = 0;
        int depth = 0;     // indenting ancestors, for the depth cap
        int listDepth = 0; // enclosing lists, for the bullet shape
        qreal top = 0;
        bool decorated = false;
        qreal markerWidth = 0; // lists: width of the marker column
        int marker = -1;       // list items: shape index of the marker
        QColor color;
    };

    void step();
    void enterBlock(int block, const Frame &parent);
    void leaveFrame(const Frame &frame);
    qreal spacingBefore(const Frame &parent, int child) const;
    void layoutText(int block, const Frame &parent);
    void continueText();
    void continueCode();
    void continueTable();
    void layoutCode(int block, const Frame &parent);
    bool layoutMath(int block, const Frame &parent);
    void layoutTable(int block, const Frame &parent);
    void openList(int block, const Frame &parent);
    // A child frame indented by `indent` within its parent, unless the nesting cap or
    // the remaining width forbid it.
    Frame indentedFrame(int block, const Frame &parent, qreal indent, QColor color) const;
    void openItem(int block, const Frame &parent);
    void addText(TextItem item);
    void resolveMarkers(qreal baseline);
    void noteProgress(int block);

    friend class TableLayout;

    const AttributedString &m_doc;
    const BlockTree &m_tree;
    const DefaultStyle &m_style;
    InlineText m_inline;
    qreal m_width;
    qreal m_y = 0;
    int m_textDone = 0;
    std::vector<Frame> m_frames;
    // Paragraphs and code blocks are laid out one piece per step, so one huge block cannot hold
    // a slice up: the block under way, where its next piece starts, the frame it is laid out
    // in, and for code the height and width so far and its first piece.
    int m_textBlock = -1;
    int m_textFrom = 0;
    Frame m_textParent;
    qreal m_codeHeight = 0;
    qreal m_codeContent = 0;
    size_t m_codeFirstItem = 0;
    // A table under way, laid out a few rows per step.
    std::unique_ptr<TableLayout> m_tableLayout;
    int m_tableBlock = -1;
    std::vector<int> m_pendingMarkers;
    std::vector<TextItem> m_texts;
    std::vector<ShapeItem> m_shapes;
    std::vector<MathItem> m_formulas;
    std::vector<ScrollRegion> m_regions;
};
