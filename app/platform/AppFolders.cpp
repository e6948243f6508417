#include "AppFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString AppFolders::documents()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Documents");
}

QString AppFolders::temporary()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

QString AppFolders::settingsFile()
{
    // QSettings' own default place would need an organisation name, which Brivet leaves empty.
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/Brivet.conf");
}

bool AppFolders::prepareFolderOf(const QString &filePath)
{
    const QString folder = QFileInfo(filePath).absolutePath();
    if (QFileInfo(folder).isDir())
        return true;
    if (!QDir().mkpath(folder))
        return false;
    if (QDir::cleanPath(folder) == QDir::cleanPath(temporary()))
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return true;
}
