#include "AppUpdaterModel.h"
#include "FakeUpdaterUserDriver.h"
#include "LocalHttpServer.h"
#include "TemporaryDataFolder.h"
#include "TestMain.h"
#include "UpdateFeedDocument.h"
#include "Updater.h"
#include "UpdaterSettings.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AppUpdaterModelTest : public ::testing::Test {
protected:
    UpdaterConfiguration configuration(const QString &feed)
    {
        return {.feedAddress = feed, .runningVersion = "1.0.0", .settingsFile = folder.filePath("Brivet.conf")};
    }

    QCoreApplication &app = testApp();
    LocalHttpServer server;
    TemporaryDataFolder folder;
    FakeUpdaterUserDriver driver;
};

} // namespace

TEST_F(AppUpdaterModelTest, TakesTheUpdatersValueWhenMade)
{
    Updater withFeed(driver, configuration(server.url().toString()));
    Updater withoutFeed(driver, configuration(QString()));
    EXPECT_TRUE(AppUpdaterModel(withFeed).canCheckForUpdates());
    EXPECT_FALSE(AppUpdaterModel(withoutFeed).canCheckForUpdates());
}

TEST_F(AppUpdaterModelTest, FollowsEveryChangeWhileACheckRuns)
{
    UpdaterSettings(configuration({}).settingsFile).setAutomaticChecks(false);
    server.setResponse(updateFeedResponse(updateFeedDocument({{"1.0.0"}})));
    driver.hold = true;
    Updater updater(driver, configuration(server.url().toString()));
    AppUpdaterModel model(updater);
    QSignalSpy changes(&model, &AppUpdaterModel::canCheckForUpdatesChanged);
    for (int round = 0; round < 2; ++round) {
        updater.checkForUpdates();
        EXPECT_FALSE(model.canCheckForUpdates());
        ASSERT_TRUE(QTest::qWaitFor([&] { return driver.calls.size() == round + 1; }, 10'000));
        EXPECT_FALSE(model.canCheckForUpdates()) << "the outcome is still shown";
        driver.release();
        ASSERT_TRUE(QTest::qWaitFor([&] { return model.canCheckForUpdates(); }, 10'000));
    }
    ASSERT_EQ(changes.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(changes[i][0].toBool(), i % 2 == 1);
}
