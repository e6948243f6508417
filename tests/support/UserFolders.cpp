#include "UserFolders.h"

#include "AppFolders.h"
#include "CloudFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {

std::optional<QByteArray> cloudFolder(const QTemporaryDir &dir, bool withCloud)
{
    if (!withCloud)
        return std::nullopt;
    const QString container = dir.path() + "/cloud";
    QDir().mkpath(container);
    return container.toUtf8();
}

} // namespace

UserFolders::UserFolders(bool withCloud)
    : m_data("XDG_DATA_HOME", (m_dir.path() + "/data").toUtf8()),
      m_cache("XDG_CACHE_HOME", (m_dir.path() + "/cache").toUtf8()),
      m_config("XDG_CONFIG_HOME", (m_dir.path() + "/config").toUtf8()),
      m_cloud(CloudFolder::environmentVariable, cloudFolder(m_dir, withCloud))
{
    // The folders' paths end in the application's name.
    QCoreApplication::setApplicationName(QStringLiteral("Brivet"));
    QCoreApplication::setOrganizationName(QString());
}

QString UserFolders::appDocuments() const
{
    return AppFolders::documents();
}

QString UserFolders::temporary() const
{
    return AppFolders::temporary();
}

QString UserFolders::settingsFile() const
{
    return AppFolders::settingsFile();
}
