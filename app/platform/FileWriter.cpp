#include "FileWriter.h"

#include "BrivetError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace {

std::atomic<FileWriter::WriteCall> &writeCall()
{
    static std::atomic<FileWriter::WriteCall> call{&::write};
    return call;
}

BrivetError systemError(int code)
{
    return BrivetError(QString::fromStdString(std::generic_category().message(code)));
}

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

} // namespace

FileWriter::FileWriter(QString destination) : m_destination(std::move(destination))
{
    const QFileInfo target(m_destination);
    // Hidden, so that a file still being written never counts as a paper's PDF.
    const QString prefix = target.absolutePath() + QStringLiteral("/.") + target.fileName() + QLatin1Char('.');
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = prefix + QString::number(QRandomGenerator::global()->generate64(), 36);
        // 0666 before the umask, as any new file of the user.
        const int descriptor = ::open(encoded(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            m_descriptor = descriptor;
            m_temporary = candidate;
            return;
        }
        if (errno != EEXIST)
            throw systemError(errno);
    }
    throw systemError(EEXIST);
}

FileWriter::~FileWriter()
{
    discard();
}

FileWriter::WriteCall FileWriter::setWriteCall(WriteCall call)
{
    return writeCall().exchange(call ? call : &::write);
}

void FileWriter::write(QByteArrayView bytes)
{
    if (m_descriptor < 0)
        throw systemError(EBADF);
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    const WriteCall call = writeCall().load();
    while (left > 0) {
        const ssize_t written = call(m_descriptor, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            // A regular file takes nothing only when the disk has no room for it.
            const int code = written < 0 ? errno : ENOSPC;
            discard();
            throw systemError(code);
        }
        data += written;
        left -= written;
    }
}

void FileWriter::commit()
{
    if (m_descriptor < 0)
        throw systemError(EBADF);
    // Some file systems report a full disk only here, when the data leaves the cache.
    if (::fsync(m_descriptor) != 0 && errno != EINVAL && errno != EROFS) {
        const int code = errno;
        discard();
        throw systemError(code);
    }
    const int descriptor = std::exchange(m_descriptor, -1);
    if (::close(descriptor) != 0 && errno != EINTR) {
        const int code = errno;
        discard();
        throw systemError(code);
    }
    if (::rename(encoded(m_temporary).constData(), encoded(m_destination).constData()) != 0) {
        const int code = errno;
        discard();
        throw systemError(code);
    }
    m_temporary.clear();
}

void FileWriter::discard()
{
    if (m_descriptor >= 0)
        ::close(std::exchange(m_descriptor, -1));
    if (!m_temporary.isEmpty())
        ::unlink(encoded(std::exchange(m_temporary, QString())).constData());
}
