#pragma once

#include "SoftwareVersion.h"

#include <QUrl>

// One release as an update feed announces it. Both links are absolute HTTP
// or HTTPS addresses: they are handed to the desktop's opener, which must
// never be pointed at a local file or a program by a feed.
struct UpdateFeedItem {
    SoftwareVersion version;
    QUrl downloadURL;
    // Empty when the feed gives none.
    QUrl releaseNotesURL;
};
