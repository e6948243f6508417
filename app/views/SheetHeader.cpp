#include "SheetHeader.h"

#include "RoundIconButton.h"
#include "TextStyle.h"

#include <QGridLayout>
#include <QLabel>

SheetHeader::SheetHeader(const QString &title, const QString &cancelHelp, const QString &confirmHelp, QWidget *parent)
    : QWidget(parent)
    , m_title(new QLabel(title, this))
    , m_cancel(new RoundIconButton(QStringLiteral("xmark"), cancelHelp, false, this))
    , m_confirm(new RoundIconButton(QStringLiteral("checkmark"), confirmHelp, true, this))
{
    m_title->setObjectName(QStringLiteral("heading"));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setFont(textStyleFont(TextStyle::largeTitle));
    m_title->setAlignment(Qt::AlignCenter);
    // A long title wraps between the buttons rather than running under them.
    m_title->setWordWrap(true);
    const int clear = RoundIconButton::kDiameter + 8;
    m_title->setContentsMargins(clear, 0, clear, 0);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_confirm->setObjectName(QStringLiteral("confirm"));
    // No key presses them: Return belongs to the fields, Escape to the sheet.
    m_cancel->setAutoDefault(false);
    m_confirm->setAutoDefault(false);

    // One cell holds all three: the title centred, the buttons at the two ends over it.
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_title, 0, 0, Qt::AlignCenter);
    layout->addWidget(m_cancel, 0, 0, Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(m_confirm, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
}
