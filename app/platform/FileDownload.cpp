#include "FileDownload.h"

#include "BrivetError.h"
#include "FileWriter.h"
#include "HttpStatusError.h"
#include "TransportError.h"
#include "UrlSession.h"

#include <limits>
#include <memory>
#include <optional>

namespace {

UrlSession &downloads()
{
    // The body goes to disk, so no size limit applies.
    static UrlSession session(FileDownload::defaultIdleTimeout, std::numeric_limits<qint64>::max());
    return session;
}

bool isWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

} // namespace

QCoro::Task<void> FileDownload::toFile(QUrl url, QString destination, std::chrono::milliseconds idleTimeout)
{
    // Only an HTTP answer can be one with status 200. Other schemes are not even asked: a
    // file: address of a device that never ends would otherwise be read for ever.
    if (!isWebAddress(url))
        throw HttpStatusError(0);

    std::unique_ptr<FileWriter> file;
    std::optional<BrivetError> writeError;
    UrlSession::BodySink write = [&](int status, const QByteArray &piece) {
        if (status != 200) // judged once the answer is complete; nothing is written
            return true;
        try {
            if (!file)
                file = std::make_unique<FileWriter>(destination);
            file->write(piece);
        } catch (const BrivetError &error) {
            writeError = error;
            file.reset();
            return false;
        }
        return true;
    };

    int status = 0;
    try {
        status = co_await downloads().stream(std::move(url), std::move(write), idleTimeout);
    } catch (const TransportError &) {
        if (writeError) // the session ended the download on our request
            throw *writeError;
        throw;
    }
    if (status != 200)
        throw HttpStatusError(status);
    if (!file) // an empty body
        file = std::make_unique<FileWriter>(destination);
    file->commit();
}
