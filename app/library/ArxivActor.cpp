#include "ArxivActor.h"

#include "AtomParser.h"
#include "Endpoints.h"
#include "Log.h"
#include "SearchError.h"
#include "UrlQuery.h"
#include "WorkerThread.h"

#include <qcoro/qcorofuture.h>

ArxivActor &ArxivActor::shared()
{
    // A function-local static: made once, safely, whoever asks first.
    static ArxivActor instance(Endpoints::arxivQueryURL());
    return instance;
}

ArxivActor::ArxivActor(QString baseURL, std::chrono::milliseconds idleTimeout)
    : m_baseURL(std::move(baseURL)), m_session(idleTimeout)
{
}

std::optional<QUrl> ArxivActor::queryURL(const QString &query, int maxResults) const
{
    return UrlQuery::withItems(m_baseURL, {
                                              {QStringLiteral("search_query"), query},
                                              {QStringLiteral("max_results"), QString::number(maxResults)},
                                              {QStringLiteral("sortBy"), QStringLiteral("submittedDate")},
                                              {QStringLiteral("sortOrder"), QStringLiteral("descending")},
                                          });
}

QCoro::Task<QList<SearchRecord>> ArxivActor::search(QString query, int maxResults)
{
    const std::optional<QUrl> url = queryURL(query, maxResults);
    if (!url)
        throw SearchError::invalidURL();
    brivetLog(u"Brivet: ArXiv request URL: %@", {QString::fromUtf8(url->toEncoded())});

    const HttpResponse response = co_await m_session.get(*url);
    if (!response.isHttp() || !response.isSuccess()) {
        brivetLog(u"Brivet: ArXiv HTTP error: %d", {response.statusCode});
        throw SearchError::invalidResponse();
    }
    brivetLog(u"Brivet: ArXiv response: %d bytes, status: %d", {response.body.size(), response.statusCode});

    auto parsing = runOnWorkerThread([body = response.body] {
        AtomParser parser;
        return parser.parse(body);
    });
    QList<SearchRecord> papers = (co_await parsing)->take();
    brivetLog(u"Brivet: Parsed %d papers from ArXiv XML", {papers.size()});
    co_return papers;
}
