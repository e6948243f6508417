#include "CloudFolder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(CloudFolder, IdentityFollowsTheEnvironment)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    qunsetenv(CloudFolder::environmentVariable);
    EXPECT_FALSE(CloudFolder::hasIdentity());
    EXPECT_FALSE(CloudFolder::container());

    qputenv(CloudFolder::environmentVariable, "");
    EXPECT_FALSE(CloudFolder::hasIdentity());

    qputenv(CloudFolder::environmentVariable, dir.path().toUtf8());
    EXPECT_TRUE(CloudFolder::hasIdentity());
    EXPECT_EQ(CloudFolder::container(), QFileInfo(dir.path()).absoluteFilePath());

    // An identity whose container cannot be located.
    qputenv(CloudFolder::environmentVariable, (dir.path() + "/missing").toUtf8());
    EXPECT_TRUE(CloudFolder::hasIdentity());
    EXPECT_FALSE(CloudFolder::container());
    qunsetenv(CloudFolder::environmentVariable);
}
