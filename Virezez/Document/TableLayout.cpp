#include "TableLayout.h"

#include "DocumentLayout.h"

#include <QFontMetricsF>
#include <QTextLine>
#include <algorithm>

namespace {

using Kind = BlockTree::Kind;
using Alignment = AttributedString::Alignment;

qreal lineUp(QTextLayout &layout, qreal width)
{
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max<qreal>(1, width));
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return y;
}

Qt::Alignment toQt(Alignment a)
{
    switch (a) {
    case Alignment::Center:
        return Qt::AlignHCenter;
    case Alignment::Right:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

struct Cell {
    int block = -1;
    int textStart = 0;
    std::shared_ptr<QTextLayout> layout;
};

} // namespace

TableLayout::TableLayout(DocumentLayout &layout, int table, qreal x, qreal width, const QColor &color)
    : m_layout(layout)
    , m_table(table)
    , m_x(x)
    , m_width(width)
    , m_color(color)
{
}

void TableLayout::run()
{
    const BlockTree &tree = m_layout.m_tree;
    const AttributedString &doc = m_layout.m_doc;
    const DefaultStyle::Table &style = m_layout.m_style.table();
    const std::vector<Alignment> &alignments = doc.intent(m_table).columns;
    const std::vector<int> &rows = tree.block(m_table).children;

    size_t columns = std::max<size_t>(1, alignments.size());
    for (int row : rows)
        columns = std::max(columns, tree.block(row).children.size());

    // Cells by row and column; a missing cell stays empty but keeps its frame.
    std::vector<std::vector<Cell>> grid(rows.size(), std::vector<Cell>(columns));
    std::vector<qreal> natural(columns, 0);
    std::vector<qreal> longestWord(columns, 0);
    for (size_t r = 0; r < rows.size(); ++r) {
        const bool header = tree.block(rows[r]).kind == Kind::TableHeaderRow;
        QFont font = m_layout.m_style.paragraph().font;
        if (header)
            font.setWeight(QFont::DemiBold);
        for (int cellBlock : tree.block(rows[r]).children) {
            const size_t c = size_t(std::clamp(doc.intent(cellBlock).level, 0, int(columns) - 1));
            Cell &cell = grid[r][c];
            cell.block = cellBlock;
            const auto [from, to] = m_layout.m_inline.range(cellBlock);
            cell.layout = m_layout.m_inline.layout(cellBlock, font, from, to);
            cell.textStart = from;
            QTextOption option;
            option.setAlignment(toQt(c < alignments.size() ? alignments[c] : Alignment::None));
            option.setWrapMode(QTextOption::NoWrap);
            cell.layout->setTextOption(option);
            lineUp(*cell.layout, 1e7);
            for (int i = 0; i < cell.layout->lineCount(); ++i)
                natural[c] = std::max(natural[c], cell.layout->lineAt(i).naturalTextWidth());
            // Words are not broken while the table can fit by wrapping between them; the plain
            // font measure is close enough for inline styles, with a little slack.
            const QFontMetricsF fm(font);
            for (const QString &word : cell.layout->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
                longestWord[c] = std::max(longestWord[c], std::ceil(fm.horizontalAdvance(word) * 1.05));
        }
    }

    // Each column gets at least its longest word and at most its natural width; the room
    // between is shared in proportion to what each column still wants. When even the
    // longest words do not fit, the table keeps them and scrolls sideways.
    const qreal pad = style.cellPadding;
    std::vector<qreal> widths(columns);
    std::vector<qreal> least(columns);
    qreal sumMost = 0, sumLeast = 0;
    for (size_t c = 0; c < columns; ++c) {
        widths[c] = std::ceil(natural[c]) + 2 * pad;
        least[c] = std::min(widths[c], std::max(longestWord[c] + 2 * pad, std::min(style.minColumnWidth, widths[c])));
        sumMost += widths[c];
        sumLeast += least[c];
    }
    if (sumMost > m_width) {
        const qreal share = sumMost > sumLeast ? std::max<qreal>(0, m_width - sumLeast) / (sumMost - sumLeast) : 0;
        for (size_t c = 0; c < columns; ++c)
            widths[c] = std::floor(least[c] + (widths[c] - least[c]) * std::min<qreal>(1, share));
    }
    qreal tableWidth = 0;
    for (qreal w : widths)
        tableWidth += w;

    const qreal top = m_layout.m_y;
    int region = -1;
    if (tableWidth > m_width + 0.5) {
        region = int(m_layout.m_regions.size());
        m_layout.m_regions.push_back({QRectF(m_x, top, m_width, 0), tableWidth, 0});
    }

    qreal y = top;
    for (size_t r = 0; r < rows.size(); ++r) {
        const bool header = tree.block(rows[r]).kind == Kind::TableHeaderRow;
        qreal rowHeight = 0;
        for (size_t c = 0; c < columns; ++c) {
            Cell &cell = grid[r][c];
            if (!cell.layout)
                continue;
            QTextOption option = cell.layout->textOption();
            option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            cell.layout->setTextOption(option);
            rowHeight = std::max(rowHeight, lineUp(*cell.layout, widths[c] - 2 * pad));
        }
        if (rowHeight == 0)
            rowHeight = QFontMetricsF(m_layout.m_style.paragraph().font).height();
        rowHeight += 2 * pad;
        const QRectF rowRect(m_x, y, tableWidth, rowHeight);
        if (header || r % 2 == 0) {
            ShapeItem fill = ShapeItem::make(ShapeItem::Kind::Fill, rowRect, header ? style.headerBackground : style.stripe);
            fill.region = region;
            m_layout.m_shapes.push_back(fill);
        }
        qreal x = m_x;
        for (size_t c = 0; c < columns; ++c) {
            ShapeItem frame = ShapeItem::make(ShapeItem::Kind::Frame, QRectF(x, y, widths[c], rowHeight), style.border);
            frame.region = region;
            m_layout.m_shapes.push_back(frame);
            Cell &cell = grid[r][c];
            if (cell.layout) {
                TextItem item;
                item.layout = cell.layout;
                item.textStart = cell.textStart;
                item.origin = QPointF(x + pad, y + pad);
                item.rect = QRectF(item.origin, QSizeF(widths[c] - 2 * pad, rowHeight - 2 * pad));
                item.color = m_color;
                item.block = cell.block;
                item.firstRun = tree.block(cell.block).firstRun;
                item.runEnd = tree.block(cell.block).runEnd;
                item.region = region;
                m_layout.addText(std::move(item));
            }
            x += widths[c];
        }
        y += rowHeight;
    }
    if (region >= 0)
        m_layout.m_regions[size_t(region)].viewport.setHeight(y - top + 6);
    m_layout.m_y = y + (region >= 0 ? 6 : 0);
}
