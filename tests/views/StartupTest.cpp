#include "AppView.h"
#include "BrivetError.h"
#include "ModelQuery.h"
#include "PaperList.h"
#include "ViewTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

TEST(Startup, AStoreThatCannotBeOpenedStopsBrivetWithTheMessageAndNothingElseHappens)
{
    UserFolders folders(/*withCloud=*/true);
    const QString storeFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    ASSERT_EQ(storeFolder, folders.root() + "/data/Brivet");
    QDir().mkpath(storeFolder);
    const QString storeFile = storeFolder + "/LocalStore.sqlite";
    const QByteArray damaged = QByteArray("SQLite format 3") + QByteArray(4000, '\x01');
    TemporaryDataFolder::write(storeFile, damaged);

    QString description;
    try {
        ModelContainer(LibrarySchema::schema(), LibrarySchema::configuration());
    } catch (const BrivetError &error) {
        description = error.description();
    }
    ASSERT_FALSE(description.isEmpty());
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcess brivet;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Qt would otherwise warn about it on standard error, the channel this test reads.
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    brivet.setProcessEnvironment(environment);
    brivet.start(QStringLiteral(BRIVET_EXECUTABLE), {});
    ASSERT_TRUE(brivet.waitForFinished(120000));
    EXPECT_EQ(brivet.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(brivet.exitCode(), 1);
    EXPECT_EQ(QString::fromLocal8Bit(brivet.readAllStandardError()),
              "Could not create ModelContainer: " + description + "\n");
    EXPECT_TRUE(brivet.readAllStandardOutput().isEmpty());
    EXPECT_EQ(TemporaryDataFolder::readAll(storeFile), damaged);
    // The data manager, which would make the cloud folder's documents folder, was never made.
    EXPECT_FALSE(QFileInfo::exists(folders.cloudContainer() + "/Documents"));
    EXPECT_EQ(QDir(storeFolder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"LocalStore.sqlite"});
}

TEST(Startup, FirstLaunchMakesAnEmptyLibraryInTheUsersDataFolder)
{
    UserFolders folders;
    EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation), folders.root() + "/config/Brivet");
    EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), folders.root() + "/data/Brivet");
    {
        BrivetApp app;
        EXPECT_TRUE(QFileInfo::exists(folders.root() + "/data/Brivet/LocalStore.sqlite"));
        EXPECT_EQ(&app.dataManager().context(), &app.modelContext());
        EXPECT_TRUE(ModelQuery(app.modelContext(), PaperList::entityDescription()).results().isEmpty());
        EXPECT_FALSE(app.appState().selectedListId() || app.appState().selectedPaper());
        EXPECT_TRUE(app.windows().isEmpty()) << "windows come after the long-lived objects";
    }
}

// Quitting saves what the store still holds: a note typed a moment before is there next time.
TEST_F(BrivetAppTest, ANoteWrittenJustBeforeQuittingIsThereAfterARelaunch)
{
    MainWindow *window = openWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto list = std::make_shared<PaperList>("Reading", QList<Paper *>{});
    app->modelContext().insert(list);
    auto paper = std::make_shared<Paper>();
    app->dataManager().add(paper, list.get());
    app->modelContext().save();
    const QString id = paper->id();

    paper->setNotes("# Last words\nTyped just before quitting.");
    ASSERT_TRUE(app->modelContext().hasChanges());
    QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
    paper.reset();
    list.reset();
    app.reset();

    app = std::make_unique<BrivetApp>(LibrarySchema::configuration(store.path()));
    const auto stored = app->modelContext().fetch<Paper>(Paper::withId(id));
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored.first()->notes(), "# Last words\nTyped just before quitting.");
}
