#include "AppUpdaterModel.h"
#include "TestMain.h"
#include "UpdateFeedDocument.h"
#include "Updater.h"
#include "UpdaterFixture.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AppUpdaterModelTest : public ::testing::Test {
protected:
    QCoreApplication &app = testApp();
    UpdaterFixture f;
};

} // namespace

TEST_F(AppUpdaterModelTest, TakesTheUpdatersValueWhenMade)
{
    Updater withFeed(f.driver, f.configuration());
    Updater withoutFeed(f.driver, f.configuration(QString()));
    EXPECT_TRUE(AppUpdaterModel(withFeed).canCheckForUpdates());
    EXPECT_FALSE(AppUpdaterModel(withoutFeed).canCheckForUpdates());
}

TEST_F(AppUpdaterModelTest, FollowsEveryChangeWhileACheckRuns)
{
    f.settings().setAutomaticChecks(false);
    f.server.setResponse(updateFeedResponse(updateFeedDocument({{"1.0.0"}})));
    f.driver.hold = true;
    Updater updater(f.driver, f.configuration());
    AppUpdaterModel model(updater);
    QSignalSpy changes(&model, &AppUpdaterModel::canCheckForUpdatesChanged);
    for (int round = 0; round < 2; ++round) {
        updater.checkForUpdates();
        EXPECT_FALSE(model.canCheckForUpdates());
        ASSERT_TRUE(QTest::qWaitFor([&] { return f.driver.calls.size() == round + 1; }, 10'000));
        EXPECT_FALSE(model.canCheckForUpdates()) << "the outcome is still shown";
        f.driver.release();
        ASSERT_TRUE(QTest::qWaitFor([&] { return model.canCheckForUpdates(); }, 10'000));
    }
    ASSERT_EQ(changes.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(changes[i][0].toBool(), i % 2 == 1);
}
