#include "RoundIconButton.h"

#include "Symbols.h"
#include "TextStyle.h"

#include <QPainter>
#include <QStyleOptionButton>

RoundIconButton::RoundIconButton(const QString &symbol, const QString &helpText, bool prominent, QWidget *parent)
    : QPushButton(parent), m_prominent(prominent)
{
    setIcon(symbolIcon(symbol));
    setFixedSize(kDiameter, kDiameter);
    // The symbol takes the size of the title-2 text style, as a symbol drawn in text would.
    const int symbolSize = std::min(kDiameter - 12, QFontMetrics(textStyleFont(TextStyle::title2)).ascent());
    setIconSize(QSize(symbolSize, symbolSize));
    setToolTip(helpText);
    setAccessibleName(helpText);
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_Hover);
}

bool RoundIconButton::hitButton(const QPoint &pos) const
{
    const QPointF centre = QRectF(rect()).center();
    const QPointF d = QPointF(pos) - centre;
    const qreal r = kDiameter / 2.0;
    return d.x() * d.x() + d.y() * d.y() <= r * r;
}

void RoundIconButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    const bool enabled = isEnabled();
    const bool hovered = underMouse() && enabled;
    const bool pressed = isDown();

    QColor fill = m_prominent ? pal.color(QPalette::Highlight) : pal.color(QPalette::Button);
    if (pressed)
        fill = fill.darker(125);
    else if (hovered)
        fill = m_prominent ? fill.lighter(112) : fill.darker(106);
    if (!enabled)
        fill.setAlphaF(0.5);
    QColor symbolColor = m_prominent ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::ButtonText);
    if (!enabled)
        symbolColor = pal.color(QPalette::Disabled, QPalette::ButtonText);

    const QRectF circle = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(m_prominent ? Qt::NoPen : QPen(pal.color(QPalette::Mid), 1));
    painter.setBrush(fill);
    painter.drawEllipse(circle);

    // Theme icons come in their own colours; as a symbol the shape is drawn in the text colour,
    // so it reads on the light and the dark palette alike.
    const qreal dpr = devicePixelRatioF();
    QPixmap symbol = icon().pixmap(iconSize(), dpr);
    if (!symbol.isNull()) {
        QPainter tint(&symbol);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(symbol.rect(), symbolColor);
        tint.end();
        const QSizeF size = QSizeF(symbol.size()) / symbol.devicePixelRatio();
        painter.drawPixmap(QPointF(circle.center().x() - size.width() / 2, circle.center().y() - size.height() / 2),
                           symbol);
    }

    if (hasFocus()) {
        QPen focus(pal.color(m_prominent ? QPalette::HighlightedText : QPalette::Highlight), 2);
        painter.setPen(focus);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(circle.adjusted(1.5, 1.5, -1.5, -1.5));
    }
}
