#pragma once
// The default look of a note: one style per block kind, derived from the widget's font and
// the system palette so light and dark appearances both follow the desktop.
#include "InlineAttributes.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <QTextCharFormat>

class DefaultStyle {
public:
    struct Heading {
        QFont font;
        qreal spacingBefore = 0;
        bool divider = false; // a rule under the first two levels sets them apart
    };
    struct Paragraph {
        QFont font;
        QColor color;
    };
    struct List {
        qreal markerGap = 0; // between the marker and the item's text
        qreal bulletWidth = 0;
        qreal tightSpacing = 0;
        QColor markerColor;
        QString bullet(int depth) const;
    };
    struct BlockQuote {
        qreal indent = 0;
        qreal barWidth = 0;
        QColor bar;
        QColor text;
    };
    struct CodeBlock {
        QFont font;
        QColor background;
        qreal padding = 0;
    };
    struct Table {
        QColor border;
        QColor headerBackground;
        QColor stripe;
        qreal cellPadding = 0;
        qreal minColumnWidth = 0;
    };
    struct ThematicBreak {
        QColor color;
        qreal thickness = 0;
    };
    struct Inline {
        QColor link;
        QColor codeBackground;
        QColor placeholder; // the alt text shown in place of an image
        QFont codeFont;
    };

    DefaultStyle() : DefaultStyle(QFont(), QPalette()) {}
    DefaultStyle(const QFont &base, const QPalette &palette);

    const Heading &heading(int level) const;
    const Paragraph &paragraph() const { return m_paragraph; }
    const List &list() const { return m_list; }
    const BlockQuote &blockQuote() const { return m_quote; }
    const CodeBlock &codeBlock() const { return m_code; }
    const Table &table() const { return m_table; }
    const ThematicBreak &thematicBreak() const { return m_break; }
    const Inline &inlineStyle() const { return m_inline; }

    qreal blockSpacing() const { return m_blockSpacing; }
    // Nesting deeper than this shares the innermost indentation, so a pathologically deep
    // note cannot squeeze its text to nothing.
    int maxVisualDepth() const { return 12; }
    QTextCharFormat format(const InlineAttributes &attributes, const QFont &blockFont) const;

private:
    Heading m_headings[6];
    Paragraph m_paragraph;
    List m_list;
    BlockQuote m_quote;
    CodeBlock m_code;
    Table m_table;
    ThematicBreak m_break;
    Inline m_inline;
    qreal m_blockSpacing = 0;
};
