#include "CrossFade.h"

#include <QApplication>
#include <QBackingStore>
#include <QEasingCurve>
#include <QPainter>
#include <QStyle>
#include <QVariantAnimation>

#include <cstring>

namespace {

// The old look, over the new content, growing transparent. It is only a picture: the mouse
// goes through it to the content beneath, and it never takes the focus.
class FadingPicture : public QWidget {
public:
    FadingPicture(QImage picture, const QRect &place, QWidget *host) : QWidget(host), m_picture(std::move(picture))
    {
        setObjectName(QLatin1String(CrossFade::overlayName));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(place);
        raise();
        show();

        auto *fade = new QVariantAnimation(this);
        fade->setStartValue(1.0);
        fade->setEndValue(0.0);
        fade->setDuration(CrossFade::durationMs);
        fade->setEasingCurve(QEasingCurve::InOutQuad);
        connect(fade, &QVariantAnimation::valueChanged, this, [this](const QVariant &opacity) {
            m_opacity = opacity.toReal();
            update();
        });
        connect(fade, &QVariantAnimation::finished, this, [this] {
            hide();
            deleteLater();
        });
        fade->start();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setOpacity(m_opacity);
        painter.drawImage(0, 0, m_picture);
    }

private:
    QImage m_picture;
    qreal m_opacity = 1.0;
};

// How `rect` of the window looks on screen. What the window last painted is still in its
// backing store, and copying it there costs far less than painting the old look once
// more before the change; a window that keeps no image there (or has not painted yet)
// is painted into the picture.
QImage onScreenPicture(QWidget *window, const QRect &rect)
{
    if (QBackingStore *store = window->backingStore()) {
        QPaintDevice *device = store->paintDevice();
        if (device && device->devType() == QInternal::Image) {
            const QImage &image = *static_cast<const QImage *>(device);
            const qreal ratio = image.devicePixelRatio();
            const QRect pixels(QPoint(qRound(rect.x() * ratio), qRound(rect.y() * ratio)),
                               QSize(qRound(rect.width() * ratio), qRound(rect.height() * ratio)));
            if (!image.isNull() && image.rect().contains(pixels)) {
                // A column's picture is megabytes: one buffer, used again once its fade is
                // over, spares the page faults of fresh memory at every change.
                static QImage spare;
                if (spare.size() != pixels.size() || spare.format() != image.format() || !spare.isDetached())
                    spare = QImage(pixels.size(), image.format());
                const qsizetype offset = qsizetype(pixels.x()) * image.depth() / 8;
                const qsizetype length = qsizetype(pixels.width()) * image.depth() / 8;
                for (int row = 0; row < pixels.height(); ++row)
                    std::memcpy(spare.scanLine(row), image.constScanLine(pixels.y() + row) + offset, size_t(length));
                spare.setDevicePixelRatio(ratio);
                return spare;
            }
        }
    }
    return window->grab(rect).toImage();
}

} // namespace

bool CrossFade::wanted(const QWidget *widget)
{
    // Desktop themes leave Qt's general UI effect off unless told otherwise, so it is heard only
    // from an application that took the switch into its own hands; the desktop's say on
    // animations reaches widgets through its style.
    if (!QGuiApplication::desktopSettingsAware() && !QApplication::isEffectEnabled(Qt::UI_General))
        return false;
    return widget->style()->styleHint(QStyle::SH_Widget_Animation_Duration, nullptr, widget) > 0;
}

CrossFade::CrossFade(QWidget *widget, QWidget *host)
{
    if (!widget || !widget->isVisible() || widget->rect().isEmpty() || !wanted(widget))
        return;
    if (!host)
        host = widget;
    m_host = host;
    m_place = QRect(widget->mapTo(host, QPoint(0, 0)), widget->size());
    // Changes that come faster than a fade lasts (a key held down in a list) take no picture
    // each, which would paint the old look once more before the new one shows: the picture
    // still fading there goes on fading, over the newest content.
    for (QWidget *child : host->findChildren<QWidget *>(QLatin1String(overlayName), Qt::FindDirectChildrenOnly)) {
        if (child->isVisible() && child->geometry().intersects(m_place)) {
            m_running = child;
            return;
        }
    }
    // Taken from the window, so that what shows through the widget (its parents' background)
    // is in the picture too.
    QWidget *window = widget->window();
    m_picture = onScreenPicture(window, QRect(widget->mapTo(window, QPoint(0, 0)), widget->size()));
}

CrossFade::~CrossFade()
{
    if (m_running)
        m_running->raise(); // above what the change showed
    else if (m_host && !m_picture.isNull())
        new FadingPicture(std::move(m_picture), m_place, m_host);
}
