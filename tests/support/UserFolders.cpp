#include "UserFolders.h"

#include "AppFolders.h"
#include "CloudFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
const char *const variables[3] = {"XDG_DATA_HOME", "XDG_CACHE_HOME", CloudFolder::environmentVariable};
}

UserFolders::UserFolders(bool withCloud)
{
    QCoreApplication::setApplicationName(QStringLiteral("Brivet"));
    QCoreApplication::setOrganizationName(QString());
    for (int i = 0; i < 3; ++i) {
        if (qEnvironmentVariableIsSet(variables[i]))
            m_saved[i] = qgetenv(variables[i]);
    }
    qputenv("XDG_DATA_HOME", (root() + "/data").toUtf8());
    qputenv("XDG_CACHE_HOME", (root() + "/cache").toUtf8());
    if (withCloud) {
        QDir().mkpath(cloudContainer());
        qputenv(CloudFolder::environmentVariable, cloudContainer().toUtf8());
    } else {
        qunsetenv(CloudFolder::environmentVariable);
    }
}

UserFolders::~UserFolders()
{
    for (int i = 0; i < 3; ++i) {
        if (m_saved[i])
            qputenv(variables[i], *m_saved[i]);
        else
            qunsetenv(variables[i]);
    }
}

QString UserFolders::appDocuments() const
{
    return AppFolders::documents();
}

QString UserFolders::temporary() const
{
    return AppFolders::temporary();
}
