#include "AdsActor.h"

#include "AdsResponse.h"
#include "Endpoints.h"
#include "Log.h"
#include "SearchError.h"
#include "UrlQuery.h"
#include "WorkerThread.h"

#include <qcoro/qcorofuture.h>

AdsActor &AdsActor::shared()
{
    // A function-local static: made once, safely, whoever asks first.
    static AdsActor instance(Endpoints::adsQueryURL(), Endpoints::adsToken());
    return instance;
}

AdsActor::AdsActor(QString baseURL, QString token, std::chrono::milliseconds idleTimeout)
    : m_baseURL(std::move(baseURL)), m_token(std::move(token)), m_session(idleTimeout)
{
    registerLogSecret(m_token);
}

std::optional<QUrl> AdsActor::queryURL(const QString &query, int rows) const
{
    return UrlQuery::withItems(m_baseURL, {
                                              {QStringLiteral("q"), query},
                                              {QStringLiteral("rows"), QString::number(rows)},
                                              {QStringLiteral("fl"), QStringLiteral("abstract,author,comment,date,doi,identifier,title")},
                                              {QStringLiteral("sort"), QStringLiteral("date desc")},
                                          });
}

QCoro::Task<QList<SearchRecord>> AdsActor::search(QString query, int rows)
{
    const std::optional<QUrl> url = queryURL(query, rows);
    if (!url)
        throw SearchError::invalidURL();
    brivetLog(u"Brivet: ADS request URL: %@", {QString::fromUtf8(url->toEncoded())});

    // The only header of the client's own.
    UrlSession::Headers headers;
    headers.append(std::pair(QByteArrayLiteral("Authorization"), QByteArrayLiteral("Bearer ") + m_token.toUtf8()));
    const HttpResponse response = co_await m_session.get(*url, headers, requestTimeout);
    if (!response.isHttp() || !response.isSuccess()) {
        brivetLog(u"Brivet: ADS HTTP error: %d", {response.statusCode});
        throw SearchError::invalidResponse();
    }
    brivetLog(u"Brivet: ADS response: %d bytes, status: %d", {response.body.size(), response.statusCode});

    auto decoding = runOnWorkerThread([body = response.body] {
        const AdsResponse decoded = AdsResponse::decode(body);
        QList<SearchRecord> records;
        records.reserve(decoded.response.docs.size());
        for (const AdsPaper &doc : decoded.response.docs)
            records.append(doc.toRecord());
        return records;
    });
    QList<SearchRecord> papers = (co_await decoding)->take();
    brivetLog(u"Brivet: Parsed %d papers from ADS JSON", {papers.size()});
    co_return papers;
}
