#pragma once

#include <QUrl>

// Addresses that Brivet hands to other programs. A paper's web address and a note's links
// can come from anywhere (a dropped paper, a feed, a hand import), and the desktop's opener
// runs whatever a scheme is tied to: a file: address of a launcher starts a program. So
// only the schemes of web pages, and for a note's links also of mail, are handed on;
// anything else opens nothing and leaves one line in the log.
class ExternalLink {
public:
    enum class Origin {
        webPage, // "Open in Browser": http and https
        note,    // a link clicked in a note: http, https and mailto
    };

    static bool isAllowed(Origin origin, const QUrl &url);
    // Hands an allowed address to Workspace::shared(); returns whether it did.
    static bool open(Origin origin, const QUrl &url);
};
