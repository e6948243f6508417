#include "AdsPaper.h"

#include "Endpoints.h"
#include "InternetDate.h"
#include "SearchError.h"

#include <QJsonArray>
#include <QJsonValue>

namespace {

QStringList stringArray(const QJsonValue &value)
{
    if (!value.isArray())
        throw SearchError::missingData();
    const QJsonArray array = value.toArray();
    QStringList strings;
    strings.reserve(array.size());
    for (const QJsonValue &element : array) {
        if (!element.isString())
            throw SearchError::missingData();
        strings.append(element.toString());
    }
    return strings;
}

// Absent and null read as nothing; anything else must be an array of strings.
std::optional<QStringList> optionalStringArray(const QJsonObject &document, QLatin1StringView key)
{
    const QJsonValue value = document.value(key);
    if (value.isUndefined() || value.isNull())
        return std::nullopt;
    return stringArray(value);
}

QString string(const QJsonValue &value)
{
    if (!value.isString())
        throw SearchError::missingData();
    return value.toString();
}

// The abstract page is named by an identifier, which may hold characters a
// URL path cannot (SICI DOIs carry '<' and '>'); those are escaped so that
// every identifier has a page address.
QByteArray pathText(const QString &name)
{
    return QUrl::toPercentEncoding(name, "!$&'()*+,;=:@/");
}

} // namespace

AdsActor::AdsPaper AdsActor::AdsPaper::decode(const QJsonObject &document)
{
    AdsPaper paper;
    const QStringList identifiers = stringArray(document.value(QLatin1StringView("identifier")));
    if (identifiers.isEmpty())
        throw SearchError::missingData();
    QString page = identifiers.first();
    paper.id = identifiers.first();
    for (const QString &identifier : identifiers) {
        if (identifier.startsWith(QLatin1StringView("arXiv:"))) {
            paper.id = identifier.mid(6);
            page = identifier;
            const QUrl pdf(Endpoints::arxivPdfPrefix() + paper.id, QUrl::StrictMode);
            if (pdf.isValid())
                paper.pdfURL = pdf;
            break;
        }
    }
    paper.url = QUrl::fromEncoded(Endpoints::adsAbstractPagePrefix().toUtf8() + pathText(page) + "/abstract",
                                  QUrl::StrictMode);
    if (!paper.url.isValid())
        throw SearchError::missingData();

    const QStringList titles = stringArray(document.value(QLatin1StringView("title")));
    if (titles.isEmpty())
        throw SearchError::missingData();
    paper.title = titles.first();
    paper.summary = string(document.value(QLatin1StringView("abstract")));
    paper.authors = stringArray(document.value(QLatin1StringView("author")));
    const std::optional<QDateTime> date = InternetDate::parse(string(document.value(QLatin1StringView("date"))));
    if (!date)
        throw SearchError::missingData();
    paper.published = *date;
    if (const auto dois = optionalStringArray(document, QLatin1StringView("doi")); dois && !dois->isEmpty())
        paper.doi = dois->first();
    if (const auto comments = optionalStringArray(document, QLatin1StringView("comment")))
        paper.comment = comments->join(QStringLiteral(", "));
    return paper;
}

SearchRecord AdsActor::AdsPaper::toRecord() const
{
    return SearchRecord{id, title, summary, authors, published, doi, url, pdfURL, comment, QString()};
}
