#include "AdsResponse.h"

#include "SearchError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

AdsActor::AdsResponse AdsActor::AdsResponse::decode(QByteArrayView json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw SearchError::missingData();
    const QJsonValue response = document.object().value(QLatin1StringView("response"));
    if (!response.isObject())
        throw SearchError::missingData();
    const QJsonValue docs = response.toObject().value(QLatin1StringView("docs"));
    if (!docs.isArray())
        throw SearchError::missingData();

    AdsResponse decoded;
    const QJsonArray array = docs.toArray();
    decoded.response.docs.reserve(array.size());
    for (const QJsonValue &doc : array) {
        if (!doc.isObject())
            throw SearchError::missingData();
        decoded.response.docs.append(AdsPaper::decode(doc.toObject()));
    }
    return decoded;
}
