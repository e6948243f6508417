#include "AppUpdaterModel.h"

#include "Updater.h"

AppUpdaterModel::AppUpdaterModel(Updater &updater, QObject *parent) : QObject(parent)
{
    // The connection ends with either object.
    connect(&updater, &Updater::canCheckForUpdatesChanged, this, &AppUpdaterModel::setCanCheckForUpdates);
    setCanCheckForUpdates(updater.canCheckForUpdates());
}

void AppUpdaterModel::setCanCheckForUpdates(bool canCheck)
{
    if (canCheck == m_canCheckForUpdates)
        return;
    m_canCheckForUpdates = canCheck;
    emit canCheckForUpdatesChanged(canCheck);
}
