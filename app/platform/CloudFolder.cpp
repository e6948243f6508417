#include "CloudFolder.h"

#include <QDir>
#include <QFileInfo>

bool CloudFolder::hasIdentity()
{
    return !qEnvironmentVariable(environmentVariable).isEmpty();
}

std::optional<QString> CloudFolder::container()
{
    const QString path = qEnvironmentVariable(environmentVariable);
    if (path.isEmpty())
        return std::nullopt;
    const QFileInfo info(path);
    if (!info.isDir())
        return std::nullopt;
    return QDir::cleanPath(info.absoluteFilePath());
}
