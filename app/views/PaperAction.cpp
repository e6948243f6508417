#include "PaperAction.h"

#include "DestructiveStyle.h"
#include "Symbols.h"

#include <QGuiApplication>
#include <QPainter>

namespace {
constexpr char destructiveProperty[] = "brivetDestructive";
}

PaperAction::PaperAction(ViewEnvironment &environment, const QString &text, const QString &symbol,
                         const QString &help, QObject *parent)
    : QAction(symbolIcon(symbol), text, parent), m_environment(environment)
{
    setLabels(text, help);
}

void PaperAction::setLabels(const QString &text, const QString &help)
{
    // Labels carry list names, whose "&" must show and not become a mnemonic.
    const QString shown = QString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
    setText(shown);
    setIconText(shown);
    setToolTip(help);
    setStatusTip(help);
    setWhatsThis(help);
}

void PaperAction::setDestructive(QAction *action)
{
    action->setProperty(destructiveProperty, true);
    // The symbol in the destructive colour too.
    const QColor red = DestructiveStyle::color(QGuiApplication::palette());
    QIcon tinted;
    for (const int size : {16, 22, 32}) {
        QPixmap pixmap = action->icon().pixmap(size);
        if (pixmap.isNull())
            continue;
        QPainter painter(&pixmap);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(pixmap.rect(), red);
        painter.end();
        tinted.addPixmap(pixmap);
    }
    if (!tinted.isNull())
        action->setIcon(tinted);
}

bool PaperAction::isDestructive(const QAction *action)
{
    return action && action->property(destructiveProperty).toBool();
}
