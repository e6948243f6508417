#include "InternetDate.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

TEST(InternetDate, ReadsZonedDateTimesIntoUtcAndRefusesEverythingLoose)
{
    for (const auto &[text, utc] : {std::pair{"2022-02-24T15:05:19Z", "2022-02-24T15:05:19Z"},
                                    {"2019-01-04T00:00:00-05:00", "2019-01-04T05:00:00Z"},
                                    {"2024-02-29T00:30:00+01:00", "2024-02-28T23:30:00Z"}}) {
        const auto date = InternetDate::parse(QString::fromLatin1(text));
        ASSERT_TRUE(date) << text;
        EXPECT_EQ(date->timeSpec(), Qt::UTC);
        EXPECT_EQ(date->toString(Qt::ISODate), utc);
    }
    // A missing zone and fractional seconds first, then anything else not exactly of the form.
    for (const char *text : {"2022-02-24T15:05:19", "2022-02-24T15:05:19.5Z", "2022-02-24T15:05:19.123+01:00",
                             "2022-02-24", "2022-02-24T15:05Z", "2022-02-24 15:05:19Z", "2022-02-24t15:05:19z",
                             "2022-02-24T15:05:19+0100", "2023-02-29T00:00:00Z", "2022-13-01T00:00:00Z",
                             "2022-02-24T24:00:00Z", "2022-02-24T23:59:60Z", "2022-02-24T12:00:00+24:00",
                             "0000-01-01T00:00:00Z", " 2022-02-24T15:05:19Z", "２０２２-02-24T15:05:19Z", ""})
        EXPECT_FALSE(InternetDate::parse(QString::fromUtf8(text))) << text;
}
