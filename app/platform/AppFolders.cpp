#include "AppFolders.h"

#include "BrivetError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>

#include <filesystem>
#include <system_error>

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

QString AppFolders::newDownloadFile()
{
    const QString path = QDir(temporary()).filePath(QStringLiteral(".download-")
                                                    + QUuid::createUuid().toString(QUuid::WithoutBraces));
    prepareFolderOf(path);
    return path;
}

void AppFolders::prepareFolderOf(const QString &filePath)
{
    const QString folder = QFileInfo(filePath).absolutePath();
    if (QFileInfo(folder).isDir())
        return;
    // The system's reason, which QDir::mkpath() does not give.
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(folder).toStdString()), error);
    if (error || !QFileInfo(folder).isDir()) {
        const QString reason = error ? QString::fromStdString(error.message())
                                     : QString::fromStdString(std::make_error_code(std::errc::not_a_directory).message());
        throw BrivetError(QStringLiteral("The folder %1 could not be created: %2").arg(folder, reason));
    }
    if (QDir::cleanPath(folder) == QDir::cleanPath(temporary()))
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
