#include "PlaceholderView.h"

#include "Symbols.h"
#include "TextStyle.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int symbolSize = 80;
constexpr int spacing = 20;
constexpr int sentenceMargin = 40;
} // namespace

PlaceholderView::PlaceholderView(const QString &symbol, const QString &title, const QString &sentence, QWidget *parent)
    : QWidget(parent), m_symbol(symbol), m_symbolLabel(new QLabel(this)), m_titleLabel(new QLabel(title, this)),
      m_sentenceLabel(new QLabel(sentence, this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(spacing);
    layout->addStretch(1);
    layout->addWidget(m_symbolLabel, 0, Qt::AlignHCenter);
    layout->addWidget(m_titleLabel, 0, Qt::AlignHCenter);
    layout->addWidget(m_sentenceLabel);
    layout->addStretch(1);

    m_symbolLabel->setAlignment(Qt::AlignCenter);
    m_symbolLabel->setFixedSize(symbolSize, symbolSize);

    QFont titleFont = textStyleFont(TextStyle::largeTitle);
    titleFont.setBold(true);
    m_titleLabel->setFont(titleFont);
    m_titleLabel->setAlignment(Qt::AlignCenter);
    m_titleLabel->setTextFormat(Qt::PlainText);

    applyTextStyle(m_sentenceLabel, TextStyle::body, true);
    m_sentenceLabel->setAlignment(Qt::AlignCenter);
    m_sentenceLabel->setWordWrap(true);
    m_sentenceLabel->setTextFormat(Qt::PlainText);
    m_sentenceLabel->setContentsMargins(sentenceMargin, 0, sentenceMargin, 0);

    drawSymbol();
}

QString PlaceholderView::title() const
{
    return m_titleLabel->text();
}

QString PlaceholderView::sentence() const
{
    return m_sentenceLabel->text();
}

void PlaceholderView::setSymbol(const QString &symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    drawSymbol();
}

void PlaceholderView::setTitle(const QString &title)
{
    m_titleLabel->setText(title);
}

void PlaceholderView::setSentence(const QString &sentence)
{
    m_sentenceLabel->setText(sentence);
}

void PlaceholderView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        drawSymbol();
}

void PlaceholderView::drawSymbol()
{
    m_symbolLabel->setPixmap(symbolPixmap(m_symbol, symbolSize, secondaryColor(palette()), devicePixelRatioF()));
}
