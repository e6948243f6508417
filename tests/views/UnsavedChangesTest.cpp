#include "DestructiveStyle.h"
#include "ErrorAlertPresenter.h"
#include "LogCapture.h"
#include "SqliteModelStore.h"
#include "UnsavedChangesGuard.h"
#include "ViewTestSupport.h"

#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>

using namespace std::chrono_literals;

namespace {

class UnsavedChangesTest : public BrivetAppTest {
protected:
    UnsavedChangesTest() { app->modelContext().setRetryInterval(10ms); }

    // The file may not grow past its present size, as on a disk that is full.
    void limitFile(int pages) { app->modelContainer().store().database().exec(QString("PRAGMA max_page_count = %1").arg(pages)); }
    // A paper too big for what is left of the disk; its automatic save fails.
    void addPaperThatCannotBeSaved()
    {
        limitFile(1);
        auto paper = std::make_shared<Paper>();
        paper->setId("unsaved");
        paper->setSummary(QStringLiteral("A long abstract that fills pages. ").repeated(2000));
        app->modelContext().insert(paper);
        QCoreApplication::processEvents();
        ASSERT_TRUE(app->modelContext().saveFailure());
    }
    QMessageBox *question() const { return app->unsavedChangesGuard().question(); }
    QPushButton *button(const char *text) const
    {
        for (QAbstractButton *b : question()->buttons())
            if (b->text() == text)
                return qobject_cast<QPushButton *>(b);
        return nullptr;
    }
    // Whether the paper is in the file, as a Brivet started afresh reads it.
    bool storedAfterRelaunch()
    {
        app.reset();
        app = std::make_unique<BrivetApp>(LibrarySchema::configuration(store.path()));
        return app->modelContext().fetchCount(Paper::withId("unsaved")) == 1;
    }
};

} // namespace

TEST_F(UnsavedChangesTest, AFailedSaveIsToldOnceInTheActiveWindowAndSavedWhenSpaceReturns)
{
    MainWindow *first = openWindow();
    MainWindow *second = openWindow();
    first->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(first));
    QSignalSpy toldFirst(&first->errorHandler(), &ErrorHandler::currentAlertChanged);
    QSignalSpy toldSecond(&second->errorHandler(), &ErrorHandler::currentAlertChanged);
    addPaperThatCannotBeSaved();
    ASSERT_TRUE(first->errorHandler().currentAlert());
    EXPECT_EQ(first->errorHandler().currentAlert()->message, "Brivet could not save your library: the disk is full. "
                                                             "Your changes are kept and saved as soon as it can.");
    ASSERT_TRUE(first->alertPresenter()->alertBox());
    EXPECT_EQ(first->alertPresenter()->alertBox()->windowModality(), Qt::WindowModal);

    // Confirmed; the retries go on failing, unannounced, and space returns without a word.
    QTest::keyClick(first->alertPresenter()->alertBox(), Qt::Key_Return);
    QTest::qWait(60);
    limitFile(1000000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !app->modelContext().hasChanges(); }, 10000));
    EXPECT_EQ(toldFirst.count(), 2) << "shown, then confirmed";
    EXPECT_EQ(toldSecond.count(), 0);
    EXPECT_TRUE(storedAfterRelaunch());
}

TEST_F(UnsavedChangesTest, QuittingAsksAndTryAgainSavesAndQuitsOnceThereIsSpace)
{
    MainWindow *window = openWindow();
    addPaperThatCannotBeSaved();
    QTest::keyClick(window->alertPresenter()->alertBox(), Qt::Key_Return);

    app->quit();
    ASSERT_TRUE(question());
    EXPECT_TRUE(window->isVisible()) << "not quit";
    EXPECT_EQ(question()->parentWidget(), window);
    EXPECT_EQ(question()->windowModality(), Qt::WindowModal);
    EXPECT_EQ(question()->text(), "Brivet could not save your library: the disk is full.");
    EXPECT_EQ(question()->defaultButton(), button("Try Again"));
    QPushButton *lose = button("Quit and Lose Changes");
    ASSERT_TRUE(lose);
    EXPECT_EQ(lose->palette().color(QPalette::ButtonText), DestructiveStyle::color(lose->palette()));

    button("Try Again")->click();
    ASSERT_TRUE(question()) << "still full: asked again";
    limitFile(1000000);
    button("Try Again")->click();
    EXPECT_FALSE(window->isVisible()) << "saved, so quit";
    EXPECT_EQ(BrivetApp::finish(std::move(app), 0), 0);
    EXPECT_TRUE(storedAfterRelaunch());
}

TEST_F(UnsavedChangesTest, ClosingTheLastWindowAsksAndLosingTheChangesEndsWithANonZeroStatus)
{
    MainWindow *first = openWindow();
    MainWindow *second = openWindow();
    addPaperThatCannotBeSaved();
    first->close();
    EXPECT_FALSE(question()) << "another window is open: nothing quits";

    second->close();
    EXPECT_TRUE(second->isVisible());
    ASSERT_TRUE(question());
    button("Quit and Lose Changes")->click();
    EXPECT_FALSE(second->isVisible());
    EXPECT_EQ(BrivetApp::finish(std::move(app), 0), 1);
    EXPECT_FALSE(storedAfterRelaunch());
}

TEST_F(UnsavedChangesTest, TheSessionEndingAsksWhenItMayAndOtherwiseGivesTheChangesUp)
{
    MainWindow *window = openWindow();
    addPaperThatCannotBeSaved();
    UnsavedChangesGuard &guard = app->unsavedChangesGuard();
    EXPECT_FALSE(guard.sessionEnding(/*mayInteract=*/true)) << "the end of the session is cancelled";
    ASSERT_TRUE(question());
    EXPECT_EQ(question()->parentWidget(), window);

    const LogCapture log;
    EXPECT_TRUE(guard.sessionEnding(/*mayInteract=*/false));
    EXPECT_EQ(BrivetApp::finish(std::move(app), 0), 1);
    // Nobody is asked, so standard error is where the loss is told.
    EXPECT_EQ(log.lines().filter("Brivet: The session is ending and the library cannot be saved").size(), 1)
        << log.lines().join('\n').toStdString();
    EXPECT_TRUE(log.lines().contains("Brivet: Quit with changes that could not be saved; they are lost."));
}
