#include "AppUpdaterView.h"
#include "UpdateFeedDocument.h"
#include "Updater.h"
#include "UpdaterFixture.h"
#include "WidgetTestApp.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AppUpdaterViewTest : public ::testing::Test {
protected:
    QApplication &app = widgetTestApp();
    UpdaterFixture f;
};

} // namespace

TEST_F(AppUpdaterViewTest, CommandIsAvailableExactlyWhileACheckMayStart)
{
    f.settings().setAutomaticChecks(false);
    f.server.setResponse(updateFeedResponse(updateFeedDocument({{"1.0.0"}})));
    f.driver.hold = true;
    Updater updater(f.driver, f.configuration());
    QMenu menu;
    AppUpdaterView view(updater, &menu);
    QAction *action = view.action();
    menu.addAction(action);
    EXPECT_EQ(action->text(), QCoreApplication::translate("Brivet", "UpdateCheckLabel"));
    EXPECT_TRUE(action->isEnabled());

    action->trigger();
    EXPECT_FALSE(action->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.driver.calls.size() == 1; }, 10'000));
    action->trigger(); // greyed out: nothing happens
    QTest::qWait(50);
    EXPECT_EQ(f.server.requests().size(), 1);
    f.driver.release();
    EXPECT_TRUE(QTest::qWaitFor([&] { return action->isEnabled(); }, 10'000));
    EXPECT_EQ(f.driver.calls, QStringList{"upToDate 1.0.0"});
}

TEST_F(AppUpdaterViewTest, WithoutFeedTheCommandStaysGreyed)
{
    Updater updater(f.driver, f.configuration(QString()));
    AppUpdaterView view(updater);
    EXPECT_FALSE(view.action()->isEnabled());
    view.action()->trigger();
    QTest::qWait(50);
    EXPECT_TRUE(f.driver.calls.isEmpty());
}
