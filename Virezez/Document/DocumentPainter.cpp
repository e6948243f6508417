#include "DocumentPainter.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QRectF shifted(const QRectF &rect, int region, const std::vector<ScrollRegion> &regions)
{
    return region < 0 ? rect : rect.translated(-regions[size_t(region)].offset, 0);
}

void clipTo(QPainter *p, int region, const std::vector<ScrollRegion> &regions)
{
    if (region >= 0)
        p->setClipRect(regions[size_t(region)].viewport);
    else
        p->setClipping(false);
}

} // namespace

void DocumentPainter::paint(QPainter *p, const QRectF &exposed) const
{
    p->save();
    p->setRenderHint(QPainter::Antialiasing, true);
    for (const ShapeItem &s : m_layout.shapes()) {
        const QRectF r = shifted(s.rect, s.region, m_layout.regions());
        if (!r.adjusted(-2, -2, 2, 2).intersects(exposed))
            continue;
        clipTo(p, s.region, m_layout.regions());
        switch (s.kind) {
        case ShapeItem::Kind::fill:
            p->fillRect(r, s.color);
            break;
        case ShapeItem::Kind::roundedFill: {
            QPainterPath path;
            path.addRoundedRect(r, 6, 6);
            p->fillPath(path, s.color);
            break;
        }
        case ShapeItem::Kind::frame:
            p->setPen(QPen(s.color, 1));
            p->setBrush(Qt::NoBrush);
            p->drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
            break;
        case ShapeItem::Kind::marker: {
            p->setPen(s.color);
            p->setFont(s.font);
            const qreal w = QFontMetricsF(s.font).horizontalAdvance(s.text);
            const qreal x = s.rightAligned ? r.right() - w : r.left() + (r.width() - w) / 2;
            p->drawText(QPointF(x, s.baseline), s.text);
            break;
        }
        case ShapeItem::Kind::checkBox: {
            p->setPen(QPen(s.color, 1.2));
            p->setBrush(Qt::NoBrush);
            p->drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
            if (s.checked) {
                QPainterPath tick;
                tick.moveTo(r.left() + r.width() * 0.22, r.top() + r.height() * 0.52);
                tick.lineTo(r.left() + r.width() * 0.42, r.top() + r.height() * 0.72);
                tick.lineTo(r.left() + r.width() * 0.78, r.top() + r.height() * 0.28);
                p->setPen(QPen(s.color, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p->drawPath(tick);
            }
            break;
        }
        }
    }
    for (const TextItem &t : m_layout.textItems()) {
        const QRectF r = shifted(t.rect, t.region, m_layout.regions());
        if (!r.intersects(exposed))
            continue;
        clipTo(p, t.region, m_layout.regions());
        p->setPen(t.color);
        t.layout->draw(p, shifted(QRectF(t.origin, QSizeF()), t.region, m_layout.regions()).topLeft());
    }
    for (const MathItem &m : m_layout.formulas()) {
        const QRectF r = shifted(m.rect, m.region, m_layout.regions());
        if (!r.intersects(exposed))
            continue;
        clipTo(p, m.region, m_layout.regions());
        p->setPen(m.color);
        m.formula->paint(p, shifted(QRectF(m.baseline, QSizeF()), m.region, m_layout.regions()).topLeft());
    }
    // Sideways-scrolling regions show where they are with a thin bar along their bottom edge.
    p->setClipping(false);
    for (const ScrollRegion &region : m_layout.regions()) {
        if (!region.viewport.intersects(exposed) || region.maxOffset() <= 0)
            continue;
        const QRectF v = region.viewport;
        const qreal length = std::max<qreal>(24, v.width() * v.width() / region.contentWidth);
        const qreal x = v.left() + (v.width() - length) * (region.offset / region.maxOffset());
        QColor c = m_text;
        c.setAlphaF(0.35f);
        p->setPen(Qt::NoPen);
        p->setBrush(c);
        p->drawRoundedRect(QRectF(x + 2, v.bottom() - 5, length - 4, 3), 1.5, 1.5);
    }
    p->restore();
}

