#include "AppFolders.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

QString AppFolders::documents()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Documents");
}

QString AppFolders::temporary()
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!QFileInfo::exists(path) && QDir().mkpath(path))
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}
