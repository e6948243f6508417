#include "Endpoints.h"

#include <QByteArray>

namespace {

QString environmentOr(const char *name, const QString &fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

} // namespace

QString Endpoints::arxivQueryURL()
{
    return environmentOr("BRIVET_ARXIV_API_URL", defaultArxivQueryURL());
}

QString Endpoints::adsQueryURL()
{
    return environmentOr("BRIVET_ADS_API_URL", defaultAdsQueryURL());
}

QString Endpoints::adsToken()
{
    return environmentOr("BRIVET_ADS_TOKEN", defaultAdsToken());
}

QString Endpoints::defaultAdsToken()
{
    return QStringLiteral("Qm7vXr2KpL9sTz4WcY8nHb3JdF6gAe1UoN5iRt0M");
}
