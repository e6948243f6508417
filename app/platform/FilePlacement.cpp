#include "FilePlacement.h"

#include "BrivetError.h"
#include "FileWriter.h"

#include <QFile>

#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

BrivetError systemError(int code)
{
    return BrivetError(QString::fromStdString(std::generic_category().message(code)));
}

// A file being copied can be a large PDF: it is read in pieces, never whole.
constexpr qsizetype pieceSize = 256 * 1024;

} // namespace

void FilePlacement::move(const QString &source, const QString &destination)
{
    if (::rename(QFile::encodeName(source).constData(), QFile::encodeName(destination).constData()) == 0)
        return;
    if (errno != EXDEV)
        throw systemError(errno);
    copy(source, destination);
    ::unlink(QFile::encodeName(source).constData());
}

void FilePlacement::copy(const QString &source, const QString &destination)
{
    if (sameFile(source, destination))
        return;
    QFile input(source);
    const auto unreadable = [&input] {
        return BrivetError(QStringLiteral("The file %1 could not be read: %2").arg(input.fileName(), input.errorString()));
    };
    if (!input.open(QIODevice::ReadOnly))
        throw unreadable();
    FileWriter output(destination);
    QByteArray piece(pieceSize, Qt::Uninitialized);
    for (;;) {
        const qint64 read = input.read(piece.data(), piece.size());
        if (read < 0)
            throw unreadable();
        if (read == 0)
            break;
        output.write(QByteArrayView(piece.constData(), read));
    }
    output.commit();
}

bool FilePlacement::sameFile(const QString &first, const QString &second)
{
    struct stat a, b;
    if (::stat(QFile::encodeName(first).constData(), &a) != 0 || ::stat(QFile::encodeName(second).constData(), &b) != 0)
        return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
