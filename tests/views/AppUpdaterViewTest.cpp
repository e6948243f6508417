#include "AppUpdaterView.h"
#include "FakeUpdaterUserDriver.h"
#include "LocalHttpServer.h"
#include "TemporaryDataFolder.h"
#include "UpdateFeedDocument.h"
#include "Updater.h"
#include "UpdaterSettings.h"
#include "WidgetTestApp.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AppUpdaterViewTest : public ::testing::Test {
protected:
    UpdaterConfiguration configuration(const QString &feed)
    {
        return {.feedAddress = feed, .runningVersion = "1.0.0", .settingsFile = folder.filePath("Brivet.conf")};
    }

    QApplication &app = widgetTestApp();
    LocalHttpServer server;
    TemporaryDataFolder folder;
    FakeUpdaterUserDriver driver;
};

} // namespace

TEST_F(AppUpdaterViewTest, CommandIsAvailableExactlyWhileACheckMayStart)
{
    UpdaterSettings(folder.filePath("Brivet.conf")).setAutomaticChecks(false);
    server.setResponse(updateFeedResponse(updateFeedDocument({{"1.0.0"}})));
    driver.hold = true;
    Updater updater(driver, configuration(server.url().toString()));
    QMenu menu;
    AppUpdaterView view(updater, &menu);
    QAction *action = view.action();
    menu.addAction(action);
    EXPECT_EQ(action->text(), QCoreApplication::translate("Brivet", "UpdateCheckLabel"));
    EXPECT_TRUE(action->isEnabled());

    action->trigger();
    EXPECT_FALSE(action->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return driver.calls.size() == 1; }, 10'000));
    action->trigger(); // greyed out: nothing happens
    QTest::qWait(50);
    EXPECT_EQ(server.requests().size(), 1);
    driver.release();
    EXPECT_TRUE(QTest::qWaitFor([&] { return action->isEnabled(); }, 10'000));
    EXPECT_EQ(driver.calls, QStringList{"upToDate 1.0.0"});
}

TEST_F(AppUpdaterViewTest, WithoutFeedTheCommandStaysGreyed)
{
    Updater updater(driver, configuration(QString()));
    AppUpdaterView view(updater);
    EXPECT_FALSE(view.action()->isEnabled());
    view.action()->trigger();
    QTest::qWait(50);
    EXPECT_TRUE(driver.calls.isEmpty());
}
