#pragma once

#include "UpdaterConfiguration.h"

#include <QObject>

#include <memory>

class Updater;
class UpdaterUserDriverDialogs;
class Workspace;

// The application's updater with its dialogs, made once at start-up and kept
// for the life of the process. With startingUpdater, the scheduled checks
// start at once (the first, when due, as soon as the event loop runs).
class StandardUpdaterController : public QObject {
    Q_OBJECT
public:
    // The workspace must outlive the controller.
    StandardUpdaterController(bool startingUpdater, Workspace &workspace, QObject *parent = nullptr);
    StandardUpdaterController(bool startingUpdater, Workspace &workspace, UpdaterConfiguration configuration,
                              QObject *parent = nullptr);
    ~StandardUpdaterController() override;

    Updater *updater() const { return m_updater.get(); }

private:
    // Declared first, so it outlives the updater.
    std::unique_ptr<UpdaterUserDriverDialogs> m_userDriver;
    std::unique_ptr<Updater> m_updater;
};
