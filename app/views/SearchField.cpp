#include "SearchField.h"

#include "Localized.h"
#include "Symbols.h"

#include <QAction>
#include <QEvent>
#include <QPainter>
#include <QtMath>

namespace {
constexpr int spokes = 8;
constexpr int spinnerSize = 16;
constexpr int stepMs = 90;
constexpr int fieldWidth = 260;
} // namespace

SearchField::SearchField(QWidget *parent) : QLineEdit(parent), m_spinner(new QAction(this))
{
    setClearButtonEnabled(true);
    // The field's own buttons are named too, so that assistive technology can tell them apart.
    if (auto *clear = findChild<QAction *>(QStringLiteral("_q_qlineeditclearaction")))
        clear->setText(localized("Clear"));
    setMinimumWidth(fieldWidth);
    setMaximumWidth(fieldWidth * 2);
    QAction *search = addAction(symbolIcon(QStringLiteral("magnifyingglass")), QLineEdit::LeadingPosition);
    search->setText(localized("Search"));
    m_spinner->setVisible(false);
    m_spinner->setText(localized("Searching…"));
    addAction(m_spinner, QLineEdit::TrailingPosition);
    m_timer.setInterval(stepMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % spokes;
        drawSpinner();
    });
}

void SearchField::setPrompt(const QString &prompt)
{
    setPlaceholderText(prompt);
    setAccessibleName(prompt);
}

void SearchField::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    m_spinner->setVisible(busy);
    setAccessibleDescription(busy ? localized("Searching…") : QString());
    if (busy) {
        drawSpinner();
        m_timer.start();
    } else {
        m_timer.stop();
    }
}

void SearchField::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_busy)
        drawSpinner();
}

// Spokes of fading text colour, the brightest one moving round.
void SearchField::drawSpinner()
{
    const qreal scale = devicePixelRatioF();
    QPixmap image(QSize(spinnerSize, spinnerSize) * scale);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(spinnerSize / 2.0, spinnerSize / 2.0);
    QColor color = palette().color(QPalette::Text);
    for (int i = 0; i < spokes; ++i) {
        const int age = (m_step - i + spokes) % spokes;
        color.setAlphaF(1.0 - 0.8 * age / spokes);
        painter.setPen(QPen(color, 2.0, Qt::SolidLine, Qt::RoundCap));
        painter.save();
        painter.rotate(360.0 * i / spokes);
        painter.drawLine(QPointF(0, -3.5), QPointF(0, -7));
        painter.restore();
    }
    painter.end();
    m_spinner->setIcon(QIcon(image));
}
