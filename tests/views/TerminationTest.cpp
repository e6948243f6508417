// Brivet ended from outside, as a session that ends or Ctrl+C in a terminal end it.
#include "BrivetProcess.h"
#include "SingleInstance.h"
#include "UserFolders.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <csignal>

TEST(Termination, TheSignalsThatEndASessionQuitCleanlyAndReleaseTheLibrary)
{
    UserFolders folders;
    RuntimeFolder runtime;
    const SingleInstance probe(storeFile());
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        const auto brivet = launchBrivet();
        ASSERT_TRUE(listens(probe.serverPath()));
        ::kill(pid_t(brivet->processId()), signalNumber);
        ASSERT_TRUE(finishes(*brivet));
        // Killed by the signal, it would have skipped the last save and left its lock.
        EXPECT_EQ(brivet->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(brivet->exitCode(), 0) << brivet->readAllStandardError().constData();
        EXPECT_FALSE(QFileInfo::exists(probe.lockFilePath()));
    }
}
