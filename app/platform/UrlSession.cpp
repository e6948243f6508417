#include "UrlSession.h"

#include "TransportError.h"

#include <QCoreApplication>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>
#include <qcoro/qcoronetworkreply.h>

#include <algorithm>
#include <memory>

struct UrlSession::State {
    struct Flight {
        QNetworkReply *reply;
        QThread *thread;
    };

    QMutex mutex;
    bool closed = false;
    // Made by the first request; it serves the thread that made it.
    QPointer<QNetworkAccessManager> manager;
    // Each request removes itself (under the mutex) before its reply may go away.
    QList<Flight> flights;
};

struct UrlSession::Live {
    QMutex mutex;
    QList<std::weak_ptr<State>> states;
    // The application whose destruction closes every live session.
    QCoreApplication *watched = nullptr;
};

namespace {

struct DeleteLater {
    void operator()(QObject *object) const { object->deleteLater(); }
};

TransportError cancelledError()
{
    return TransportError(TransportError::Kind::cancelled, QStringLiteral("The request was cancelled."));
}

TransportError::Kind kindOf(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return TransportError::Kind::connectionRefused;
    case QNetworkReply::HostNotFoundError:
        return TransportError::Kind::hostNotFound;
    case QNetworkReply::SslHandshakeFailedError:
        return TransportError::Kind::secureConnectionFailed;
    case QNetworkReply::TimeoutError:
        return TransportError::Kind::timedOut;
    case QNetworkReply::OperationCanceledError:
        return TransportError::Kind::cancelled;
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        return TransportError::Kind::connectionLost;
    default:
        return TransportError::Kind::other;
    }
}

// Errors below the HTTP layer (and proxy failures) leave no answer to judge,
// whatever status line may have arrived before them.
bool isTransportLevel(QNetworkReply::NetworkError error)
{
    return error != QNetworkReply::NoError && int(error) < 200;
}

QString sizeText(qint64 bytes)
{
    if (bytes % (1024 * 1024) == 0)
        return QStringLiteral("%1 MiB").arg(bytes / (1024 * 1024));
    return QStringLiteral("%1 bytes").arg(bytes);
}

int statusOf(const QNetworkReply &reply)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    return status.isValid() ? status.toInt() : 0;
}

} // namespace

UrlSession::UrlSession(std::chrono::milliseconds idleTimeout, qint64 maximumBodySize)
    : m_idleTimeout(idleTimeout), m_maximumBodySize(maximumBodySize), m_state(std::make_shared<State>())
{
    Live &all = live();
    QMutexLocker lock(&all.mutex);
    all.states.append(m_state);
}

UrlSession::~UrlSession()
{
    {
        Live &all = live();
        QMutexLocker lock(&all.mutex);
        all.states.removeIf([this](const std::weak_ptr<State> &state) {
            return state.expired() || state.lock() == m_state;
        });
    }
    close(*m_state);
}

UrlSession::Live &UrlSession::live()
{
    static Live sessions;
    return sessions;
}

void UrlSession::close(State &state)
{
    QList<QPointer<QNetworkReply>> here;
    QPointer<QNetworkAccessManager> manager;
    {
        QMutexLocker lock(&state.mutex);
        state.closed = true;
        for (const State::Flight &flight : std::as_const(state.flights)) {
            if (flight.thread == QThread::currentThread())
                here.append(flight.reply);
            else // its own thread resumes it; the reply lives until it is deregistered, which waits for this lock
                QMetaObject::invokeMethod(flight.reply, &QNetworkReply::abort, Qt::QueuedConnection);
        }
        state.flights.clear();
        manager = std::exchange(state.manager, nullptr);
    }
    // Each abort resumes its request's coroutine right here, which ends with
    // the cancellation error; none is left waiting for an event loop that may
    // never run again.
    for (const QPointer<QNetworkReply> &reply : std::as_const(here)) {
        if (reply)
            reply->abort();
    }
    if (manager) {
        if (manager->thread() == QThread::currentThread())
            delete manager.data();
        else
            manager->deleteLater();
    }
}

void UrlSession::closeAllAtTeardown()
{
    QList<std::shared_ptr<State>> states;
    {
        Live &all = live();
        QMutexLocker lock(&all.mutex);
        all.watched = nullptr;
        for (const std::weak_ptr<State> &state : std::as_const(all.states)) {
            if (auto alive = state.lock())
                states.append(std::move(alive));
        }
    }
    for (const auto &state : std::as_const(states))
        close(*state);
}

void UrlSession::watchApplicationTeardown()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return;
    Live &all = live();
    QMutexLocker lock(&all.mutex);
    if (all.watched == application)
        return;
    all.watched = application;
    // Post routines run first thing in the application's destructor, while
    // Qt's network machinery still works.
    qAddPostRoutine(&UrlSession::closeAllAtTeardown);
}

QCoro::Task<HttpResponse> UrlSession::get(QUrl url, Headers headers,
                                          std::optional<std::chrono::milliseconds> requestTimeout)
{
    QByteArray body;
    // A named sink: GCC 12 mishandles temporaries passed to a coroutine.
    BodySink collect = [&body](int, const QByteArray &piece) {
        body += piece;
        return true;
    };
    const int status = co_await fetch(std::move(url), std::move(headers), requestTimeout, std::move(collect));
    co_return HttpResponse{status, std::move(body)};
}

QCoro::Task<int> UrlSession::stream(QUrl url, BodySink sink, std::optional<std::chrono::milliseconds> requestTimeout)
{
    return fetch(std::move(url), {}, requestTimeout, std::move(sink));
}

QCoro::Task<int> UrlSession::fetch(QUrl url, Headers headers, std::optional<std::chrono::milliseconds> requestTimeout,
                                   BodySink sink)
{
    const std::shared_ptr<State> state = m_state;
    const qint64 limit = m_maximumBodySize;
    const auto idle = requestTimeout ? std::min(*requestTimeout, m_idleTimeout) : m_idleTimeout;

    QNetworkRequest request(url);
    for (const auto &[name, value] : headers)
        request.setRawHeader(name, value);
    // Qt's own transfer time-out stays off: it reports expiry as a plain
    // cancellation, which the user could not tell from an abort. The idle
    // timer below restarts on every sign of progress instead.
    request.setTransferTimeout(0);

    // A network manager only serves its own thread; a caller on another thread
    // gets one of its own for this request (without connection reuse).
    std::unique_ptr<QNetworkAccessManager, DeleteLater> ownManager;
    std::unique_ptr<QNetworkReply, DeleteLater> reply;
    bool madeManager = false;
    {
        QMutexLocker lock(&state->mutex);
        if (state->closed)
            throw cancelledError();
        if (!state->manager) {
            state->manager = new QNetworkAccessManager();
            madeManager = true;
        }
        QNetworkAccessManager *manager = state->manager;
        if (manager->thread() != QThread::currentThread()) {
            ownManager.reset(new QNetworkAccessManager());
            manager = ownManager.get();
        }
        reply.reset(manager->get(request));
        state->flights.append({reply.get(), QThread::currentThread()});
    }
    if (madeManager)
        watchApplicationTeardown();
    QNetworkReply *r = reply.get();
    const auto deregister = qScopeGuard([&state, r] {
        QMutexLocker lock(&state->mutex);
        state->flights.removeIf([r](const State::Flight &flight) { return flight.reply == r; });
    });

    bool tooLarge = false, timedOut = false, stopped = false;
    qint64 received = 0;
    // Aborts are queued so that the coroutine never resumes (and destroys
    // this timer and the handlers) from inside a signal it is handling.
    const auto abortFor = [r](bool &reason) {
        reason = true;
        QMetaObject::invokeMethod(r, &QNetworkReply::abort, Qt::QueuedConnection);
    };
    const auto take = [&] {
        if (tooLarge || stopped || !r->isOpen())
            return;
        const QByteArray piece = r->readAll();
        if (piece.isEmpty())
            return;
        received += piece.size();
        if (received > limit)
            abortFor(tooLarge);
        else if (!sink(statusOf(*r), piece))
            abortFor(stopped);
    };

    QTimer idleTimer;
    idleTimer.setSingleShot(true);
    idleTimer.setInterval(idle);
    QObject::connect(&idleTimer, &QTimer::timeout, r, [&] { abortFor(timedOut); });
    const auto progress = [&idleTimer] { idleTimer.start(); };
    QObject::connect(r, &QNetworkReply::metaDataChanged, &idleTimer, progress);
    QObject::connect(r, &QNetworkReply::downloadProgress, &idleTimer, progress);
    QObject::connect(r, &QNetworkReply::uploadProgress, &idleTimer, progress);
    QObject::connect(r, &QNetworkReply::encrypted, &idleTimer, progress);
    idleTimer.start();

    QObject::connect(r, &QNetworkReply::metaDataChanged, r, [&] {
        const QVariant length = r->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limit && !tooLarge)
            abortFor(tooLarge);
    });
    QObject::connect(r, &QNetworkReply::readyRead, r, take);
    co_await r;
    idleTimer.stop();
    r->disconnect();

    const auto tooLargeError = [limit] {
        return TransportError(TransportError::Kind::bodyTooLarge,
                              QStringLiteral("The answer is larger than %1.").arg(sizeText(limit)));
    };
    if (tooLarge)
        throw tooLargeError();
    if (timedOut)
        throw TransportError(TransportError::Kind::timedOut, QStringLiteral("The request timed out."));
    if (stopped)
        throw cancelledError();
    const QNetworkReply::NetworkError error = r->error();
    const int status = statusOf(*r);
    if (isTransportLevel(error) || (error != QNetworkReply::NoError && status == 0)) {
        if (kindOf(error) == TransportError::Kind::cancelled)
            throw cancelledError();
        throw TransportError(kindOf(error), r->errorString());
    }

    take();
    if (tooLarge)
        throw tooLargeError();
    if (stopped)
        throw cancelledError();
    co_return status;
}
