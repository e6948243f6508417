#include "FileDownload.h"

#include "BrivetError.h"
#include "HttpStatusError.h"

#include <QCoreApplication>
#include <QCoro/QCoroNetworkReply>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QSaveFile>

namespace {

QNetworkAccessManager &manager()
{
    // Parented to the application so it goes away before Qt's own teardown.
    static QPointer<QNetworkAccessManager> nam;
    if (!nam)
        nam = new QNetworkAccessManager(QCoreApplication::instance());
    return *nam;
}

int statusOf(const QNetworkReply &reply)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    return status.isValid() ? status.toInt() : 0;
}

struct ReplyDeleter {
    void operator()(QNetworkReply *reply) const
    {
        reply->disconnect();
        reply->deleteLater();
    }
};

} // namespace

QCoro::Task<void> FileDownload::toFile(QUrl url, QString destination, std::chrono::milliseconds idleTimeout)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(int(idleTimeout.count()));
    std::unique_ptr<QNetworkReply, ReplyDeleter> reply(manager().get(request));

    QSaveFile file(destination);
    bool opened = false;
    QString writeError;
    qint64 received = 0;

    auto drain = [&] {
        if (!reply->isOpen())
            return;
        const QByteArray chunk = reply->readAll();
        received += chunk.size();
        if (!writeError.isEmpty() || statusOf(*reply) != 200)
            return;
        if (!opened) {
            if (!file.open(QIODevice::WriteOnly)) {
                writeError = file.errorString();
                reply->abort();
                return;
            }
            opened = true;
        }
        if (file.write(chunk) != chunk.size()) {
            writeError = file.errorString();
            reply->abort();
        }
    };
    QObject::connect(reply.get(), &QNetworkReply::readyRead, reply.get(), drain);

    co_await qCoro(reply.get()).waitForFinished();
    drain();

    if (!writeError.isEmpty())
        throw BrivetError(writeError);
    const int status = statusOf(*reply);
    if (status != 0 && status != 200)
        throw HttpStatusError(status);
    if (reply->error() != QNetworkReply::NoError)
        throw BrivetError(reply->errorString());
    if (status == 0)
        throw HttpStatusError(status);

    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() != received)
        throw BrivetError(QStringLiteral("The download ended after %1 of %2 bytes")
                              .arg(received).arg(length.toLongLong()));

    if (!opened && !file.open(QIODevice::WriteOnly))
        throw BrivetError(file.errorString());
    if (!file.commit())
        throw BrivetError(file.errorString());
}
