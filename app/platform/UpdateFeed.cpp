#include "UpdateFeed.h"

#include "UpdateError.h"
#include "UpdateFeedParser.h"
#include "WorkerThread.h"

#include <qcoro/qcorofuture.h>

UpdateFeed::UpdateFeed(QString address, std::chrono::milliseconds idleTimeout, qint64 maximumSize)
    : m_address(std::move(address)), m_session(idleTimeout, maximumSize)
{
}

QCoro::Task<UpdateFeedItem> UpdateFeed::newestItem()
{
    const std::optional<QUrl> url = webAddress(m_address);
    if (!url)
        throw UpdateError::invalidFeedAddress(m_address);

    const HttpResponse response = co_await m_session.get(*url);
    if (!response.isSuccess())
        throw UpdateError::httpStatus(response.statusCode);

    auto parsing = runOnWorkerThread([body = response.body] {
        UpdateFeedParser parser;
        return parser.parse(body);
    });
    const QList<UpdateFeedItem> items = (co_await parsing)->take();
    co_return newestOf(items);
}

const UpdateFeedItem &UpdateFeed::newestOf(const QList<UpdateFeedItem> &items)
{
    const UpdateFeedItem *newest = &items.front();
    for (const UpdateFeedItem &item : items) {
        if (item.version > newest->version)
            newest = &item;
    }
    return *newest;
}

std::optional<QUrl> UpdateFeed::webAddress(const QString &text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || (url.scheme() != u"https" && url.scheme() != u"http"))
        return std::nullopt;
    return url;
}
