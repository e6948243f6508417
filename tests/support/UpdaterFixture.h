#pragma once

#include "FakeUpdaterUserDriver.h"
#include "LocalHttpServer.h"
#include "TemporaryDataFolder.h"
#include "UpdaterConfiguration.h"
#include "UpdaterSettings.h"

// A feed server, a settings file of its own and a driver that answers at
// once, for tests of the updater and of what observes it. Make it after the
// application object: the server needs one.
struct UpdaterFixture {
    LocalHttpServer server;
    TemporaryDataFolder folder;
    FakeUpdaterUserDriver driver;

    // Version 1.0.0 reading the given feed; an empty one means no feed.
    UpdaterConfiguration configuration(const QString &feed) const
    {
        return {.feedAddress = feed, .runningVersion = "1.0.0", .settingsFile = folder.filePath("Brivet.conf")};
    }
    UpdaterConfiguration configuration() const { return configuration(server.url("/feed.xml").toString()); }
    UpdaterSettings settings() const { return UpdaterSettings(configuration().settingsFile); }
};
