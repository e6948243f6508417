#pragma once

#include "HttpResponse.h"

#include <QByteArray>
#include <QList>
#include <QUrl>
#include <qcoro/qcorotask.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

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
//
// A session ends every request still in flight with the cancellation error
// when it is destroyed, so no awaiting coroutine is left suspended for good.
// A session that outlives the application object (a process-wide one) is
// closed the same way while the application is being destroyed, and fails
// any later request at once: nothing of the network is left for a static
// destructor to tear down after Qt is gone.
class UrlSession {
public:
    using Headers = QList<std::pair<QByteArray, QByteArray>>;
    // Takes each piece of an answer's body as it arrives, with the answer's
    // status (0 when not HTTP). Returning false ends the request at once, with
    // the cancellation error.
    using BodySink = std::function<bool(int status, const QByteArray &piece)>;

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

    // Like get(), but hands the body to sink piece by piece instead of holding
    // it; gives the status once the answer is complete.
    QCoro::Task<int> stream(QUrl url, BodySink sink,
                            std::optional<std::chrono::milliseconds> requestTimeout = std::nullopt);

private:
    struct State;
    struct Live;

    QCoro::Task<int> fetch(QUrl url, Headers headers, std::optional<std::chrono::milliseconds> requestTimeout,
                           BodySink sink);
    static void close(State &state);
    // Every session alive, for the application's teardown.
    static Live &live();
    static void watchApplicationTeardown();
    static void closeAllAtTeardown();

    std::chrono::milliseconds m_idleTimeout;
    qint64 m_maximumBodySize;
    // Shared with every request in flight, which may outlive the session by
    // the moment it takes to resume with the cancellation error.
    std::shared_ptr<State> m_state;
};
