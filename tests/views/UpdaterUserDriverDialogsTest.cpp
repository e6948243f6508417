#include "AppFolders.h"
#include "EnvironmentVariable.h"
#include "LocalHttpServer.h"
#include "QtPrinters.h"
#include "RecordingWorkspace.h"
#include "StandardUpdaterController.h"
#include "UpdateFeedDocument.h"
#include "Updater.h"
#include "UpdaterSettings.h"
#include "UserFolders.h"
#include "WidgetTestApp.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString notes = "https://example.org/brivet/notes.html", download = "https://example.org/brivet/download";

class UpdaterUserDriverDialogsTest : public ::testing::Test {
protected:
    UpdaterUserDriverDialogsTest()
    {
        window.resize(400, 300);
        window.show();
        QApplication::setActiveWindow(&window);
    }

    // The updater dialog of that name once it is shown, or null.
    QDialog *waitForDialog(const char *objectName)
    {
        QDialog *dialog = nullptr;
        const bool shown = QTest::qWaitFor([&] {
            dialog = window.findChild<QDialog *>(QString::fromUtf8(objectName));
            return dialog && dialog->isVisible();
        }, 10'000);
        return shown ? dialog : nullptr;
    }

    static QString textOf(QDialog *dialog, const char *label)
    {
        const auto *found = dialog->findChild<QLabel *>(QString::fromUtf8(label));
        return found ? found->text() : QString();
    }

    static void press(QDialog *dialog, const QString &text)
    {
        for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
            if (button->text().remove('&') == text) {
                EXPECT_FALSE(button->accessibleName().isEmpty() && button->text().isEmpty());
                button->click();
                return;
            }
        }
        ADD_FAILURE() << "no button " << text.toStdString();
    }

    // Presses the button and waits for the check to end.
    void finish(StandardUpdaterController &controller, QDialog *dialog, const QString &button)
    {
        QPointer<QDialog> guard(dialog);
        press(dialog, button);
        EXPECT_TRUE(QTest::qWaitFor([&] { return controller.updater()->canCheckForUpdates(); }, 10'000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return guard.isNull(); }, 2'000)) << "the dialog is freed";
    }

    void serveNewest(const QString &version)
    {
        server.setResponse(updateFeedResponse(updateFeedDocument({{"0.9.0"}, {version}})));
    }

    QApplication &app = widgetTestApp();
    UserFolders folders;
    LocalHttpServer server;
    EnvironmentVariable feed{UpdaterConfiguration::feedEnvironmentVariable, server.url("/feed.xml").toString().toUtf8()};
    RecordingWorkspace workspace;
    QWidget window;
    const QString running = UpdaterConfiguration::builtVersion();
    UpdaterSettings settings{AppFolders::settingsFile()};
};

} // namespace

TEST_F(UpdaterUserDriverDialogsTest, FirstCheckAsksThenOffersTheNewVersion)
{
    serveNewest("99.0.0");
    StandardUpdaterController controller(true, workspace);
    QTest::qWait(100);
    EXPECT_TRUE(server.requests().isEmpty()) << "no check by itself before the user allows it";

    controller.updater()->checkForUpdates();
    QDialog *question = waitForDialog("updateQuestionDialog");
    ASSERT_TRUE(question);
    EXPECT_TRUE(question->isModal());
    EXPECT_EQ(question->windowModality(), Qt::WindowModal);
    EXPECT_EQ(question->parentWidget(), &window);
    EXPECT_EQ(textOf(question, "headline"), "Check for updates automatically?");
    press(question, "Check Automatically");

    QDialog *found = waitForDialog("updateFoundDialog");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->parentWidget(), &window) << "not the question on its way out";
    EXPECT_EQ(settings.automaticChecks(), true);
    EXPECT_TRUE(QFile::exists(folders.root() + "/config/Brivet/Brivet.conf"));
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests()[0].path, "/feed.xml");
    EXPECT_EQ(textOf(found, "headline"), "A new version of Brivet is available!");
    EXPECT_EQ(textOf(found, "body"), QString("Brivet 99.0.0 is now available; you have %1.").arg(running));
    EXPECT_FALSE(controller.updater()->canCheckForUpdates());

    auto *link = found->findChild<QLabel *>("releaseNotesLink");
    ASSERT_TRUE(link);
    EXPECT_EQ(link->accessibleName(), "Release Notes");
    emit link->linkActivated(link->text());
    EXPECT_EQ(workspace.opened, QList<QUrl>{QUrl(notes)});
    finish(controller, found, "Open Download Page");
    EXPECT_EQ(workspace.opened, (QList<QUrl>{QUrl(notes), QUrl(download)}));
    EXPECT_EQ(settings.skippedVersion(), QString());
}

TEST_F(UpdaterUserDriverDialogsTest, UserCheckShowsItsOutcome)
{
    settings.setAutomaticChecks(false);
    const struct {
        LocalHttpServer::Response response;
        const char *dialog;
        QString headline, body;
    } cases[] = {
        {updateFeedResponse(updateFeedDocument({{"0.1"}, {running}})), "upToDateDialog", "You\u2019re up to date!",
         QString("Brivet %1 is the newest version available.").arg(running)},
        {{.status = 404, .body = "<html><body>No such file</body></html>"}, "updateFailedDialog",
         "Brivet could not check for updates.", "The update server answered with HTTP status 404."},
        {updateFeedResponse("<b>not</i>"), "updateFailedDialog", "Brivet could not check for updates.",
         "The update feed is not a valid XML document: mismatched tag (line 1, column 9)."},
    };
    StandardUpdaterController controller(false, workspace);
    for (const auto &c : cases) {
        server.setResponse(c.response);
        controller.updater()->checkForUpdates();
        QDialog *dialog = waitForDialog(c.dialog);
        ASSERT_TRUE(dialog) << c.dialog;
        EXPECT_EQ(textOf(dialog, "headline"), c.headline);
        EXPECT_EQ(textOf(dialog, "body"), c.body);
        finish(controller, dialog, "OK");
    }
    EXPECT_TRUE(workspace.opened.isEmpty());
}

TEST_F(UpdaterUserDriverDialogsTest, NewVersionCanBeSkippedOrLeftForLater)
{
    settings.setAutomaticChecks(false);
    serveNewest("99.0.0");
    StandardUpdaterController controller(false, workspace);
    controller.updater()->checkForUpdates();
    QDialog *found = waitForDialog("updateFoundDialog");
    ASSERT_TRUE(found);
    finish(controller, found, "Remind Me Later");
    EXPECT_EQ(settings.skippedVersion(), QString());

    controller.updater()->checkForUpdates();
    found = waitForDialog("updateFoundDialog");
    ASSERT_TRUE(found);
    finish(controller, found, "Skip This Version");
    EXPECT_EQ(settings.skippedVersion(), "99.0.0");
    EXPECT_TRUE(workspace.opened.isEmpty());
}

TEST_F(UpdaterUserDriverDialogsTest, ScheduledCheckSpeaksOnlyOfANewVersion)
{
    settings.setAutomaticChecks(true);
    server.setResponse(updateFeedResponse(updateFeedDocument({{running}})));
    {
        StandardUpdaterController controller(true, workspace);
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests().size() == 1; }, 10'000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return controller.updater()->canCheckForUpdates(); }, 10'000));
        QTest::qWait(100);
        EXPECT_FALSE(window.findChild<QDialog *>());
    }
    settings.setLastCheckTime(QDateTime::currentDateTimeUtc().addDays(-2));
    serveNewest("99.0.0");
    StandardUpdaterController controller(true, workspace);
    QDialog *found = waitForDialog("updateFoundDialog");
    ASSERT_TRUE(found);
    finish(controller, found, "Remind Me Later");
    EXPECT_EQ(server.requests().size(), 2);
}

TEST_F(UpdaterUserDriverDialogsTest, DialogClosedWithItsWindowEndsTheCheck)
{
    settings.setAutomaticChecks(false);
    serveNewest(running);
    StandardUpdaterController controller(false, workspace);
    auto other = std::make_unique<QWidget>();
    other->show();
    QApplication::setActiveWindow(other.get());
    controller.updater()->checkForUpdates();
    ASSERT_TRUE(QTest::qWaitFor([&] { return other->findChild<QDialog *>("upToDateDialog"); }, 10'000));
    other.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller.updater()->canCheckForUpdates(); }, 10'000));
}

TEST_F(UpdaterUserDriverDialogsTest, EscapeDeclinesAutomaticChecks)
{
    serveNewest(running);
    StandardUpdaterController controller(false, workspace);
    controller.updater()->checkForUpdates();
    QDialog *question = waitForDialog("updateQuestionDialog");
    ASSERT_TRUE(question);
    QTest::keyClick(question, Qt::Key_Escape);
    QDialog *upToDate = waitForDialog("upToDateDialog");
    ASSERT_TRUE(upToDate);
    EXPECT_EQ(settings.automaticChecks(), false);
    finish(controller, upToDate, "OK");
}
