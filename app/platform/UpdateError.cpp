#include "UpdateError.h"

UpdateError UpdateError::invalidFeedAddress(const QString &address)
{
    return UpdateError(QStringLiteral("The update feed address \u201c%1\u201d is not an HTTP or HTTPS address.").arg(address));
}

UpdateError UpdateError::httpStatus(int status)
{
    return UpdateError(QStringLiteral("The update server answered with HTTP status %1.").arg(status));
}

UpdateError UpdateError::notXml(const QString &reason)
{
    return UpdateError(QStringLiteral("The update feed is not a valid XML document: %1.").arg(reason));
}

UpdateError UpdateError::notRss()
{
    return UpdateError(QStringLiteral("The update feed is not an RSS document."));
}

UpdateError UpdateError::noItems()
{
    return UpdateError(QStringLiteral("The update feed lists no versions."));
}

UpdateError UpdateError::noUsableItem()
{
    return UpdateError(QStringLiteral("The update feed lists no version that Brivet can read."));
}
