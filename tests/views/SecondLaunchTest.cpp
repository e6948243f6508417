// Brivet started again on a library that a Brivet already runs: real `brivet` processes
// against a running Brivet, in this process or in another.
#include "BrivetProcess.h"
#include "EnvironmentVariable.h"
#include "ModelQuery.h"
#include "PaperList.h"
#include "SingleInstance.h"
#include "ViewTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>

#include <vector>

namespace {

// A lock taken a minute ago: its holder is past starting up and gets no more than the
// time to answer.
void backdate(const QString &lockFile)
{
    QFile file(lockFile);
    ASSERT_TRUE(file.open(QIODevice::Append));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden, QDir::Name);
}

} // namespace

TEST(SecondLaunch, OpensAWindowInTheRunningBrivetWithTheLaunchersTokenAndExitsWithZero)
{
    UserFolders folders;
    RuntimeFolder runtime;
    SingleInstance instance(storeFile());
    ASSERT_EQ(instance.start(), SingleInstance::Outcome::Running);
    BrivetApp app;
    QObject::connect(&instance, &SingleInstance::windowRequested, &app, &BrivetApp::openWindowForLaunch);
    QSignalSpy requests(&instance, &SingleInstance::windowRequested);
    MainWindow *first = app.newWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(first));

    const auto second = launchBrivet({{"XDG_ACTIVATION_TOKEN", "launcher-token_1234"}});
    ASSERT_TRUE(finishes(*second));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(QString::fromLocal8Bit(second->readAllStandardError()), "");

    ASSERT_EQ(app.windows().size(), 2);
    MainWindow *opened = app.windows().last();
    EXPECT_TRUE(opened->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(opened)) << "the new window comes to the front";
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.first().first().toByteArray(), "launcher-token_1234");
}

TEST(SecondLaunch, ALockLeftByAKilledBrivetIsTakenOverByTheNextLaunch)
{
    UserFolders folders;
    RuntimeFolder runtime;
    QDir().mkpath(QFileInfo(storeFile()).absolutePath());
    SingleInstance next(storeFile());
    const auto first = launchBrivet();
    ASSERT_TRUE(listens(next.serverPath()));
    first->kill();
    ASSERT_TRUE(first->waitForFinished(processTime));
    ASSERT_TRUE(QFileInfo::exists(next.lockFilePath()));
    ASSERT_TRUE(QFileInfo::exists(next.serverPath())) << "the killed Brivet's socket is left behind too";

    ASSERT_EQ(next.start(), SingleInstance::Outcome::Running);
    // It listens where the dead one did: a later launch hands over to it.
    BrivetApp app;
    QObject::connect(&next, &SingleInstance::windowRequested, &app, &BrivetApp::openWindowForLaunch);
    app.newWindow();
    const auto third = launchBrivet();
    ASSERT_TRUE(finishes(*third));
    EXPECT_EQ(third->exitCode(), 0);
    EXPECT_EQ(app.windows().size(), 2);
}

// A Brivet that hangs keeps its lock (and its socket, whose connections queue up unanswered).
TEST(SecondLaunch, ABrivetThatDoesNotAnswerFailsTheLaunchWhichLeavesTheStoreUntouched)
{
    UserFolders folders;
    RuntimeFolder runtime;
    {
        ModelContainer container(LibrarySchema::schema(), LibrarySchema::configuration());
        container.mainContext().insert(std::make_shared<PaperList>("Reading", QList<Paper *>{}));
        container.mainContext().save();
    }
    const QString folder = QFileInfo(storeFile()).absolutePath();
    const QByteArray stored = TemporaryDataFolder::readAll(storeFile());
    SingleInstance probe(storeFile());
    QLockFile holder(probe.lockFilePath());
    ASSERT_TRUE(holder.tryLock(0));
    backdate(probe.lockFilePath());
    const QStringList files = filesIn(folder);

    for (const bool listening : {false, true}) {
        SCOPED_TRACE(listening ? "listening" : "not listening");
        QLocalServer hung;
        if (listening) {
            ASSERT_TRUE(hung.listen(probe.serverPath()));
        }
        const auto second = launchBrivet();
        // Blocking: nothing in this process answers meanwhile.
        ASSERT_TRUE(second->waitForFinished(processTime));
        EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second->exitCode(), 1);
        EXPECT_EQ(QString::fromLocal8Bit(second->readAllStandardError()),
                  "Brivet is already running with this library but does not answer.\n");
        EXPECT_EQ(TemporaryDataFolder::readAll(storeFile()), stored);
        EXPECT_EQ(filesIn(folder), files);
    }
}

TEST(SecondLaunch, TenSimultaneousLaunchesOnAFreshFolderGiveOneRunningBrivetAndOneStore)
{
    UserFolders folders;
    RuntimeFolder runtime;
    std::vector<std::unique_ptr<QProcess>> launches;
    for (int i = 0; i < 10; ++i)
        launches.push_back(launchBrivet());
    const auto finished = [&] {
        return std::count_if(launches.begin(), launches.end(),
                             [](const auto &launch) { return launch->state() == QProcess::NotRunning; });
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished() == 9; }, 3 * processTime));

    QProcess *running = nullptr;
    for (const auto &launch : launches) {
        if (launch->state() != QProcess::NotRunning) {
            running = launch.get();
            continue;
        }
        EXPECT_EQ(launch->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(launch->exitCode(), 0);
        EXPECT_EQ(QString::fromLocal8Bit(launch->readAllStandardError()), "");
    }
    ASSERT_NE(running, nullptr);
    running->kill();
    ASSERT_TRUE(running->waitForFinished(processTime));

    const QString folder = QFileInfo(storeFile()).absolutePath();
    EXPECT_TRUE(filesIn(folder).contains("LocalStore.sqlite"));
    ModelContainer container(LibrarySchema::schema(), LibrarySchema::configuration());
    EXPECT_TRUE(ModelQuery(container.mainContext(), PaperList::entityDescription()).results().isEmpty());
}

TEST(SecondLaunch, AnotherLibraryRunsSideBySideAndALockNoBrivetHoldsAnyMoreIsTakenOver)
{
    UserFolders folders;
    RuntimeFolder runtime;
    SingleInstance library(storeFile());
    ASSERT_EQ(library.start(), SingleInstance::Outcome::Running);
    QSignalSpy requests(&library, &SingleInstance::windowRequested);

    const QString otherData = folders.root() + "/other-data";
    QDir().mkpath(otherData + "/Brivet");
    SingleInstance other(otherData + "/Brivet/LocalStore.sqlite");
    const auto otherBrivet = launchBrivet({{"XDG_DATA_HOME", otherData}});
    ASSERT_TRUE(listens(other.serverPath()));
    EXPECT_NE(other.serverPath(), library.serverPath());
    EXPECT_EQ(otherBrivet->state(), QProcess::Running);
    EXPECT_TRUE(QFileInfo::exists(other.lockFilePath()));
    EXPECT_TRUE(requests.isEmpty());

    // A Brivet that died without a word, whose process id now belongs to that other Brivet:
    // by its id and name the lock's holder looks alive, yet nobody holds the file.
    const QString thirdData = folders.root() + "/third-data";
    SingleInstance third(thirdData + "/Brivet/LocalStore.sqlite");
    QDir().mkpath(thirdData + "/Brivet");
    TemporaryDataFolder::write(third.lockFilePath(),
                               QByteArray::number(otherBrivet->processId()) + "\nbrivet\n"
                                   + QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId()
                                   + '\n' + QSysInfo::bootUniqueId() + '\n');
    backdate(third.lockFilePath());
    EXPECT_EQ(third.start(), SingleInstance::Outcome::Running);
    EXPECT_EQ(otherBrivet->state(), QProcess::Running);
    otherBrivet->kill();
    otherBrivet->waitForFinished(processTime);
}
