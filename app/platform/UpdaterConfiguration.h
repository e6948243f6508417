#pragma once

#include "UpdateFeed.h"
#include "UrlSession.h"

#include <QString>

#include <chrono>

// Where the updater looks, what it compares against and how often it looks
// by itself. standard() is the application's; tests make their own.
struct UpdaterConfiguration {
    static constexpr const char *feedEnvironmentVariable = "BRIVET_UPDATE_FEED_URL";

    // Empty: no feed, so no check can start.
    QString feedAddress;
    // The version of the running program, as SoftwareVersion reads it.
    QString runningVersion;
    QString settingsFile;
    std::chrono::milliseconds idleTimeout = UrlSession::defaultIdleTimeout;
    qint64 maximumFeedSize = UpdateFeed::defaultMaximumSize;
    // Scheduled checks run at most this often.
    std::chrono::seconds checkInterval = std::chrono::hours(24);

    // The feed of BRIVET_UPDATE_FEED_URL in the environment when it is set
    // and not empty, else the one the build was configured with; the
    // project's version; Brivet's settings file.
    static UpdaterConfiguration standard();

    static QString builtFeedAddress();
    static QString builtVersion();
};
