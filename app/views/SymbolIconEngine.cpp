#include "SymbolIconEngine.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmapCache>

#include <cstdlib>

namespace {

QColor colorFor(QIcon::Mode mode)
{
    const QPalette palette = QGuiApplication::palette();
    if (mode == QIcon::Disabled)
        return palette.color(QPalette::Disabled, QPalette::WindowText);
    if (mode == QIcon::Selected)
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    return palette.color(QPalette::Active, QPalette::WindowText);
}

// Whether every visible pixel is a shade of grey: a symbolic icon, as opposed to a
// full-colour one that a desktop theme may give for the same name and that must
// keep its colours.
bool isMonochrome(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            if (qAlpha(p) < 16)
                continue;
            if (std::abs(qRed(p) - qGreen(p)) > 24 || std::abs(qGreen(p) - qBlue(p)) > 24)
                return false;
        }
    }
    return true;
}

} // namespace

SymbolIconEngine::SymbolIconEngine(QIcon themeIcon) : m_themeIcon(std::move(themeIcon)) {}

QPixmap SymbolIconEngine::tinted(const QIcon &icon, const QSize &size, qreal scale, const QColor &color)
{
    QPixmap shape = icon.pixmap(size, scale);
    if (shape.isNull() || !isMonochrome(shape.toImage().convertToFormat(QImage::Format_ARGB32)))
        return shape;
    QPainter painter(&shape);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRect(QPoint(), shape.size()), color);
    return shape;
}

void SymbolIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QPixmap image = scaledPixmap(rect.size(), mode, state, scale);
    if (image.isNull())
        return;
    const QSize drawn = image.deviceIndependentSize().toSize();
    painter->drawPixmap(QRect(rect.center() - QPoint(drawn.width() / 2, drawn.height() / 2), drawn), image);
}

QPixmap SymbolIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return scaledPixmap(size, mode, state, 1.0);
}

QPixmap SymbolIconEngine::scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State, qreal scale)
{
    // Views draw their icons on every repaint; the tinted picture is kept until the colour changes.
    const QColor color = colorFor(mode);
    const QString key = QStringLiteral("brivet-symbol-%1-%2x%3@%4-%5")
                            .arg(m_themeIcon.cacheKey())
                            .arg(size.width())
                            .arg(size.height())
                            .arg(scale)
                            .arg(color.rgba());
    QPixmap image;
    if (!QPixmapCache::find(key, &image)) {
        image = tinted(m_themeIcon, size, scale, color);
        QPixmapCache::insert(key, image);
    }
    return image;
}

QSize SymbolIconEngine::actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return m_themeIcon.actualSize(size, mode, state);
}

QIconEngine *SymbolIconEngine::clone() const
{
    return new SymbolIconEngine(m_themeIcon);
}

QString SymbolIconEngine::key() const
{
    return QStringLiteral("BrivetSymbol");
}

bool SymbolIconEngine::isNull()
{
    return m_themeIcon.isNull();
}
