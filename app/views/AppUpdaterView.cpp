#include "AppUpdaterView.h"

#include "Localized.h"

#include "Updater.h"

#include <QAction>
#include <QCoreApplication>

AppUpdaterView::AppUpdaterView(Updater &updater, QObject *parent)
    : QObject(parent), m_checkForUpdatesViewModel(updater), m_updater(updater), m_action(new QAction(this))
{
    m_action->setObjectName(QStringLiteral("checkForUpdatesAction"));
    m_action->setText(localized("UpdateCheckLabel"));
    // Its own flag only: a menu that holds the action greys it out as well.
    m_action->setEnabled(m_checkForUpdatesViewModel.canCheckForUpdates());
    connect(&m_checkForUpdatesViewModel, &AppUpdaterModel::canCheckForUpdatesChanged, m_action, &QAction::setEnabled);
    connect(m_action, &QAction::triggered, this, [this] { m_updater.checkForUpdates(); });
}
