#pragma once

#include "AppUpdaterModel.h"

#include <QObject>

class QAction;
class Updater;

// The check-for-updates command: one action, for the application menu, that
// starts a check the user asked for. It is enabled exactly while the updater
// can start one, following every change. Made anew whenever the menu is.
class AppUpdaterView : public QObject {
    Q_OBJECT
public:
    // The updater must outlive the view.
    explicit AppUpdaterView(Updater &updater, QObject *parent = nullptr);

    QAction *action() const { return m_action; }
    const AppUpdaterModel &checkForUpdatesViewModel() const { return m_checkForUpdatesViewModel; }

private:
    AppUpdaterModel m_checkForUpdatesViewModel;
    Updater &m_updater;
    QAction *m_action;
};
