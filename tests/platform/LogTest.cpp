#include "QtPrinters.h"
#include "Log.h"
#include "LogCapture.h"

#include <QTemporaryFile>
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace {

struct FormatCase {
    const char *name;
    QString format;
    std::vector<LogArgument> arguments;
    QString expected;
};

QString format(const FormatCase &c)
{
    // initializer_list cannot be built from a vector, so dispatch on the count.
    const auto &a = c.arguments;
    switch (a.size()) {
    case 0: return formatLogLine(c.format);
    case 1: return formatLogLine(c.format, {a[0]});
    case 2: return formatLogLine(c.format, {a[0], a[1]});
    default: return formatLogLine(c.format, {a[0], a[1], a[2], a[3], a[4]});
    }
}

} // namespace

TEST(Log, FormatsTextsIntegersAndPercentSigns)
{
    const std::vector<FormatCase> cases = {
        {"text", "Brivet: ArXiv request URL: %@", {QString("https://x/y?q=a%20b")}, "Brivet: ArXiv request URL: https://x/y?q=a%20b"},
        {"integers", "Brivet: ArXiv response: %d bytes, status: %d", {231490, 200}, "Brivet: ArXiv response: 231490 bytes, status: 200"},
        {"negative and 64-bit", "%d %d", {-1, qint64(1) << 40}, "-1 1099511627776"},
        {"percent", "100%% %@", {QString("sure")}, "100% sure"},
        {"missing argument stays visible", "a %@ b %d", {QString("x")}, "a x b %d"},
        {"trailing percent", "50%", {}, "50%"},
        {"unknown specifier", "%s %@", {QString("t")}, "%s t"},
        {"five texts", "%@,%@,%@,%@,%@", {QString("yes"), QString("no"), QString("yes"), QString("no"), QString("no URL")}, "yes,no,yes,no,no URL"},
        {"argument with format characters is not re-read", "%@ %d", {QString("%d"), 3}, "%d 3"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(format(c), c.expected) << c.name;
}

TEST(Log, LineBreaksInArgumentsCannotStartANewLine)
{
    EXPECT_EQ(formatLogLine(u"Brivet: Capturing title: %@", {QString("Wrapped\n  title\r")}),
              "Brivet: Capturing title: Wrapped\\n  title\\r");
}

TEST(Log, RegisteredSecretNeverReachesALine)
{
    LogCapture capture;
    const QString token = "AbCdEf0123456789AbCdEf0123456789AbCdEf01";
    registerLogSecret(token);
    registerLogSecret(QString()); // ignored, must not blank every line
    brivetLog(u"Brivet: header %@ and again %@", {"Bearer " + token, token});
    ASSERT_EQ(capture.lines().size(), 1);
    EXPECT_EQ(capture.lines().first(), "Brivet: header Bearer <redacted> and again <redacted>");
}

TEST(Log, WritesExactlyOneLineToStandardError)
{
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    ASSERT_GE(saved, 0);
    ASSERT_GE(dup2(file.handle(), STDERR_FILENO), 0);
    brivetLog(u"Brivet: Parsed %d papers from ADS JSON", {28});
    brivetLog(u"Brivet: ümlaut %@", {"Wübben"});
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    file.seek(0);
    EXPECT_EQ(QString::fromUtf8(file.readAll()),
              "Brivet: Parsed 28 papers from ADS JSON\nBrivet: ümlaut Wübben\n");
}
