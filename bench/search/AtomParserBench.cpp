// Parsing arXiv feeds into records, beside a bare expat pass with empty
// handlers over the same bytes, so the two throughputs can be compared.
#include "AtomParser.h"
#include "Log.h"
#include "Paper.h"

#include <QFile>
#include <benchmark/benchmark.h>
#include <expat.h>

namespace {

QByteArray realFeed()
{
    QFile file(QStringLiteral(BRIVET_TEST_DATA_DIR "/arxiv/arxivpy_2026-04_newapi_search_testing_start0_max100.xml"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing feed");
    return file.readAll();
}

// The real feed's entries repeated until the document is at least 10 MB.
QByteArray bigFeed()
{
    const QByteArray feed = realFeed();
    const qsizetype first = feed.indexOf("<entry>");
    const qsizetype last = feed.lastIndexOf("</entry>") + qsizetype(sizeof("</entry>") - 1);
    const QByteArray head = feed.left(first), entries = feed.mid(first, last - first), tail = feed.mid(last);
    QByteArray big = head;
    while (big.size() < 10'000'000)
        big += entries;
    return big + tail;
}

void XMLCALL noStart(void *, const XML_Char *, const XML_Char **) {}
void XMLCALL noEnd(void *, const XML_Char *) {}
void XMLCALL noText(void *, const XML_Char *, int) {}

void bareExpat(benchmark::State &state, const QByteArray &xml)
{
    for (auto _ : state) {
        XML_Parser parser = XML_ParserCreate(nullptr);
        XML_SetElementHandler(parser, noStart, noEnd);
        XML_SetCharacterDataHandler(parser, noText);
        if (XML_Parse(parser, xml.constData(), int(xml.size()), 1) != XML_STATUS_OK)
            state.SkipWithError("not well-formed");
        XML_ParserFree(parser);
    }
    state.SetBytesProcessed(state.iterations() * xml.size());
}

void atomParser(benchmark::State &state, const QByteArray &xml)
{
    // The log lines are formatted as usual but not written to the terminal.
    const LogSink previous = setLogSink([](const QString &) {});
    qsizetype papers = 0;
    const bool timeFreeing = state.range(0) != 0;
    for (auto _ : state) {
        QList<SearchRecord> records;
        {
            ArxivActor::AtomParser parser;
            records = parser.parse(xml);
        }
        papers = records.size();
        benchmark::DoNotOptimize(records.constData());
        // The caller keeps the records; freeing them is not part of parsing
        // unless asked for.
        if (!timeFreeing)
            state.PauseTiming();
        records = {};
        if (!timeFreeing)
            state.ResumeTiming();
    }
    setLogSink(previous);
    state.SetBytesProcessed(state.iterations() * xml.size());
    state.counters["papers"] = double(papers);
}

const QByteArray &feed100() { static const QByteArray f = realFeed(); return f; }
const QByteArray &feed10MB() { static const QByteArray f = bigFeed(); return f; }

void BM_BareExpat_Feed100(benchmark::State &s) { bareExpat(s, feed100()); }
void BM_AtomParser_Feed100(benchmark::State &s) { atomParser(s, feed100()); }
void BM_BareExpat_Feed10MB(benchmark::State &s) { bareExpat(s, feed10MB()); }
void BM_AtomParser_Feed10MB(benchmark::State &s) { atomParser(s, feed10MB()); }

// The GUI-thread share of a search: paper objects made from the parsed records.
void BM_MakePapers_Feed100(benchmark::State &state)
{
    const LogSink previous = setLogSink([](const QString &) {});
    ArxivActor::AtomParser parser;
    const QList<SearchRecord> records = parser.parse(feed100());
    setLogSink(previous);
    for (auto _ : state) {
        QList<PaperPtr> papers;
        papers.reserve(records.size());
        for (const SearchRecord &r : records)
            papers.append(std::make_shared<Paper>(r.id, r.title, r.summary, r.authors, r.published, r.doi, r.url,
                                                  r.pdfURL, r.comment, r.notes));
        benchmark::DoNotOptimize(papers.constData());
    }
    state.SetItemsProcessed(state.iterations() * records.size());
}

} // namespace

BENCHMARK(BM_MakePapers_Feed100);
BENCHMARK(BM_BareExpat_Feed100);
// Argument: 1 when the time to free the records counts too.
BENCHMARK(BM_AtomParser_Feed100)->Arg(0)->Arg(1);
BENCHMARK(BM_BareExpat_Feed10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AtomParser_Feed10MB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
