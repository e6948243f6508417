#include "Math.h"

#include "MathDisplayTree.h"
#include "MathDisplayProvider.h"
#include "MathFontRegistry.h"
#include "MathFontTable.h"

#include <QEvent>
#include <QFontInfo>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>

#include <cmath>

Math::Math(const QString &latex, QWidget *parent) : QWidget(parent), m_latex(latex)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

Math::~Math() = default;

void Math::setLatex(const QString &latex)
{
    if (latex == m_latex)
        return;
    m_latex = latex;
    invalidate();
}

void Math::setFontSize(qreal pixelSize)
{
    // Sizes beyond a poster's are clamped; they would only exhaust memory when drawn.
    const qreal size = std::isfinite(pixelSize) && pixelSize > 0 ? std::min<qreal>(pixelSize, maxFontSize) : 0;
    if (size == m_fontSize)
        return;
    m_fontSize = size;
    invalidate();
}

qreal Math::fontSize() const
{
    return m_fontSize > 0 ? m_fontSize : std::min<qreal>(QFontInfo(font()).pixelSize(), maxFontSize);
}

void Math::setTypesettingStyle(Style style)
{
    if (style == m_style)
        return;
    m_style = style;
    invalidate();
}

void Math::invalidate()
{
    m_laidOut = false;
    m_tree.reset();
    m_error.clear();
    updateGeometry();
    update();
}

void Math::ensureLayout() const
{
    if (m_laidOut)
        return;
    m_laidOut = true;
    m_tree.reset();
    m_error.clear();
    DisplayProvider::Display display = DisplayProvider::shared().display(m_latex, fontSize(), m_style);
    m_tree = std::move(display.tree);
    m_error = display.error;
}

bool Math::isValid() const
{
    ensureLayout();
    return m_tree != nullptr;
}

QString Math::errorMessage() const
{
    ensureLayout();
    return m_error;
}

std::shared_ptr<const Math::ListNode> Math::displayTree() const
{
    ensureLayout();
    return m_tree;
}

Math::TypographicBounds Math::typographicBounds() const
{
    ensureLayout();
    TypographicBounds bounds;
    if (!m_tree)
        return bounds;
    const QMargins margins = contentsMargins();
    bounds.origin = QPointF(margins.left(), margins.top() + m_tree->ascent);
    bounds.width = m_tree->width;
    bounds.ascent = m_tree->ascent;
    bounds.descent = m_tree->descent;
    return bounds;
}

QSize Math::sizeHint() const
{
    ensureLayout();
    if (!m_tree)
        return QSize(0, 0);
    const QMargins margins = contentsMargins();
    // Long formulas of many wide spaces can exceed what a widget can be; clamp before rounding.
    const auto pixels = [](qreal v) { return int(std::ceil(std::clamp<qreal>(v, 0, QWIDGETSIZE_MAX / 2))); };
    return QSize(pixels(m_tree->width) + margins.left() + margins.right(),
                 pixels(m_tree->ascent + m_tree->descent) + margins.top() + margins.bottom());
}

void Math::paint(QPainter *p, QPointF baselineOrigin) const
{
    ensureLayout();
    const auto font = FontRegistry::shared();
    if (!p || !m_tree || !font)
        return;
    const QColor colour = palette().color(QPalette::Text);
    struct Run {
        QList<quint32> glyphs;
        QList<QPointF> positions;
        qreal pixelSize = 0;
    };
    QHash<qint64, Run> runs;
    p->save();
    p->setPen(colour);
    m_tree->forEachLeaf([&](const DisplayNode &node, QPointF origin) {
        const QPointF at(baselineOrigin.x() + origin.x(), baselineOrigin.y() - origin.y());
        if (node.kind() == DisplayNode::Kind::rule) {
            p->fillRect(QRectF(at.x(), at.y() - node.ascent, node.width, node.ascent + node.descent), colour);
            return;
        }
        const auto &glyph = static_cast<const GlyphNode &>(node);
        Run &run = runs[qRound64(glyph.pixelSize * 64)];
        run.pixelSize = glyph.pixelSize;
        run.glyphs.append(glyph.glyph);
        run.positions.append(at);
    });
    for (const Run &run : std::as_const(runs)) {
        QGlyphRun glyphRun;
        glyphRun.setRawFont(font->rawFont(run.pixelSize));
        glyphRun.setGlyphIndexes(run.glyphs);
        glyphRun.setPositions(run.positions);
        p->drawGlyphRun(QPointF(0, 0), glyphRun);
    }
    p->restore();
}

void Math::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(&painter, typographicBounds().origin);
}

void Math::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange && m_fontSize <= 0)
        invalidate();
    else if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}
