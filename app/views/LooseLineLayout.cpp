#include "LooseLineLayout.h"

#include <QTextBlock>
#include <QTextLayout>
#include <cmath>

LooseLineLayout::LooseLineLayout(QTextDocument *document, qreal factor)
    : QPlainTextDocumentLayout(document), m_factor(std::max<qreal>(1, factor))
{
}

QRectF LooseLineLayout::blockBoundingRect(const QTextBlock &block) const
{
    QRectF rect = QPlainTextDocumentLayout::blockBoundingRect(block);
    QTextLayout *layout = block.isValid() ? block.layout() : nullptr;
    if (!layout || layout->lineCount() == 0 || !block.isVisible())
        return rect;
    QTextLine first = layout->lineAt(0);
    // Whole pixels, so that the lines of every block fall on the same grid.
    const qreal extra = std::round(first.height() * (m_factor - 1));
    if (extra <= 0)
        return rect;
    // The base layout puts the first line at the top of the block; ours starts half the extra
    // room lower. That tells a fresh layout from one spaced already.
    if (first.y() == 0) {
        qreal y = extra / 2;
        for (int i = 0; i < layout->lineCount(); ++i) {
            QTextLine line = layout->lineAt(i);
            line.setPosition(QPointF(line.x(), y));
            y += line.height() + extra;
        }
        rect = QPlainTextDocumentLayout::blockBoundingRect(block);
    }
    rect.setHeight(rect.height() + extra / 2);
    return rect;
}
