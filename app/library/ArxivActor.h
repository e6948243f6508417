#pragma once

#include "SearchRecord.h"
#include "UrlSession.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <qcoro/qcorotask.h>

#include <chrono>
#include <optional>

// The client of the arXiv export API: one GET per search, newest submissions
// first, the Atom answer parsed into records. It keeps no results between
// searches; overlapping searches each keep their own request and parser.
//
// Waiting for the network is asynchronous on the calling thread (which needs
// an event loop); parsing runs on a worker thread.
class ArxivActor {
public:
    class AtomParser;

    // The one process-wide instance, made on first use (thread-safely), against
    // Endpoints::arxivQueryURL() with a 30-second idle time-out.
    static ArxivActor &shared();

    explicit ArxivActor(QString baseURL,
                        std::chrono::milliseconds idleTimeout = UrlSession::defaultIdleTimeout);

    const QString &baseURL() const { return m_baseURL; }

    // The request URL for a search: the base with search_query (the text as
    // given), max_results, sortBy=submittedDate and sortOrder=descending.
    // Nothing when the base URL does not form a URL.
    std::optional<QUrl> queryURL(const QString &query, int maxResults) const;

    // Throws SearchError (invalidURL, invalidResponse, parsingError) or the
    // session's TransportError unchanged. Records come in feed order.
    QCoro::Task<QList<SearchRecord>> search(QString query, int maxResults);

private:
    QString m_baseURL;
    UrlSession m_session;
};
