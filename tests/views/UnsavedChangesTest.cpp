#include "DestructiveStyle.h"
#include "ErrorAlertPresenter.h"
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
    void fillDisk() { app->modelContainer().store().database().exec("PRAGMA max_page_count = 1"); }
    void freeSpace() { app->modelContainer().store().database().exec("PRAGMA max_page_count = 1000000"); }
    // A paper too big for what is left; its automatic save fails.
    void addPaperThatCannotBeSaved()
    {
        fillDisk();
        auto paper = std::make_shared<Paper>();
        paper->setId("unsaved");
        paper->setSummary(QStringLiteral("A long abstract that fills pages. ").repeated(2000));
        app->modelContext().insert(paper);
        QCoreApplication::processEvents();
        ASSERT_TRUE(app->modelContext().saveFailure());
    }
    void activate(MainWindow *window)
    {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    }
    QMessageBox *question() const { return app->unsavedChangesGuard().question(); }
    QPushButton *button(const QString &text) const
    {
        for (QAbstractButton *b : question()->buttons())
            if (b->text() == text)
                return qobject_cast<QPushButton *>(b);
        ADD_FAILURE() << "no button " << text.toStdString();
        return nullptr;
    }
    // Whether the library in the file holds the paper, read by a Brivet started afresh.
    bool storedAfterRelaunch()
    {
        app.reset();
        app = std::make_unique<BrivetApp>(LibrarySchema::configuration(store.path()));
        return app->modelContext().fetchCount(Paper::withId("unsaved")) == 1;
    }

    static constexpr char diskFull[] = "Brivet could not save your library: the disk is full.";
};

} // namespace

TEST_F(UnsavedChangesTest, AFailedSaveIsToldOnceInTheFrontWindowAndTheRetriesSaveWhenSpaceReturns)
{
    MainWindow *first = openWindow();
    MainWindow *second = openWindow();
    activate(first);
    QSignalSpy toldFirst(&first->errorHandler(), &ErrorHandler::currentAlertChanged);
    QSignalSpy toldSecond(&second->errorHandler(), &ErrorHandler::currentAlertChanged);
    const auto told = [&] { return toldFirst.count() + toldSecond.count(); };
    addPaperThatCannotBeSaved();
    ASSERT_EQ(told(), 1);
    ASSERT_TRUE(first->errorHandler().currentAlert());
    EXPECT_EQ(first->errorHandler().currentAlert()->message,
              QString(diskFull) + " Your changes are kept and saved as soon as it can.");
    EXPECT_FALSE(second->errorHandler().currentAlert());
    ASSERT_TRUE(first->alertPresenter()->alertBox());
    EXPECT_EQ(first->alertPresenter()->alertBox()->windowModality(), Qt::WindowModal);

    // The user confirms; the retries go on failing, unannounced.
    QTest::keyClick(first->alertPresenter()->alertBox(), Qt::Key_Return);
    QTest::qWait(100);
    EXPECT_EQ(told(), 2) << "shown once, then confirmed";
    EXPECT_FALSE(first->errorHandler().currentAlert());
    EXPECT_EQ(app->modelContext().fetchCount(Paper::withId("unsaved")), 1) << "the change stays in the window";

    freeSpace();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !app->modelContext().hasChanges(); }, 10000));
    EXPECT_EQ(told(), 2) << "saving again is not announced";
    EXPECT_TRUE(storedAfterRelaunch());
}

TEST_F(UnsavedChangesTest, QuittingAsksAndTryAgainSavesAndQuitsOnceThereIsSpace)
{
    MainWindow *window = openWindow();
    activate(window);
    addPaperThatCannotBeSaved();
    QTest::keyClick(window->alertPresenter()->alertBox(), Qt::Key_Return);
    activate(window);

    QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
    ASSERT_TRUE(question());
    EXPECT_TRUE(window->isVisible()) << "not quit";
    EXPECT_TRUE(question()->isVisible());
    EXPECT_EQ(question()->parentWidget(), window);
    EXPECT_EQ(question()->windowModality(), Qt::WindowModal);
    EXPECT_EQ(question()->text(), diskFull);
    EXPECT_EQ(question()->defaultButton(), button("Try Again"));
    QPushButton *lose = button("Quit and Lose Changes");
    ASSERT_TRUE(lose);
    EXPECT_EQ(lose->palette().color(QPalette::ButtonText), DestructiveStyle::color(lose->palette()));
    EXPECT_FALSE(window->alertPresenter()->alertBox()) << "the question alone, no alert beside it";

    // Still full: asked again.
    button("Try Again")->click();
    QCoreApplication::processEvents();
    ASSERT_TRUE(question());
    EXPECT_TRUE(window->isVisible());

    freeSpace();
    button("Try Again")->click();
    EXPECT_FALSE(window->isVisible()) << "saved, so quit";
    EXPECT_FALSE(app->modelContext().hasChanges());
    EXPECT_EQ(BrivetApp::finish(std::move(app), 0), 0);
    EXPECT_TRUE(storedAfterRelaunch());
}

TEST_F(UnsavedChangesTest, ClosingTheLastWindowAsksAndLosingTheChangesQuitsWithThemGone)
{
    MainWindow *first = openWindow();
    MainWindow *second = openWindow();
    addPaperThatCannotBeSaved();
    first->close();
    EXPECT_FALSE(first->isVisible()) << "another window is open: nothing is quit";
    EXPECT_FALSE(question());

    second->close();
    EXPECT_TRUE(second->isVisible());
    ASSERT_TRUE(question());
    EXPECT_EQ(question()->parentWidget(), second);
    button("Quit and Lose Changes")->click();
    EXPECT_FALSE(second->isVisible());
    // The final save at exit fails too, which the exit status reports.
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
    EXPECT_TRUE(window->isVisible());

    freeSpace();
    EXPECT_TRUE(guard.sessionEnding(true)) << "saved: the session may end";

    addPaperThatCannotBeSaved();
    EXPECT_TRUE(guard.sessionEnding(/*mayInteract=*/false));
    EXPECT_EQ(BrivetApp::finish(std::move(app), 0), 1);
}
