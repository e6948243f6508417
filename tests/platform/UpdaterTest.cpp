#include "FakeUpdaterUserDriver.h"
#include "LocalHttpServer.h"
#include "LogCapture.h"
#include "QtPrinters.h"
#include "TemporaryDataFolder.h"
#include "TestMain.h"
#include "UpdateFeedDocument.h"
#include "Updater.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Behaviour = LocalHttpServer::Response::Behaviour;
using Choice = UpdaterUserDriver::UpdateChoice;

namespace {

const QString notes = "https://example.org/brivet/notes.html", download = "https://example.org/brivet/download";

class UpdaterTest : public ::testing::Test {
protected:
    UpdaterConfiguration configuration(const QString &feed)
    {
        return {.feedAddress = feed,
                .runningVersion = "1.2.0",
                .settingsFile = folder.filePath("Brivet.conf"),
                .idleTimeout = 500ms,
                .maximumFeedSize = 4096};
    }
    UpdaterConfiguration configuration() { return configuration(server.url("/feed.xml").toString()); }

    void serveNewest(const QString &version)
    {
        server.setResponse(updateFeedResponse(updateFeedDocument({{"1.0.0"}, {version}})));
    }

    // Waits for the updater to allow checks again; false when it never does.
    static bool waitForEnd(Updater &updater)
    {
        return QTest::qWaitFor([&] { return updater.canCheckForUpdates(); }, 10'000);
    }

    QCoreApplication &app = testApp();
    LocalHttpServer server;
    TemporaryDataFolder folder;
    FakeUpdaterUserDriver driver;
    LogCapture log;
};

} // namespace

TEST_F(UpdaterTest, UserCheckShowsEveryOutcomeAndBlocksCommandWhileItRuns)
{
    const QByteArray feed = updateFeedDocument({{"1.0.0"}, {"1.3.0"}});
    const struct {
        LocalHttpServer::Response response;
        QString shown;
    } cases[] = {
        {updateFeedResponse(updateFeedDocument({{"1.0.0"}, {"1.3.0"}, {"1.2.1"}})),
         "found 1.3.0 <" + notes + "> <" + download + ">"},
        {updateFeedResponse(updateFeedDocument({{"1.2"}})), "upToDate 1.2.0"},
        {updateFeedResponse(updateFeedDocument({{"1.1.9"}, {"1.2.0-rc.1"}})), "upToDate 1.2.0"},
        {updateFeedResponse("<rss><channel><item>"), "failed The update feed is not a valid XML document: no element found (line 1, column 21)."},
        {{.status = 404, .body = "Not Found"}, "failed The update server answered with HTTP status 404."},
        {{.body = feed, .behaviour = Behaviour::stall}, "failed The request timed out."},
    };
    UpdaterSettings(configuration().settingsFile).setAutomaticChecks(false);
    Updater updater(driver, configuration());
    QSignalSpy changes(&updater, &Updater::canCheckForUpdatesChanged);
    EXPECT_TRUE(updater.canCheckForUpdates());
    for (const auto &c : cases) {
        driver.calls.clear();
        changes.clear();
        server.setResponse(c.response);
        updater.checkForUpdates();
        EXPECT_FALSE(updater.canCheckForUpdates());
        updater.checkForUpdates(); // ignored while one runs
        ASSERT_TRUE(waitForEnd(updater)) << c.shown.toStdString();
        EXPECT_EQ(driver.calls, QStringList{c.shown});
        ASSERT_EQ(changes.size(), 2);
        EXPECT_EQ(changes[0][0].toBool(), false);
        EXPECT_EQ(changes[1][0].toBool(), true);
    }
    EXPECT_EQ(server.requests().size(), qsizetype(std::size(cases)));
}

TEST_F(UpdaterTest, CheckLastsUntilItsOutcomeIsDismissed)
{
    UpdaterSettings(configuration().settingsFile).setAutomaticChecks(false);
    serveNewest("1.2.0");
    driver.hold = true;
    Updater updater(driver, configuration());
    updater.checkForUpdates();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !driver.calls.isEmpty(); }, 10'000));
    QTest::qWait(50);
    EXPECT_FALSE(updater.canCheckForUpdates());
    driver.release();
    EXPECT_TRUE(waitForEnd(updater));
}

TEST_F(UpdaterTest, WithoutFeedNothingCanStart)
{
    Updater updater(driver, configuration(QString()));
    QSignalSpy changes(&updater, &Updater::canCheckForUpdatesChanged);
    updater.checkForUpdates();
    updater.startUpdater();
    QTest::qWait(100);
    EXPECT_FALSE(updater.canCheckForUpdates());
    EXPECT_TRUE(driver.calls.isEmpty());
    EXPECT_TRUE(changes.isEmpty());
}

TEST_F(UpdaterTest, FirstUserCheckAsksOnceWhetherToCheckAutomatically)
{
    serveNewest("1.2.0");
    for (const bool answer : {false, true}) {
        TemporaryDataFolder settingsFolder;
        UpdaterConfiguration c = configuration();
        c.settingsFile = settingsFolder.filePath("Brivet.conf");
        driver.calls.clear();
        driver.answerAllowAutomaticChecks = answer;
        const qsizetype before = server.requests().size();
        Updater updater(driver, c);
        updater.startUpdater();
        QTest::qWait(100);
        EXPECT_EQ(server.requests().size(), before) << "no scheduled check before the user allows it";

        updater.checkForUpdates();
        ASSERT_TRUE(waitForEnd(updater));
        updater.checkForUpdates();
        ASSERT_TRUE(waitForEnd(updater));
        EXPECT_EQ(driver.calls, (QStringList{"ask", "upToDate 1.2.0", "upToDate 1.2.0"}));
        EXPECT_EQ(UpdaterSettings(c.settingsFile).automaticChecks(), answer);
        QTest::qWait(100);
        EXPECT_EQ(server.requests().size(), before + 2) << "a check today is the day's check";
    }
}

TEST_F(UpdaterTest, ScheduledChecksRunAtMostOncePerIntervalAndOnlyWhenAllowed)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const struct {
        const char *what;
        std::optional<bool> allowed;
        QDateTime lastCheck;
        bool checks;
    } cases[] = {
        {"allowed, never checked", true, {}, true},
        {"allowed, checked two hours ago", true, now.addSecs(-2 * 3600), false},
        {"allowed, checked 25 hours ago", true, now.addSecs(-25 * 3600), true},
        {"allowed, last check in the future (the clock was put back)", true, now.addDays(30), true},
        {"never asked", std::nullopt, {}, false},
        {"declined", false, now.addDays(-30), false},
    };
    serveNewest("1.2.0");
    for (const auto &c : cases) {
        TemporaryDataFolder settingsFolder;
        UpdaterConfiguration configured = configuration();
        configured.settingsFile = settingsFolder.filePath("Brivet.conf");
        UpdaterSettings settings(configured.settingsFile);
        if (c.allowed)
            settings.setAutomaticChecks(*c.allowed);
        if (c.lastCheck.isValid())
            settings.setLastCheckTime(c.lastCheck);
        const qsizetype before = server.requests().size();

        Updater updater(driver, configured);
        updater.startUpdater();
        QTest::qWait(150);
        EXPECT_TRUE(waitForEnd(updater) || !c.checks);
        EXPECT_EQ(server.requests().size() - before, c.checks ? 1 : 0) << c.what;
        if (c.checks) {
            EXPECT_GE(settings.lastCheckTime(), now) << c.what;
        }
    }
    EXPECT_TRUE(driver.calls.isEmpty()) << "scheduled checks keep quiet about an up-to-date version";
}

TEST_F(UpdaterTest, ScheduledCheckShowsOnlyANewerVersionNotSkipped)
{
    const QByteArray feed = updateFeedDocument({{"1.3.0"}});
    const struct {
        LocalHttpServer::Response response;
        QString skipped;
        QStringList shown;
    } cases[] = {
        {updateFeedResponse(feed), {}, {"found 1.3.0 <" + notes + "> <" + download + ">"}},
        {updateFeedResponse(feed), "1.3.0", {}},
        {updateFeedResponse(feed), "1.2.5", {"found 1.3.0 <" + notes + "> <" + download + ">"}},
        {updateFeedResponse(updateFeedDocument({{"1.2.0"}})), {}, {}},
        {{.status = 500, .body = {}}, {}, {}},
        {updateFeedResponse("garbage"), {}, {}},
    };
    for (const auto &c : cases) {
        TemporaryDataFolder settingsFolder;
        UpdaterConfiguration configured = configuration();
        configured.settingsFile = settingsFolder.filePath("Brivet.conf");
        UpdaterSettings settings(configured.settingsFile);
        settings.setAutomaticChecks(true);
        settings.setSkippedVersion(c.skipped);
        server.setResponse(c.response);
        driver.calls.clear();
        const qsizetype before = server.requests().size();

        Updater updater(driver, configured);
        updater.startUpdater();
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests().size() > before; }, 10'000));
        ASSERT_TRUE(waitForEnd(updater));
        EXPECT_EQ(driver.calls, c.shown) << c.skipped.toStdString();
    }
    EXPECT_TRUE(log.lines().contains("Brivet: Update check failed: The update server answered with HTTP status 500."));
}

TEST_F(UpdaterTest, SkippingAVersionSilencesOnlyScheduledChecks)
{
    serveNewest("1.3.0");
    UpdaterSettings settings(configuration().settingsFile);
    settings.setAutomaticChecks(false);
    driver.choice = Choice::skip;
    Updater updater(driver, configuration());
    updater.checkForUpdates();
    ASSERT_TRUE(waitForEnd(updater));
    EXPECT_EQ(settings.skippedVersion(), "1.3.0");
    updater.checkForUpdates();
    ASSERT_TRUE(waitForEnd(updater));
    EXPECT_EQ(driver.calls.size(), 2) << "the user's own check still shows it";
}

TEST_F(UpdaterTest, TimerRunsTheNextScheduledCheck)
{
    UpdaterConfiguration configured = configuration();
    configured.checkInterval = 1s;
    UpdaterSettings settings(configured.settingsFile);
    settings.setAutomaticChecks(true);
    settings.setLastCheckTime(QDateTime::currentDateTimeUtc());
    serveNewest("1.2.0");
    Updater updater(driver, configured);
    updater.startUpdater();
    QTest::qWait(300);
    EXPECT_EQ(server.requests().size(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.requests().size() == 2; }, 5'000))
        << "the first when the interval has passed, the second one interval later";
    EXPECT_TRUE(waitForEnd(updater));
}

TEST_F(UpdaterTest, UpdaterMayGoAwayWhileACheckRuns)
{
    UpdaterSettings(configuration().settingsFile).setAutomaticChecks(false);
    server.setResponse({.body = updateFeedDocument({{"1.3.0"}}), .delayMs = 200});
    auto updater = std::make_unique<Updater>(driver, configuration());
    updater->checkForUpdates();
    QTest::qWait(50);
    updater.reset();
    QTest::qWait(400); // the answer arrives and the check ends without its updater
    EXPECT_TRUE(driver.calls.isEmpty());
}
