#include "TransferablePaper.h"

#include "BrivetError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>

#include <cmath>

namespace {

// Dates travel as seconds since this moment.
const QDateTime &referenceDate()
{
    static const QDateTime date(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    return date;
}

[[noreturn]] void fail(const QString &reason)
{
    throw BrivetError(QStringLiteral("The dropped paper could not be read: %1.").arg(reason));
}

QJsonValue required(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull())
        fail(QStringLiteral("the value for \"%1\" is missing").arg(key));
    return value;
}

QString requiredString(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = required(object, key);
    if (!value.isString())
        fail(QStringLiteral("the value for \"%1\" is not text").arg(key));
    return value.toString();
}

std::optional<QString> optionalString(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull())
        return std::nullopt;
    if (!value.isString())
        fail(QStringLiteral("the value for \"%1\" is not text").arg(key));
    return value.toString();
}

QUrl readUrl(const QString &text, const QString &key)
{
    const QUrl url(text, QUrl::StrictMode);
    if (text.isEmpty() || !url.isValid())
        fail(QStringLiteral("the value for \"%1\" is not a URL").arg(key));
    return url;
}

} // namespace

TransferablePaper::TransferablePaper(const Paper &paper)
    : id(paper.id()), title(paper.title()), summary(paper.summary()), authors(paper.authors()),
      published(paper.published()), doi(paper.doi()), url(paper.url()), pdfURL(paper.pdfURL()),
      comment(paper.comment()), notes(paper.notes())
{
}

PaperPtr TransferablePaper::toPaper() const
{
    return std::make_shared<Paper>(id, title, summary, authors, published, doi, url, pdfURL, comment, notes);
}

QByteArray TransferablePaper::toJson() const
{
    QJsonObject object;
    object.insert(QStringLiteral("id"), id);
    object.insert(QStringLiteral("title"), title);
    object.insert(QStringLiteral("summary"), summary);
    object.insert(QStringLiteral("authors"), QJsonArray::fromStringList(authors));
    object.insert(QStringLiteral("published"),
                  double(referenceDate().msecsTo(published)) / 1000.0);
    if (doi)
        object.insert(QStringLiteral("doi"), *doi);
    object.insert(QStringLiteral("url"), url.toString(QUrl::FullyEncoded));
    if (pdfURL)
        object.insert(QStringLiteral("pdfURL"), pdfURL->toString(QUrl::FullyEncoded));
    if (comment)
        object.insert(QStringLiteral("comment"), *comment);
    object.insert(QStringLiteral("notes"), notes);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

TransferablePaper TransferablePaper::fromJson(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        fail(QStringLiteral("it is not valid JSON (%1 at offset %2)").arg(error.errorString()).arg(error.offset));
    if (!document.isObject())
        fail(QStringLiteral("it is not a JSON object"));
    const QJsonObject object = document.object();

    TransferablePaper paper;
    paper.id = requiredString(object, QStringLiteral("id"));
    paper.title = requiredString(object, QStringLiteral("title"));
    paper.summary = requiredString(object, QStringLiteral("summary"));

    const QJsonValue authors = required(object, QStringLiteral("authors"));
    if (!authors.isArray())
        fail(QStringLiteral("the value for \"authors\" is not a list"));
    for (const QJsonValue &author : authors.toArray()) {
        if (!author.isString())
            fail(QStringLiteral("an author is not text"));
        paper.authors.append(author.toString());
    }

    const QJsonValue published = required(object, QStringLiteral("published"));
    if (!published.isDouble())
        fail(QStringLiteral("the value for \"published\" is not a number"));
    const double milliseconds = std::round(published.toDouble() * 1000.0);
    // Far beyond any real date, and beyond what a date can hold.
    if (!std::isfinite(milliseconds) || std::fabs(milliseconds) > 1e17)
        fail(QStringLiteral("the value for \"published\" is not a date"));
    paper.published = referenceDate().addMSecs(qint64(milliseconds));

    paper.doi = optionalString(object, QStringLiteral("doi"));
    paper.url = readUrl(requiredString(object, QStringLiteral("url")), QStringLiteral("url"));
    if (const auto pdf = optionalString(object, QStringLiteral("pdfURL")))
        paper.pdfURL = readUrl(*pdf, QStringLiteral("pdfURL"));
    paper.comment = optionalString(object, QStringLiteral("comment"));
    paper.notes = requiredString(object, QStringLiteral("notes"));
    return paper;
}
