#pragma once

#include "SearchRecord.h"
#include "UrlSession.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <qcoro/qcorotask.h>

#include <chrono>
#include <optional>

// The client of the ADS search API: one GET per search carrying the access
// token, newest first, the JSON answer decoded into records. One document
// that does not decode fails the whole answer. Overlapping searches each keep
// their own request and decoding.
//
// Waiting for the network is asynchronous on the calling thread (which needs
// an event loop); decoding runs on a worker thread.
class AdsActor {
public:
    struct AdsPaper;
    struct AdsResponse;

    // The ADS request's own idle limit; the session's 30 seconds still hold.
    static constexpr std::chrono::milliseconds requestTimeout{60'000};

    // The one process-wide instance, made on first use (thread-safely), against
    // Endpoints::adsQueryURL() with Endpoints::adsToken().
    static AdsActor &shared();

    AdsActor(QString baseURL, QString token,
             std::chrono::milliseconds idleTimeout = UrlSession::defaultIdleTimeout);

    const QString &baseURL() const { return m_baseURL; }

    // The request URL: the base with q (the text as given), rows,
    // fl=abstract,author,comment,date,doi,identifier,title and sort=date desc.
    std::optional<QUrl> queryURL(const QString &query, int rows) const;

    // Throws SearchError (invalidURL, invalidResponse, missingData) or the
    // session's TransportError unchanged. Records come in the answer's order.
    QCoro::Task<QList<SearchRecord>> search(QString query, int rows);

private:
    QString m_baseURL;
    QString m_token;
    UrlSession m_session;
};
