#include "UrlSession.h"

#include "TransportError.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QTimer>
#include <qcoro/qcoronetworkreply.h>

#include <algorithm>
#include <memory>

namespace {

struct DeleteLater {
    void operator()(QObject *object) const { object->deleteLater(); }
};

TransportError::Kind kindOf(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return TransportError::Kind::ConnectionRefused;
    case QNetworkReply::HostNotFoundError:
        return TransportError::Kind::HostNotFound;
    case QNetworkReply::SslHandshakeFailedError:
        return TransportError::Kind::SecureConnectionFailed;
    case QNetworkReply::TimeoutError:
        return TransportError::Kind::TimedOut;
    case QNetworkReply::OperationCanceledError:
        return TransportError::Kind::Cancelled;
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        return TransportError::Kind::ConnectionLost;
    default:
        return TransportError::Kind::Other;
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

} // namespace

UrlSession::UrlSession(std::chrono::milliseconds idleTimeout, qint64 maximumBodySize)
    : m_idleTimeout(idleTimeout), m_maximumBodySize(maximumBodySize)
{
}

UrlSession::~UrlSession()
{
    // The manager belongs to the thread that made it; deleteLater keeps its
    // destruction there even when the session goes away elsewhere.
    if (m_manager)
        m_manager->deleteLater();
}

QNetworkAccessManager *UrlSession::managerForCurrentThread()
{
    if (!m_manager) {
        m_manager = new QNetworkAccessManager();
        return m_manager;
    }
    return m_manager->thread() == QThread::currentThread() ? m_manager.data() : nullptr;
}

QCoro::Task<HttpResponse> UrlSession::get(QUrl url, Headers headers,
                                          std::optional<std::chrono::milliseconds> requestTimeout)
{
    // A network manager only serves its own thread; a caller on another thread
    // gets one of its own for this request (without connection reuse).
    std::unique_ptr<QNetworkAccessManager, DeleteLater> ownManager;
    QNetworkAccessManager *manager = managerForCurrentThread();
    if (!manager) {
        ownManager.reset(new QNetworkAccessManager());
        manager = ownManager.get();
    }

    QNetworkRequest request(url);
    for (const auto &[name, value] : headers)
        request.setRawHeader(name, value);
    const auto idle = requestTimeout ? std::min(*requestTimeout, m_idleTimeout) : m_idleTimeout;
    // Qt's own transfer time-out stays off: it reports expiry as a plain
    // cancellation, which the user could not tell from an abort. The idle
    // timer below restarts on every sign of progress instead.
    request.setTransferTimeout(0);

    std::unique_ptr<QNetworkReply, DeleteLater> reply(manager->get(request));
    QByteArray body;
    bool tooLarge = false;
    const qint64 limit = m_maximumBodySize;
    bool timedOut = false;
    QNetworkReply *r = reply.get();

    QTimer idleTimer;
    idleTimer.setSingleShot(true);
    idleTimer.setInterval(idle);
    // Aborts are queued so that the coroutine never resumes (and destroys
    // this timer and the handlers) from inside a signal it is handling.
    QObject::connect(&idleTimer, &QTimer::timeout, r, [r, &timedOut] {
        timedOut = true;
        QMetaObject::invokeMethod(r, &QNetworkReply::abort, Qt::QueuedConnection);
    });
    const auto progress = [&idleTimer] { idleTimer.start(); };
    QObject::connect(r, &QNetworkReply::metaDataChanged, &idleTimer, progress);
    QObject::connect(r, &QNetworkReply::downloadProgress, &idleTimer, progress);
    QObject::connect(r, &QNetworkReply::uploadProgress, &idleTimer, progress);
    QObject::connect(r, &QNetworkReply::encrypted, &idleTimer, progress);
    idleTimer.start();

    QObject::connect(r, &QNetworkReply::metaDataChanged, r, [r, limit, &tooLarge] {
        const QVariant length = r->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limit && !tooLarge) {
            tooLarge = true;
            QMetaObject::invokeMethod(r, &QNetworkReply::abort, Qt::QueuedConnection);
        }
    });
    QObject::connect(r, &QNetworkReply::readyRead, r, [r, limit, &body, &tooLarge] {
        if (tooLarge)
            return;
        body += r->readAll();
        if (body.size() > limit) {
            tooLarge = true;
            body.clear();
            QMetaObject::invokeMethod(r, &QNetworkReply::abort, Qt::QueuedConnection);
        }
    });
    co_await r;
    idleTimer.stop();
    r->disconnect();

    if (tooLarge) {
        throw TransportError(TransportError::Kind::BodyTooLarge,
                             QStringLiteral("The answer is larger than %1.").arg(sizeText(limit)));
    }
    const QNetworkReply::NetworkError error = r->error();
    const QVariant status = r->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (timedOut)
        throw TransportError(TransportError::Kind::TimedOut, QStringLiteral("The request timed out."));
    if (isTransportLevel(error) || (error != QNetworkReply::NoError && !status.isValid()))
        throw TransportError(kindOf(error), r->errorString());

    body += r->readAll();
    if (body.size() > limit) {
        throw TransportError(TransportError::Kind::BodyTooLarge,
                             QStringLiteral("The answer is larger than %1.").arg(sizeText(limit)));
    }
    co_return HttpResponse{status.isValid() ? status.toInt() : 0, std::move(body)};
}
