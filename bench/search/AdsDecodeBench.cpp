// Decoding a 100-document ADS answer into records, beside a bare
// QJsonDocument::fromJson of the same bytes.
#include "AdsResponse.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <benchmark/benchmark.h>

namespace {

// 100 real documents: the recorded ones that carry every field we ask for,
// repeated in turn.
QByteArray hundredDocuments()
{
    QFile file(QStringLiteral(BRIVET_TEST_DATA_DIR "/ads/andycasey-ads_2015_first_author_sudilovsky_28docs.json"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing answer");
    QJsonArray complete;
    for (const QJsonValue &doc : QJsonDocument::fromJson(file.readAll())["response"]["docs"].toArray()) {
        try {
            AdsActor::AdsPaper::decode(doc.toObject());
            complete.append(doc);
        } catch (...) {
        }
    }
    QJsonArray docs;
    for (int i = 0; i < 100; ++i)
        docs.append(complete.at(i % complete.size()));
    return QJsonDocument(QJsonObject{{"response", QJsonObject{{"numFound", 100}, {"start", 0}, {"docs", docs}}}})
        .toJson(QJsonDocument::Compact);
}

const QByteArray &answer() { static const QByteArray a = hundredDocuments(); return a; }

void BM_BareFromJson_Ads100(benchmark::State &state)
{
    for (auto _ : state) {
        const QJsonDocument document = QJsonDocument::fromJson(answer());
        benchmark::DoNotOptimize(document.isObject());
    }
    state.SetBytesProcessed(state.iterations() * answer().size());
}

void BM_AdsDecode_Ads100(benchmark::State &state)
{
    qsizetype papers = 0;
    for (auto _ : state) {
        const auto decoded = AdsActor::AdsResponse::decode(answer());
        QList<SearchRecord> records;
        records.reserve(decoded.response.docs.size());
        for (const auto &doc : decoded.response.docs)
            records.append(doc.toRecord());
        papers = records.size();
        benchmark::DoNotOptimize(records.constData());
    }
    state.SetBytesProcessed(state.iterations() * answer().size());
    state.counters["papers"] = double(papers);
}

} // namespace

BENCHMARK(BM_BareFromJson_Ads100);
BENCHMARK(BM_AdsDecode_Ads100);
BENCHMARK_MAIN();
