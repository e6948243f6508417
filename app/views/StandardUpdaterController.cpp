#include "StandardUpdaterController.h"

#include "Updater.h"
#include "UpdaterUserDriverDialogs.h"

StandardUpdaterController::StandardUpdaterController(bool startingUpdater, Workspace &workspace, QObject *parent)
    : StandardUpdaterController(startingUpdater, workspace, UpdaterConfiguration::standard(), parent)
{
}

StandardUpdaterController::StandardUpdaterController(bool startingUpdater, Workspace &workspace,
                                                     UpdaterConfiguration configuration, QObject *parent)
    : QObject(parent),
      m_userDriver(std::make_unique<UpdaterUserDriverDialogs>(workspace)),
      m_updater(std::make_unique<Updater>(*m_userDriver, std::move(configuration)))
{
    if (startingUpdater)
        m_updater->startUpdater();
}

StandardUpdaterController::~StandardUpdaterController() = default;
