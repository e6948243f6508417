#include "UserFolders.h"

#include "AppFolders.h"
#include "CloudFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {

std::optional<QByteArray> madeContainer(bool withCloud, const QString &path)
{
    if (!withCloud)
        return std::nullopt;
    QDir().mkpath(path);
    return path.toUtf8();
}

} // namespace

UserFolders::UserFolders(bool withCloud)
    : m_data("XDG_DATA_HOME", (root() + "/data").toUtf8()),
      m_cache("XDG_CACHE_HOME", (root() + "/cache").toUtf8()),
      m_cloud(CloudFolder::environmentVariable, madeContainer(withCloud, cloudContainer()))
{
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
