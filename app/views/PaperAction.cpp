#include "PaperAction.h"

#include "Symbols.h"

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
}

bool PaperAction::isDestructive(const QAction *action)
{
    return action && action->property(destructiveProperty).toBool();
}
