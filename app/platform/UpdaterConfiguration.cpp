#include "UpdaterConfiguration.h"

#include "AppFolders.h"

// Both come from the build (see this folder's CMakeLists.txt); only this file
// is compiled with them, so changing the feed rebuilds nothing else.
#ifndef BRIVET_VERSION
#error "BRIVET_VERSION must be defined by the build"
#endif
#ifndef BRIVET_UPDATE_FEED_URL
#error "BRIVET_UPDATE_FEED_URL must be defined by the build"
#endif

UpdaterConfiguration UpdaterConfiguration::standard()
{
    UpdaterConfiguration configuration;
    const QString fromEnvironment = qEnvironmentVariable(feedEnvironmentVariable);
    configuration.feedAddress = fromEnvironment.isEmpty() ? builtFeedAddress() : fromEnvironment;
    configuration.runningVersion = builtVersion();
    configuration.settingsFile = AppFolders::settingsFile();
    return configuration;
}

QString UpdaterConfiguration::builtFeedAddress()
{
    return QStringLiteral(BRIVET_UPDATE_FEED_URL);
}

QString UpdaterConfiguration::builtVersion()
{
    return QStringLiteral(BRIVET_VERSION);
}
