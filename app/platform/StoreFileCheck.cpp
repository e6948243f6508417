#include "StoreFileCheck.h"

#include "BrivetError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <unistd.h>

namespace {

constexpr qint64 headerSize = 100;

quint32 bigEndian32(const QByteArray &header, int offset)
{
    return qFromBigEndian<quint32>(header.constData() + offset);
}

quint32 pageSize(const QByteArray &header)
{
    const quint32 raw = qFromBigEndian<quint16>(header.constData() + 16);
    return raw == 1 ? 65536u : raw;
}

} // namespace

StoreFileCheck::Outcome StoreFileCheck::inspect(const QString &folder, const QString &filePath)
{
    if (!QDir().mkpath(folder))
        throw BrivetError(QStringLiteral("The library folder %1 could not be created.").arg(folder));
    // SQLite keeps its journal beside the file, so a folder we cannot write is
    // as fatal as a file we cannot write.
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        throw BrivetError(QStringLiteral("The library folder %1 is not writable.").arg(folder));

    const QFileInfo info(filePath);
    if (!info.exists())
        return Outcome::noFile;
    if (!info.isFile())
        throw BrivetError(QStringLiteral("The library file %1 cannot be read: it is not a file.").arg(filePath));

    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        throw BrivetError(QStringLiteral("The library file %1 cannot be read: %2.").arg(filePath, file.errorString()));
    if (::access(QFile::encodeName(filePath).constData(), W_OK) != 0)
        throw BrivetError(QStringLiteral("The library file %1 is not writable.").arg(filePath));

    const qint64 size = file.size();
    if (size == 0) {
        // SQLite makes the file before it writes the first page; a zero-length
        // file is what an interrupted first launch leaves, and it holds nothing to lose.
        return Outcome::existingFile;
    }
    const QByteArray header = file.read(headerSize);
    if (header.size() < headerSize || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        throw BrivetError(QStringLiteral("The file %1 is not a Brivet library: it is not a database.").arg(filePath));

    // The page count in the header is trustworthy only when its version stamp
    // matches the change counter. Pages still waiting in the journal may
    // legitimately lie beyond the end of the file.
    const quint32 changeCounter = bigEndian32(header, 24);
    const quint32 pageCount = bigEndian32(header, 28);
    const quint32 validFor = bigEndian32(header, 92);
    const QFileInfo wal(filePath + QStringLiteral("-wal"));
    const bool walHasPages = wal.exists() && wal.size() > 0;
    const qint64 expected = qint64(pageCount) * pageSize(header);
    if (pageCount > 0 && validFor == changeCounter && !walHasPages && size < expected) {
        throw BrivetError(QStringLiteral("The library file %1 is damaged: it is shorter than its header says "
                                         "(%2 of %3 bytes).")
                              .arg(filePath)
                              .arg(size)
                              .arg(expected));
    }
    return Outcome::existingFile;
}
