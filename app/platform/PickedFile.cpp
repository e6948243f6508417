#include "PickedFile.h"

#include <QFile>
#include <QFileInfo>

bool PickedFile::canAccess(const QUrl &url)
{
    if (!url.isLocalFile())
        return false;
    const QString path = url.toLocalFile();
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}
