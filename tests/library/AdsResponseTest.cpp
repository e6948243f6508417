#include "AdsResponse.h"
#include "QtPrinters.h"
#include "RealData.h"
#include "SearchError.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

QJsonObject document(const QString &key = {}, const QJsonValue &value = QJsonValue::Undefined)
{
    QJsonObject doc{{"identifier", QJsonArray{"2020XYZ...1..1A", "arXiv:2001.00001", "arXiv:2001.00002"}},
                    {"title", QJsonArray{"First", "Second"}}, {"abstract", "An abstract"},
                    {"author", QJsonArray{"Doe, J.", "Roe, R."}}, {"date", "2020-01-15T00:00:00Z"}};
    if (!key.isEmpty())
        value.isUndefined() ? void(doc.remove(key)) : void(doc.insert(key, value));
    return doc;
}

QByteArray answer(const QJsonArray &docs)
{
    return QJsonDocument(QJsonObject{{"response", QJsonObject{{"numFound", docs.size()}, {"docs", docs}}}}).toJson();
}

template<typename Decode>
bool decodeFailsWithMissingData(Decode decode)
{
    try {
        decode();
    } catch (const SearchError &e) {
        return e.kind() == SearchError::Kind::missingData;
    }
    return false;
}

bool failsWithMissingData(const QByteArray &json)
{
    return decodeFailsWithMissingData([&] { AdsActor::AdsResponse::decode(json); });
}

} // namespace

TEST(AdsResponse, RecordedAnswers)
{
    // Most recordings asked for other fields than ours, so some document lacks a
    // required key and the whole answer fails; `decodable` counts documents that
    // decode on their own.
    struct { const char *file; int docs, decodable; } const expected[] = {
        {"adsabs-dev-api_2018_author_martinez_fl_author_jsontool.json", 1, 0},
        {"adsabs-dev-api_2018_refereed_kurtz_titles_sub_markup.json", 10, 0},
        {"andycasey-ads_2015_first_author_sudilovsky_28docs.json", 28, 4},
        {"astroquery_2018_persson_single_doc_combining_tilde.json", 1, 0},
        {"citation-bot_2022_bigquery_10_bibcodes_sici_doi_missing_author.json", 10, 0},
        {"export_service_data_15_comment_pubnote.json", 3, 0},
        {"export_service_data_24_title_abstract_entities_sub_sup.json", 4, 0},
        {"export_service_data_24docs_22doctypes_comment_mathml.json", 24, 0},
        {"export_service_data_4_publisher_fl_all_date_comment.json", 1, 1},
    };
    ASSERT_EQ(QDir(QStringLiteral(BRIVET_TEST_DATA_DIR "/ads")).entryList({"*.json"}).size(), int(std::size(expected)));
    for (const auto &e : expected) {
        const QByteArray json = realData(QStringLiteral("ads/") + e.file);
        const QJsonArray docs = QJsonDocument::fromJson(json)["response"]["docs"].toArray();
        ASSERT_EQ(docs.size(), e.docs) << e.file;
        const int decodable = std::count_if(docs.begin(), docs.end(), [](const QJsonValue &doc) {
            return !decodeFailsWithMissingData([&] { AdsActor::AdsPaper::decode(doc.toObject()); });
        });
        EXPECT_EQ(decodable, e.decodable) << e.file;
        EXPECT_EQ(failsWithMissingData(json), decodable < e.docs) << e.file;
    }
    const auto p = AdsActor::AdsResponse::decode(realData("ads/export_service_data_4_publisher_fl_all_date_comment.json")).response.docs.first();
    // The mapping of each field is checked on made-up documents below; this is the real date and comment form.
    EXPECT_EQ(p.title, "Quantifying the Science Performance of Multi-Accumulation (MA) Tables");
    EXPECT_EQ(p.published, QDateTime(QDate(2025, 1, 1), QTime(0, 0), Qt::UTC));
    EXPECT_TRUE(p.comment.value_or("").startsWith("In publications, please refer to this document as: Brandt"));
}

TEST(AdsResponse, IdentifiersGiveIdPdfAndAbstractPage)
{
    struct { QJsonArray identifiers; QString id; std::optional<QUrl> pdf; QString page; } const cases[] = {
        {{"2020XYZ...1..1A", "arXiv:2001.00001", "arXiv:2001.00002"}, "2001.00001", QUrl("https://arxiv.org/pdf/2001.00001"),
         "arXiv:2001.00001"},
        {{"2020XYZ...1..1A", "10.1000/xyz"}, "2020XYZ...1..1A", std::nullopt, "2020XYZ...1..1A"},
        {{"2020XYZ...1..1A", "arxiv:2001.00001"}, "2020XYZ...1..1A", std::nullopt, "2020XYZ...1..1A"},
        {{"arXiv:astro-ph/9508159"}, "astro-ph/9508159", QUrl("https://arxiv.org/pdf/astro-ph/9508159"), "arXiv:astro-ph/9508159"},
        {{"2000A&A...358..553S"}, "2000A&A...358..553S", std::nullopt, "2000A&A...358..553S"},
        // A SICI DOI cannot stand in a URL as it is: its page name is escaped.
        {{"10.1130/0016-7606(1996)108<0195:GCGBPT>2.3.CO;2"}, "10.1130/0016-7606(1996)108<0195:GCGBPT>2.3.CO;2",
         std::nullopt, "10.1130/0016-7606(1996)108%3C0195:GCGBPT%3E2.3.CO;2"},
        // An arXiv id that forms no PDF URL leaves the PDF address out, and that is no failure.
        {{"arXiv:bad id"}, "bad id", std::nullopt, "arXiv:bad%20id"},
    };
    for (const auto &c : cases) {
        const auto paper = AdsActor::AdsPaper::decode(document("identifier", c.identifiers));
        EXPECT_EQ(paper.id, c.id);
        EXPECT_EQ(paper.pdfURL, c.pdf) << c.id.toStdString();
        EXPECT_EQ(QString::fromUtf8(paper.url.toEncoded()), "https://ui.adsabs.harvard.edu/abs/" + c.page + "/abstract");
    }
}

TEST(AdsResponse, OptionalAndArrayFields)
{
    const auto decode = [](const QString &key, const QJsonValue &value) { return AdsActor::AdsPaper::decode(document(key, value)); };
    EXPECT_EQ(decode("doi", QJsonArray{"10.1/a", "10.1/b"}).doi, "10.1/a");
    EXPECT_FALSE(decode("doi", QJsonArray{}).doi);
    EXPECT_FALSE(decode("doi", QJsonValue::Null).doi);
    EXPECT_EQ(decode("comment", QJsonArray{"10 pages", "2 figures"}).comment, "10 pages, 2 figures");
    EXPECT_EQ(decode("comment", QJsonArray{}).comment, "");
    EXPECT_FALSE(decode("comment", QJsonValue::Null).comment);
    EXPECT_TRUE(decode("author", QJsonArray{}).authors.isEmpty());
    EXPECT_EQ(decode("date", "2020-01-15T00:00:00+02:00").published, QDateTime(QDate(2020, 1, 14), QTime(22, 0), Qt::UTC));
    const SearchRecord record = AdsActor::AdsPaper::decode(document()).toRecord();
    EXPECT_EQ(record.title, "First");
    EXPECT_EQ(record.authors, (QStringList{"Doe, J.", "Roe, R."}));
    EXPECT_FALSE(record.comment);
}

TEST(AdsResponse, OneBadDocumentFailsTheWholeAnswer)
{
    const std::pair<const char *, QJsonValue> bad[] = {
        {"identifier", QJsonValue::Undefined}, {"identifier", QJsonArray{}}, {"identifier", "x"},
        {"identifier", QJsonArray{"a", 1}}, {"title", QJsonValue::Undefined}, {"title", QJsonArray{}},
        {"abstract", QJsonValue::Null}, {"abstract", QJsonValue::Undefined}, {"author", QJsonValue::Undefined},
        {"date", QJsonValue::Undefined}, {"date", "2020-01-15T00:00:00.5Z"}, {"date", "2020-01-15"},
        {"date", "2020-01-15T00:00:00"}, {"doi", "10.1/x"}, {"comment", "c"},
    };
    for (const auto &[key, value] : bad)
        EXPECT_TRUE(failsWithMissingData(answer({document(), document(key, value), document()}))) << key;
    for (const char *json : {"not json", "[]", "{}", R"({"response":{}})", R"({"response":{"docs":{}}})",
                             R"({"response":{"docs":[1]}})", ""})
        EXPECT_TRUE(failsWithMissingData(json)) << json;
    EXPECT_EQ(AdsActor::AdsResponse::decode(answer({document(), document()})).response.docs.size(), 2);
}
