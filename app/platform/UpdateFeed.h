#pragma once

#include "UpdateFeedItem.h"
#include "UrlSession.h"

#include <QList>
#include <QString>
#include <qcoro/qcorotask.h>

#include <chrono>
#include <optional>

// The update feed at one address, read over HTTP(S). Waiting for the server
// never blocks the calling thread (which needs an event loop); the document
// is parsed on a worker thread.
class UpdateFeed {
public:
    // A feed is a few kilobytes; anything far larger is not one.
    static constexpr qint64 defaultMaximumSize = qint64(2) * 1024 * 1024;

    explicit UpdateFeed(QString address,
                        std::chrono::milliseconds idleTimeout = UrlSession::defaultIdleTimeout,
                        qint64 maximumSize = defaultMaximumSize);

    const QString &address() const { return m_address; }

    // The release with the highest version the feed lists (the first of
    // equals). Throws UpdateError for an unusable address, an HTTP status
    // other than 2xx or a document without a usable item, and the session's
    // TransportError unchanged.
    QCoro::Task<UpdateFeedItem> newestItem();

    // The highest version of a non-empty list, the first of equals.
    static const UpdateFeedItem &newestOf(const QList<UpdateFeedItem> &items);

    // The text as an absolute HTTP or HTTPS address with a host, or nothing.
    // Feeds and their links are only ever such addresses: a feed must never
    // make the desktop open a local file or start a program.
    static std::optional<QUrl> webAddress(const QString &text);

private:
    QString m_address;
    UrlSession m_session;
};
