#include "ExternalLink.h"

#include "Log.h"
#include "Workspace.h"

bool ExternalLink::isAllowed(Origin origin, const QUrl &url)
{
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return !url.host().isEmpty();
    return origin == Origin::note && scheme == QLatin1String("mailto") && !url.path().isEmpty();
}

bool ExternalLink::open(Origin origin, const QUrl &url)
{
    if (!isAllowed(origin, url)) {
        const QString text = url.toString(QUrl::FullyEncoded);
        if (origin == Origin::webPage)
            brivetLog(u"Brivet: Not opening %@ in the browser: only http and https addresses are opened", {text});
        else
            brivetLog(u"Brivet: Not opening the link %@ of a note: only http, https and mailto links are opened", {text});
        return false;
    }
    return Workspace::shared().open(url);
}
