#include "Log.h"
#include "LogCapture.h"
#include "QtPrinters.h"

#include <QTemporaryFile>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(Log, FormatsTextsAndIntegersOnOneLine)
{
    EXPECT_EQ(formatLogLine(u"Brivet: ArXiv response: %d bytes, status: %d", {231490, 200}),
              "Brivet: ArXiv response: 231490 bytes, status: 200");
    EXPECT_EQ(formatLogLine(u"%@ %d 100%% %@", {"%d", qint64(1) << 40}), "%d 1099511627776 100% %@");
    // A title from the network must not be able to start a line of its own.
    EXPECT_EQ(formatLogLine(u"Brivet: Capturing title: %@", {"Wrapped\n  title\r"}),
              "Brivet: Capturing title: Wrapped\\n  title\\r");
}

TEST(Log, RegisteredSecretNeverReachesALine)
{
    LogCapture capture;
    registerLogSecret("AbCdEf0123456789AbCdEf0123456789AbCdEf01");
    registerLogSecret(""); // ignored: must not blank every line
    brivetLog(u"Brivet: %@ and %@", {"Bearer AbCdEf0123456789AbCdEf0123456789AbCdEf01", "plain"});
    EXPECT_EQ(capture.lines(), QStringList{"Brivet: Bearer <redacted> and plain"});
}

TEST(Log, WritesExactlyOneLineEachToStandardError)
{
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    const int saved = dup(STDERR_FILENO);
    dup2(file.handle(), STDERR_FILENO);
    brivetLog(u"Brivet: Parsed %d papers from ADS JSON", {28});
    brivetLog(u"Brivet: %@", {"Wübben"});
    dup2(saved, STDERR_FILENO);
    close(saved);
    file.seek(0);
    EXPECT_EQ(QString::fromUtf8(file.readAll()), "Brivet: Parsed 28 papers from ADS JSON\nBrivet: Wübben\n");
}
