#include "FileDownload.h"

#include "BrivetError.h"
#include "HttpStatusError.h"
#include "TransportError.h"
#include "UrlSession.h"

#include <QSaveFile>

#include <limits>

namespace {

UrlSession &downloads()
{
    // The body goes to disk, so no size limit applies.
    static UrlSession session(FileDownload::defaultIdleTimeout, std::numeric_limits<qint64>::max());
    return session;
}

} // namespace

QCoro::Task<void> FileDownload::toFile(QUrl url, QString destination, std::chrono::milliseconds idleTimeout)
{
    QSaveFile file(destination);
    bool opened = false;
    QString writeError;
    UrlSession::BodySink write = [&](int status, const QByteArray &piece) {
        if (status != 200) // judged once the answer is complete; nothing is written
            return true;
        if (!opened) {
            if (!file.open(QIODevice::WriteOnly)) {
                writeError = file.errorString();
                return false;
            }
            opened = true;
        }
        if (file.write(piece) != piece.size()) {
            writeError = file.errorString();
            return false;
        }
        return true;
    };

    int status = 0;
    try {
        status = co_await downloads().stream(std::move(url), std::move(write), idleTimeout);
    } catch (const TransportError &) {
        if (!writeError.isEmpty()) // the session ended the download on our request
            throw BrivetError(writeError);
        throw;
    }
    if (status != 200)
        throw HttpStatusError(status);
    if (!opened && !file.open(QIODevice::WriteOnly))
        throw BrivetError(file.errorString());
    if (!file.commit())
        throw BrivetError(file.errorString());
}
