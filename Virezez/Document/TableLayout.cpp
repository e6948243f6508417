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
    case Alignment::center:
        return Qt::AlignHCenter;
    case Alignment::right:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

constexpr size_t kRowsPerStep = 16;

} // namespace

TableLayout::TableLayout(DocumentLayout &layout, int table, qreal x, qreal width, const QColor &color)
    : m_layout(layout)
    , m_table(table)
    , m_x(x)
    , m_width(width)
    , m_color(color)
    , m_rows(layout.m_tree.block(table).children)
{
    const BlockTree &tree = m_layout.m_tree;
    m_columns = std::max<size_t>(1, m_layout.m_doc.intent(m_table).columns.size());
    for (int row : m_rows)
        m_columns = std::max(m_columns, tree.block(row).children.size());
    m_grid.assign(m_rows.size(), std::vector<Cell>(m_columns));
    m_natural.assign(m_columns, 0);
    m_longestWord.assign(m_columns, 0);
}

void TableLayout::run()
{
    while (!step()) {
    }
}

bool TableLayout::step()
{
    const size_t stop = std::min(m_rows.size(), m_next + kRowsPerStep);
    if (!m_measured) {
        for (; m_next < stop; ++m_next)
            measureRow(m_next);
        if (m_next < m_rows.size())
            return false;
        shareWidths();
        m_measured = true;
        m_next = 0;
        return false;
    }
    for (; m_next < stop; ++m_next)
        placeRow(m_next);
    if (m_next < m_rows.size())
        return false;
    finish();
    return true;
}

void TableLayout::measureRow(size_t r)
{
    const BlockTree &tree = m_layout.m_tree;
    const AttributedString &doc = m_layout.m_doc;
    const std::vector<Alignment> &alignments = doc.intent(m_table).columns;
    const bool header = tree.block(m_rows[r]).kind == Kind::tableHeaderRow;
    QFont font = m_layout.m_style.paragraph().font;
    if (header)
        font.setWeight(QFont::DemiBold);
    for (int cellBlock : tree.block(m_rows[r]).children) {
        const size_t c = size_t(std::clamp(doc.intent(cellBlock).level, 0, int(m_columns) - 1));
        Cell &cell = m_grid[r][c];
        cell.block = cellBlock;
        const auto [from, to] = m_layout.m_inline.range(cellBlock);
        cell.layout = m_layout.m_inline.layout(cellBlock, font, from, to);
        cell.textStart = from;
        QTextOption option;
        option.setAlignment(toQt(c < alignments.size() ? alignments[c] : Alignment::none));
        option.setWrapMode(QTextOption::NoWrap);
        cell.layout->setTextOption(option);
        lineUp(*cell.layout, 1e7);
        for (int i = 0; i < cell.layout->lineCount(); ++i)
            m_natural[c] = std::max(m_natural[c], cell.layout->lineAt(i).naturalTextWidth());
        // Words are not broken while the table can fit by wrapping between them; the plain
        // font measure is close enough for inline styles, with a little slack.
        const QFontMetricsF fm(font);
        for (const QString &word : cell.layout->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
            m_longestWord[c] = std::max(m_longestWord[c], std::ceil(fm.horizontalAdvance(word) * 1.05));
    }
}

void TableLayout::shareWidths()
{
    // Each column gets at least its longest word and at most its natural width; the room
    // between is shared in proportion to what each column still wants. When even the
    // longest words do not fit, the table keeps them and scrolls sideways.
    const DefaultStyle::Table &style = m_layout.m_style.table();
    const qreal pad = style.cellPadding;
    m_widths.assign(m_columns, 0);
    std::vector<qreal> least(m_columns);
    qreal sumMost = 0, sumLeast = 0;
    for (size_t c = 0; c < m_columns; ++c) {
        m_widths[c] = std::ceil(m_natural[c]) + 2 * pad;
        least[c] = std::min(m_widths[c], std::max(m_longestWord[c] + 2 * pad, std::min(style.minColumnWidth, m_widths[c])));
        sumMost += m_widths[c];
        sumLeast += least[c];
    }
    if (sumMost > m_width) {
        const qreal share = sumMost > sumLeast ? std::max<qreal>(0, m_width - sumLeast) / (sumMost - sumLeast) : 0;
        for (size_t c = 0; c < m_columns; ++c)
            m_widths[c] = std::floor(least[c] + (m_widths[c] - least[c]) * std::min<qreal>(1, share));
    }
    m_tableWidth = 0;
    for (qreal w : m_widths)
        m_tableWidth += w;

    m_top = m_y = m_layout.m_y;
    if (m_tableWidth > m_width + 0.5) {
        m_region = int(m_layout.m_regions.size());
        m_layout.m_regions.push_back({QRectF(m_x, m_top, m_width, 0), m_tableWidth, 0});
    }
}

void TableLayout::placeRow(size_t r)
{
    const BlockTree &tree = m_layout.m_tree;
    const DefaultStyle::Table &style = m_layout.m_style.table();
    const qreal pad = style.cellPadding;
    const bool header = tree.block(m_rows[r]).kind == Kind::tableHeaderRow;
    qreal rowHeight = 0;
    for (size_t c = 0; c < m_columns; ++c) {
        Cell &cell = m_grid[r][c];
        if (!cell.layout)
            continue;
        QTextOption option = cell.layout->textOption();
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        cell.layout->setTextOption(option);
        rowHeight = std::max(rowHeight, lineUp(*cell.layout, m_widths[c] - 2 * pad));
    }
    if (rowHeight == 0)
        rowHeight = QFontMetricsF(m_layout.m_style.paragraph().font).height();
    rowHeight += 2 * pad;
    const QRectF rowRect(m_x, m_y, m_tableWidth, rowHeight);
    if (header || r % 2 == 0) {
        ShapeItem fill = ShapeItem::make(ShapeItem::Kind::fill, rowRect, header ? style.headerBackground : style.stripe);
        fill.region = m_region;
        m_layout.m_shapes.push_back(fill);
    }
    qreal x = m_x;
    for (size_t c = 0; c < m_columns; ++c) {
        ShapeItem frame = ShapeItem::make(ShapeItem::Kind::frame, QRectF(x, m_y, m_widths[c], rowHeight), style.border);
        frame.region = m_region;
        m_layout.m_shapes.push_back(frame);
        Cell &cell = m_grid[r][c];
        if (cell.layout) {
            TextItem item;
            item.layout = std::move(cell.layout);
            item.textStart = cell.textStart;
            item.origin = QPointF(x + pad, m_y + pad);
            item.rect = QRectF(item.origin, QSizeF(m_widths[c] - 2 * pad, rowHeight - 2 * pad));
            item.color = m_color;
            item.block = cell.block;
            item.firstRun = tree.block(cell.block).firstRun;
            item.runEnd = tree.block(cell.block).runEnd;
            item.region = m_region;
            m_layout.addText(std::move(item));
        }
        x += m_widths[c];
    }
    m_y += rowHeight;
}

void TableLayout::finish()
{
    if (m_region >= 0)
        m_layout.m_regions[size_t(m_region)].viewport.setHeight(m_y - m_top + 6);
    m_layout.m_y = m_y + (m_region >= 0 ? 6 : 0);
}
