#pragma once

#include "LocalHttpServer.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Update feeds for tests, written as a release manager would publish them.
struct UpdateFeedEntry {
    QString version;
    QString download = QStringLiteral("https://example.org/brivet/download");
    QString notes = QStringLiteral("https://example.org/brivet/notes.html");
};

inline QByteArray updateFeedDocument(const QList<UpdateFeedEntry> &entries)
{
    QByteArray items;
    for (const UpdateFeedEntry &e : entries) {
        items += "    <item>\n      <title>Brivet " + e.version.toHtmlEscaped().toUtf8() + "</title>\n";
        items += "      <brivet:version>" + e.version.toHtmlEscaped().toUtf8() + "</brivet:version>\n";
        if (!e.notes.isEmpty())
            items += "      <link>" + e.notes.toHtmlEscaped().toUtf8() + "</link>\n";
        if (!e.download.isEmpty())
            items += "      <brivet:downloadLink>" + e.download.toHtmlEscaped().toUtf8() + "</brivet:downloadLink>\n";
        items += "      <pubDate>Mon, 04 May 2026 10:00:00 +0000</pubDate>\n    </item>\n";
    }
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<rss version=\"2.0\" xmlns:brivet=\"https://quendo.com/xmlns/brivet-updates\">\n"
           "  <channel>\n    <title>Brivet</title>\n    <link>https://example.org/brivet</link>\n"
           "    <description>Releases of Brivet</description>\n"
           + items + "  </channel>\n</rss>\n";
}

inline LocalHttpServer::Response updateFeedResponse(const QByteArray &document)
{
    return {.body = document, .headers = {{"Content-Type", "application/rss+xml"}}};
}
