#include "QtPrinters.h"
#include "InternetDate.h"

#include <gtest/gtest.h>

TEST(InternetDate, ReadsTheInternetDateTimeFormInUtc)
{
    struct Case {
        const char *text;
        const char *utc; // ISO form of the expected instant
    };
    const Case cases[] = {
        {"2022-02-24T15:05:19Z", "2022-02-24T15:05:19Z"},
        {"2019-01-04T00:00:00-05:00", "2019-01-04T05:00:00Z"},
        {"2020-01-15T00:30:00+01:00", "2020-01-14T23:30:00Z"},
        {"2024-02-29T23:59:59Z", "2024-02-29T23:59:59Z"},
        {"0001-01-01T00:00:00Z", "0001-01-01T00:00:00Z"},
    };
    for (const auto &c : cases) {
        const auto date = InternetDate::parse(QString::fromLatin1(c.text));
        ASSERT_TRUE(date.has_value()) << c.text;
        EXPECT_EQ(date->timeSpec(), Qt::UTC) << c.text;
        EXPECT_EQ(date->toString(Qt::ISODate), c.utc) << c.text;
    }
}

TEST(InternetDate, RefusesEverythingElse)
{
    const char *refused[] = {
        "2022-02-24T15:05:19",         // no zone
        "2022-02-24T15:05:19.5Z",      // fractional seconds
        "2022-02-24T15:05:19.123+01:00",
        "2022-02-24",                  // no time
        "2022-02-24T15:05Z",           // no seconds
        "2022-02-24 15:05:19Z",        // space for T
        "2022-02-24t15:05:19z",        // lower case
        "2022-02-24T15:05:19+0100",    // offset without colon
        "2022-02-24T15:05:19+01",
        "2022-02-30T00:00:00Z",        // no such day
        "2023-02-29T00:00:00Z",
        "2022-13-01T00:00:00Z",
        "2022-00-10T00:00:00Z",
        "2022-02-24T24:00:00Z",
        "2022-02-24T23:60:00Z",
        "2022-02-24T23:59:60Z",        // leap second: not representable
        "2022-02-24T12:00:00+24:00",
        "0000-01-01T00:00:00Z",
        " 2022-02-24T15:05:19Z",
        "2022-02-24T15:05:19Z ",
        "+2022-02-24T15:05:1Z",
        "２０２２-02-24T15:05:19Z",     // non-ASCII digits
        "",
    };
    for (const char *text : refused)
        EXPECT_FALSE(InternetDate::parse(QString::fromUtf8(text)).has_value()) << text;
}
