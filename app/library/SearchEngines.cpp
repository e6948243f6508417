#include "SearchEngines.h"

#include "AdsActor.h"
#include "ArxivActor.h"
#include "SearchRecord.h"

#include <memory>

namespace {

constexpr int resultCount = 100;

// Made here, on the thread that started the search, from the records the
// client built on its worker thread.
QList<PaperPtr> makePapers(const QList<SearchRecord> &records)
{
    QList<PaperPtr> papers;
    papers.reserve(records.size());
    for (const SearchRecord &r : records)
        papers.append(std::make_shared<Paper>(r.id, r.title, r.summary, r.authors, r.published, r.doi, r.url,
                                              r.pdfURL, r.comment, r.notes));
    return papers;
}

QCoro::Task<QList<PaperPtr>> searchArxiv(QString text)
{
    const QList<SearchRecord> records = co_await ArxivActor::shared().search(std::move(text), resultCount);
    co_return makePapers(records);
}

QCoro::Task<QList<PaperPtr>> searchAds(QString text)
{
    const QList<SearchRecord> records = co_await AdsActor::shared().search(std::move(text), resultCount);
    co_return makePapers(records);
}

} // namespace

QUuid arxivEngineId()
{
    return QUuid(QStringLiteral("80169889-bb67-4577-b477-1db120c1062d"));
}

QUuid adsEngineId()
{
    return QUuid(QStringLiteral("46234a1b-de6a-40ea-8914-20d7d4b11541"));
}

bool isSearchEngine(const QUuid &id)
{
    return id == arxivEngineId() || id == adsEngineId();
}

const QList<SearchEngine *> &searchEngines()
{
    // Function-local statics are initialised once, thread-safely.
    static SearchEngine arxiv(arxivEngineId(), QStringLiteral("ArXiv"), QStringLiteral("stroke.line.diagonal.slash"),
                              searchArxiv);
    static SearchEngine ads(adsEngineId(), QStringLiteral("ADS"), QStringLiteral("text.magnifyingglass"), searchAds);
    static const QList<SearchEngine *> engines{&arxiv, &ads};
    return engines;
}
