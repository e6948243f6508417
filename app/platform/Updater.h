#pragma once

#include "UpdaterConfiguration.h"
#include "UpdaterSettings.h"
#include "UpdaterUserDriver.h"

#include <QObject>
#include <QTimer>
#include <qcoro/qcorotask.h>

#include <memory>

class UpdateFeed;

// Checks the update feed for a newer version of Brivet, when the user asks
// and, once the user allows it, by itself at most once per check interval
// (a day): at start and then on a timer. One check runs at a time; it lasts
// until the user has dismissed its outcome. Everything runs on the thread
// that made the updater (the GUI thread), which is never blocked.
//
// A check the user starts shows every outcome; a scheduled one shows only a
// newer version that the user has not skipped, and stays silent otherwise
// (failures go to the log).
class Updater : public QObject {
    Q_OBJECT
public:
    // The driver must outlive the updater.
    explicit Updater(UpdaterUserDriver &driver,
                     UpdaterConfiguration configuration = UpdaterConfiguration::standard(),
                     QObject *parent = nullptr);
    ~Updater() override;

    const UpdaterConfiguration &configuration() const { return m_configuration; }

    // True exactly while a check the user starts may begin: a feed is
    // configured and no check is running. Every change is signalled.
    bool canCheckForUpdates() const;

    // Starts a check on the user's behalf and shows its outcome; does
    // nothing while canCheckForUpdates() is false.
    void checkForUpdates();

    // Switches the scheduled checks on: one runs at once when the last is a
    // check interval or more ago, the next when the interval has passed.
    // They run only while the user allows them.
    void startUpdater();

signals:
    void canCheckForUpdatesChanged(bool canCheckForUpdates);

private:
    QCoro::Task<void> runCheck(bool userInitiated);
    void setCheckRunning(bool running);
    // How long until the next scheduled check is due; none when they are off.
    std::optional<std::chrono::milliseconds> timeUntilScheduledCheck() const;
    void scheduleNextCheck();
    void onScheduleTimer();

    UpdaterUserDriver &m_driver;
    UpdaterConfiguration m_configuration;
    UpdaterSettings m_settings;
    // Shared with a running check, which may outlive the updater.
    std::shared_ptr<UpdateFeed> m_feed;
    QTimer m_scheduleTimer;
    bool m_started = false;
    bool m_checkRunning = false;
};
