#include "Updater.h"

#include "BrivetError.h"
#include "Log.h"
#include "SoftwareVersion.h"
#include "UpdateFeed.h"

#include <QDateTime>
#include <QPointer>

#include <algorithm>

using namespace std::chrono_literals;

namespace {

// The timer wakes at least this often to compare with the wall clock, which
// (unlike the timer's) keeps running while the machine sleeps.
constexpr std::chrono::milliseconds longestTimerWait = 1h;

QString descriptionOf(const std::exception &error)
{
    if (const auto *brivetError = dynamic_cast<const BrivetError *>(&error))
        return brivetError->description();
    return QString::fromUtf8(error.what());
}

} // namespace

Updater::Updater(UpdaterUserDriver &driver, UpdaterConfiguration configuration, QObject *parent)
    : QObject(parent),
      m_driver(driver),
      m_configuration(std::move(configuration)),
      m_settings(m_configuration.settingsFile),
      m_feed(std::make_shared<UpdateFeed>(m_configuration.feedAddress, m_configuration.idleTimeout,
                                          m_configuration.maximumFeedSize))
{
    m_scheduleTimer.setSingleShot(true);
    connect(&m_scheduleTimer, &QTimer::timeout, this, &Updater::onScheduleTimer);
}

Updater::~Updater() = default;

bool Updater::canCheckForUpdates() const
{
    return !m_configuration.feedAddress.isEmpty() && !m_checkRunning;
}

void Updater::checkForUpdates()
{
    if (!canCheckForUpdates())
        return;
    // The check runs on by itself; it owns what it needs beyond the updater.
    runCheck(true);
}

void Updater::startUpdater()
{
    m_started = true;
    scheduleNextCheck();
}

void Updater::setCheckRunning(bool running)
{
    const bool before = canCheckForUpdates();
    m_checkRunning = running;
    if (canCheckForUpdates() != before)
        emit canCheckForUpdatesChanged(canCheckForUpdates());
}

QCoro::Task<void> Updater::runCheck(bool userInitiated)
{
    QPointer<Updater> self(this);
    const std::shared_ptr<UpdateFeed> feed = m_feed;
    UpdaterUserDriver &driver = m_driver;
    setCheckRunning(true);

    if (userInitiated && !m_settings.automaticChecks()) {
        const bool allowed = co_await driver.askToCheckAutomatically();
        if (!self)
            co_return;
        m_settings.setAutomaticChecks(allowed);
    }

    std::optional<UpdateFeedItem> newest;
    QString failure;
    try {
        newest = co_await feed->newestItem();
    } catch (const std::exception &error) {
        failure = descriptionOf(error);
    }
    if (!self)
        co_return;
    m_settings.setLastCheckTime(QDateTime::currentDateTimeUtc());

    const QString running = m_configuration.runningVersion;
    const std::optional<SoftwareVersion> runningVersion = SoftwareVersion::parse(running);
    if (!newest) {
        brivetLog(u"Brivet: Update check failed: %@", {failure});
        if (userInitiated)
            co_await driver.showCheckFailed(failure);
    } else if (!runningVersion || newest->version > *runningVersion) {
        // (A running version that cannot be read, which no build makes, is older than any.)
        brivetLog(u"Brivet: Update check found version %@", {newest->version.text()});
        const std::optional<SoftwareVersion> skipped = SoftwareVersion::parse(m_settings.skippedVersion());
        if (userInitiated || !skipped || newest->version > *skipped) {
            const QString version = newest->version.text();
            const auto choice = co_await driver.showUpdateFound(std::move(*newest), running);
            if (self && choice == UpdaterUserDriver::UpdateChoice::skip)
                m_settings.setSkippedVersion(version);
        }
    } else if (userInitiated) {
        co_await driver.showUpToDate(running);
    }
    if (!self)
        co_return;
    setCheckRunning(false);
    scheduleNextCheck();
}

std::optional<std::chrono::milliseconds> Updater::timeUntilScheduledCheck() const
{
    if (!m_started || m_configuration.feedAddress.isEmpty() || m_settings.automaticChecks() != true)
        return std::nullopt;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDateTime last = m_settings.lastCheckTime();
    // A last check "in the future" means the clock was put back; waiting for
    // it could take years, so it does not count.
    if (!last.isValid() || last > now)
        return 0ms;
    const QDateTime due = last.addSecs(m_configuration.checkInterval.count());
    return std::chrono::milliseconds(std::max<qint64>(0, now.msecsTo(due)));
}

void Updater::scheduleNextCheck()
{
    m_scheduleTimer.stop();
    if (const auto wait = timeUntilScheduledCheck())
        m_scheduleTimer.start(std::min(*wait, longestTimerWait));
}

void Updater::onScheduleTimer()
{
    // A running check reschedules when it ends.
    if (m_checkRunning)
        return;
    const auto wait = timeUntilScheduledCheck();
    if (wait && *wait == 0ms)
        runCheck(false);
    else
        scheduleNextCheck();
}
