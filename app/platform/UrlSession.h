#pragma once

#include "HttpResponse.h"

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QUrl>
#include <qcoro/qcorotask.h>

#include <chrono>
#include <optional>
#include <utility>

class QNetworkAccessManager;

// Plain HTTP GETs, awaited with co_await. One session serves many requests so
// connections are reused; requests never block the calling thread.
//
// The idle time-out is the longest wait for the next data of an answer (not a
// limit on the whole transfer). A request may bring its own; then the shorter
// of the two applies, because both limits are meant to hold.
//
// Failures that leave no complete answer (refused, unknown host, TLS, idle
// time-out, cancellation, a connection cut mid-body, a body over the size
// limit) throw TransportError. Any HTTP status, 4xx and 5xx included, is an
// answer, not an error: the caller judges it.
class UrlSession {
public:
    using Headers = QList<std::pair<QByteArray, QByteArray>>;

    static constexpr std::chrono::milliseconds defaultIdleTimeout{30'000};
    // An answer larger than this ends the request instead of exhausting memory.
    static constexpr qint64 defaultMaximumBodySize = qint64(64) * 1024 * 1024;

    explicit UrlSession(std::chrono::milliseconds idleTimeout = defaultIdleTimeout,
                        qint64 maximumBodySize = defaultMaximumBodySize);
    ~UrlSession();
    UrlSession(const UrlSession &) = delete;
    UrlSession &operator=(const UrlSession &) = delete;

    std::chrono::milliseconds idleTimeout() const { return m_idleTimeout; }
    qint64 maximumBodySize() const { return m_maximumBodySize; }

    // Sends a GET with exactly the given header fields (besides those HTTP
    // itself needs) and waits for the whole body. Call it on a thread with a
    // running event loop; it resumes on that thread.
    QCoro::Task<HttpResponse> get(QUrl url, Headers headers = {},
                                  std::optional<std::chrono::milliseconds> requestTimeout = std::nullopt);

private:
    QNetworkAccessManager *managerForCurrentThread();

    std::chrono::milliseconds m_idleTimeout;
    qint64 m_maximumBodySize;
    QPointer<QNetworkAccessManager> m_manager;
};
