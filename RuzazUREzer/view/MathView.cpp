#include "MathView.h"

#include "MathDisplayTree.h"
#include "MathDrawing.h"

#include <QEvent>
#include <QFontInfo>
#include <QPainter>

#include <cmath>

Math::View::View(const QString &latex, QWidget *parent) : QWidget(parent), m_latex(latex)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

Math::View::~View() = default;

void Math::View::setLatex(const QString &latex)
{
    if (latex == m_latex)
        return;
    m_latex = latex;
    invalidate();
}

void Math::View::setFontSize(qreal pixelSize)
{
    const qreal size = std::isfinite(pixelSize) && pixelSize > 0 ? std::min<qreal>(pixelSize, maxFontSize) : 0;
    if (size == m_fontSize)
        return;
    m_fontSize = size;
    invalidate();
}

qreal Math::View::fontSize() const
{
    return m_fontSize > 0 ? m_fontSize : std::min<qreal>(QFontInfo(font()).pixelSize(), maxFontSize);
}

void Math::View::setTypesettingStyle(Style style)
{
    if (style == m_style)
        return;
    m_style = style;
    invalidate();
}

void Math::View::invalidate()
{
    m_laidOut = false;
    m_display = {};
    updateGeometry();
    update();
}

const Math::DisplayProvider::Display &Math::View::display() const
{
    if (!m_laidOut) {
        m_laidOut = true;
        m_display = DisplayProvider::shared().display(m_latex, fontSize(), m_style);
    }
    return m_display;
}

bool Math::View::isValid() const
{
    return display().tree != nullptr;
}

QString Math::View::errorMessage() const
{
    return display().error;
}

std::shared_ptr<const Math::ListNode> Math::View::displayTree() const
{
    return display().tree;
}

Math::View::TypographicBounds Math::View::typographicBounds() const
{
    TypographicBounds bounds;
    const auto &tree = display().tree;
    if (!tree)
        return bounds;
    const QMargins margins = contentsMargins();
    bounds.origin = QPointF(margins.left(), margins.top() + tree->ascent);
    bounds.width = tree->width;
    bounds.ascent = tree->ascent;
    bounds.descent = tree->descent;
    return bounds;
}

QSize Math::View::sizeHint() const
{
    const auto &tree = display().tree;
    if (!tree)
        return QSize(0, 0);
    const QMargins margins = contentsMargins();
    // Long formulas of many wide spaces can exceed what a widget can be; clamp before rounding.
    const auto pixels = [](qreal v) { return int(std::ceil(std::clamp<qreal>(v, 0, QWIDGETSIZE_MAX / 2))); };
    return QSize(pixels(tree->width) + margins.left() + margins.right(),
                 pixels(tree->ascent + tree->descent) + margins.top() + margins.bottom());
}

void Math::View::paint(QPainter *p, QPointF baselineOrigin) const
{
    const auto &drawing = display().drawing;
    if (!p || !drawing)
        return;
    p->save();
    p->setPen(palette().color(QPalette::Text));
    drawing->draw(p, baselineOrigin);
    p->restore();
}

void Math::View::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(&painter, typographicBounds().origin);
}

void Math::View::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange && m_fontSize <= 0)
        invalidate();
    else if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}
