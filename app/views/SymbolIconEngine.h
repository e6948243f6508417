#pragma once

#include <QIcon>
#include <QIconEngine>

// Draws a theme's symbolic icon in the application palette's text colour (the
// disabled one for a disabled icon), read at draw time, so icons follow a change
// between light and dark palettes. Symbolic icons ship in one fixed grey that
// would vanish on a dark background.
class SymbolIconEngine final : public QIconEngine {
public:
    explicit SymbolIconEngine(QIcon themeIcon);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;
    bool isNull() override;

    // The icon's shape at a size, filled with one colour.
    static QPixmap tinted(const QIcon &icon, const QSize &size, qreal scale, const QColor &color);

private:
    QIcon m_themeIcon;
};
