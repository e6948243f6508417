#pragma once

#include <QPlainTextDocumentLayout>

// The plain-text editor's layout with loose line spacing: every line gets the same extra
// room, half above and half below, so wrapped lines and separate paragraphs are spaced alike.
//
// The plain-text layout is the one that keeps typing cheap in a long note (it lays out only
// the blocks it is asked about, and a keystroke relays one block), but it spaces lines by the
// font alone. This layout lets it lay a block out as usual and then moves the block's lines
// apart the first time the block is asked for its rectangle after a relayout, which every
// path of the editor (painting, the cursor, hit testing, scrolling) does before it uses them.
class LooseLineLayout : public QPlainTextDocumentLayout {
    Q_OBJECT
public:
    // factor: the line height as a multiple of the font's own; 1 leaves the spacing alone.
    LooseLineLayout(QTextDocument *document, qreal factor);

    qreal factor() const { return m_factor; }

    QRectF blockBoundingRect(const QTextBlock &block) const override;

private:
    qreal m_factor;
};
