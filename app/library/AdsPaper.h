#pragma once

#include "AdsActor.h"
#include "SearchRecord.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

// One document of an ADS answer, decoded by hand: the service's array-valued
// fields become single values, and the identifier list yields the paper id,
// the PDF address and the abstract page.
struct AdsActor::AdsPaper {
    QString id;
    QString title;
    QString summary;
    QStringList authors;
    QDateTime published;
    std::optional<QString> doi;
    QUrl url;
    std::optional<QUrl> pdfURL;
    std::optional<QString> comment;

    // Throws SearchError::missingData when a required key is missing or null,
    // a value has the wrong JSON type, the date is not an internet date-time,
    // or "identifier" or "title" is an empty array.
    static AdsPaper decode(const QJsonObject &document);

    SearchRecord toRecord() const;
};
