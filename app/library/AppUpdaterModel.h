#pragma once

#include <QObject>

class Updater;

// Mirrors whether an update check may start now, for the check-for-updates
// command. It takes the updater's value when made and follows every change
// until it is destroyed; it lives on the updater's thread.
class AppUpdaterModel : public QObject {
    Q_OBJECT
public:
    explicit AppUpdaterModel(Updater &updater, QObject *parent = nullptr);

    bool canCheckForUpdates() const { return m_canCheckForUpdates; }

signals:
    void canCheckForUpdatesChanged(bool canCheckForUpdates);

private:
    void setCanCheckForUpdates(bool canCheck);

    bool m_canCheckForUpdates = false;
};
