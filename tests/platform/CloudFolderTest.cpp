#include "CloudFolder.h"
#include "EnvironmentVariable.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(CloudFolder, IdentityFollowsTheEnvironment)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    EnvironmentVariable container(CloudFolder::environmentVariable, std::nullopt);
    EXPECT_FALSE(CloudFolder::hasIdentity());
    EXPECT_FALSE(CloudFolder::container());

    container.set("");
    EXPECT_FALSE(CloudFolder::hasIdentity());

    container.set(dir.path().toUtf8());
    EXPECT_TRUE(CloudFolder::hasIdentity());
    EXPECT_EQ(CloudFolder::container(), QFileInfo(dir.path()).absoluteFilePath());

    // An identity whose container cannot be located.
    container.set((dir.path() + "/missing").toUtf8());
    EXPECT_TRUE(CloudFolder::hasIdentity());
    EXPECT_FALSE(CloudFolder::container());
}
