#include "SystemWorkspace.h"

#include <QProcess>

bool SystemWorkspace::open(const QUrl &url)
{
    if (!url.isValid())
        return false;
    // One argument and no shell, so a URL can never smuggle in a command.
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}
