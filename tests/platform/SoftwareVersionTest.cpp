#include "QtPrinters.h"
#include "SoftwareVersion.h"

#include <gtest/gtest.h>

namespace {

SoftwareVersion version(const char *text)
{
    const auto parsed = SoftwareVersion::parse(QString::fromUtf8(text));
    EXPECT_TRUE(parsed.has_value()) << text;
    return parsed.value_or(*SoftwareVersion::parse(u"0"));
}

} // namespace

TEST(SoftwareVersionTest, ReadsOnlyReleaseNumbers)
{
    for (const char *text : {"1", "1.0.0", "v2.10", " 3.4.5 \n", "1.0.0-beta.2", "1.0.0-rc-1+git.abc", "0.0.1+20260504",
                             "999999999.1"})
        EXPECT_TRUE(SoftwareVersion::parse(QString::fromUtf8(text))) << text;
    for (const char *text : {"", " ", "v", "1.", ".1", "1..2", "1.x", "one", "1.0 beta", "1.0-", "1.0-beta..1",
                             "1.0+", "1.0-beta!", "-1.0", "1,0", "1234567890.0", "1.2.3.4.5.6.7.8.9", "\u0661.0"})
        EXPECT_FALSE(SoftwareVersion::parse(QString::fromUtf8(text))) << text;
    EXPECT_EQ(version(" v1.2 ").text(), "v1.2");
}

TEST(SoftwareVersionTest, OrdersAsReleasesAreMade)
{
    // Each is lower than the next.
    const char *ascending[] = {"0.9", "0.10", "1.0.0-alpha", "1.0.0-alpha.1", "1.0.0-alpha.beta", "1.0.0-beta",
                               "1.0.0-beta.2", "1.0.0-beta.11", "1.0.0-rc.1", "1.0.0", "1.0.1", "1.1", "1.10",
                               "2", "10.0"};
    for (size_t i = 0; i + 1 < std::size(ascending); ++i) {
        EXPECT_LT(version(ascending[i]), version(ascending[i + 1])) << ascending[i] << " < " << ascending[i + 1];
        EXPECT_GT(version(ascending[i + 1]), version(ascending[i])) << ascending[i + 1] << " > " << ascending[i];
    }
    // Spellings of one version.
    const std::pair<const char *, const char *> same[] = {
        {"1.2", "1.2.0"}, {"1.2.0", "v1.2.0.0"}, {"01.2", "1.2"}, {"1.0.0+build.7", "1.0.0"}, {"1.0-rc.01", "1.0-rc.1"}};
    for (const auto &[a, b] : same)
        EXPECT_EQ(version(a), version(b)) << a << " == " << b;
}
