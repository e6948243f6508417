#include "Log.h"
#include "LogCapture.h"
#include "QtPrinters.h"

#include <QTemporaryFile>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(Log, WritesEachFormattedLineWholeToStandardError)
{
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    const int saved = dup(STDERR_FILENO);
    dup2(file.handle(), STDERR_FILENO);
    brivetLog(u"Brivet: ArXiv response: %d bytes, status: %d", {231490, 200});
    brivetLog(u"%@ %d 100%% %@", {"%d", qint64(1) << 40});
    // A title from the network must not be able to start a line of its own.
    brivetLog(u"Brivet: Capturing title: %@", {"Wrapped\n  title\r"});
    brivetLog(u"Brivet: %@", {"Wübben"});
    dup2(saved, STDERR_FILENO);
    close(saved);
    file.seek(0);
    EXPECT_EQ(QString::fromUtf8(file.readAll()), "Brivet: ArXiv response: 231490 bytes, status: 200\n"
                                                 "%d 1099511627776 100% %@\n"
                                                 "Brivet: Capturing title: Wrapped\\n  title\\r\n"
                                                 "Brivet: Wübben\n");
}

TEST(Log, RegisteredSecretNeverReachesALine)
{
    LogCapture capture;
    registerLogSecret("AbCdEf0123456789AbCdEf0123456789AbCdEf01");
    registerLogSecret(""); // ignored: must not blank every line
    brivetLog(u"Brivet: %@ and %@", {"Bearer AbCdEf0123456789AbCdEf0123456789AbCdEf01", "plain"});
    EXPECT_EQ(capture.lines(), QStringList{"Brivet: Bearer <redacted> and plain"});
}
