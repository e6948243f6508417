#include "MathDrawing.h"

#include "MathDisplayTree.h"
#include "MathFontTable.h"

#include <QGlyphRun>
#include <QPainter>

#include <algorithm>

Math::Drawing::Drawing(std::shared_ptr<const FontTable> font, const ListNode &tree) : m_font(std::move(font))
{
    tree.forEachLeaf([this](const DisplayNode &node, QPointF origin) {
        // The tree's y points up; the painter's points down.
        const QPointF at(origin.x(), -origin.y());
        if (node.kind() == DisplayNode::Kind::rule) {
            m_rules.emplace_back(at.x(), at.y() - node.ascent, node.width, node.ascent + node.descent);
            return;
        }
        const auto &glyph = static_cast<const GlyphNode &>(node);
        // A formula has two or three sizes (text, script, script-script): a linear search is enough.
        auto run = std::find_if(m_runs.begin(), m_runs.end(), [&](const Run &r) { return r.pixelSize == glyph.pixelSize; });
        if (run == m_runs.end())
            run = m_runs.insert(m_runs.end(), Run{glyph.pixelSize, {}, {}});
        run->glyphs.append(glyph.glyph);
        run->positions.append(at);
    });
}

void Math::Drawing::draw(QPainter *painter, QPointF baselineOrigin) const
{
    if (!painter || !m_font)
        return;
    const QBrush ink = painter->pen().brush();
    for (const QRectF &rule : m_rules)
        painter->fillRect(rule.translated(baselineOrigin), ink);
    for (const Run &run : m_runs) {
        QGlyphRun glyphs;
        glyphs.setRawFont(m_font->rawFont(run.pixelSize));
        glyphs.setGlyphIndexes(run.glyphs);
        glyphs.setPositions(run.positions);
        painter->drawGlyphRun(baselineOrigin, glyphs);
    }
}
