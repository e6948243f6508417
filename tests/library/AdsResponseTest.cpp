#include "AdsResponse.h"
#include "QtPrinters.h"
#include "SearchError.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

QByteArray realAnswer(const QString &name)
{
    QFile file(QStringLiteral(BRIVET_REALDATA_DIR "/ads/") + name);
    if (!file.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "missing " << name.toStdString();
    return file.readAll();
}

QJsonObject completeDocument()
{
    return QJsonObject{
        {"identifier", QJsonArray{"2020XYZ...1..1A", "arXiv:2001.00001", "arXiv:2001.00002"}},
        {"title", QJsonArray{"First title", "Second title"}},
        {"abstract", "An abstract"},
        {"author", QJsonArray{"Doe, J.", "Roe, R."}},
        {"date", "2020-01-15T00:00:00Z"},
    };
}

QJsonObject with(QJsonObject document, const QString &key, const QJsonValue &value)
{
    if (value.isUndefined())
        document.remove(key);
    else
        document.insert(key, value);
    return document;
}

QByteArray answer(const QJsonArray &docs)
{
    return QJsonDocument(QJsonObject{{"responseHeader", QJsonObject{{"status", 0}}},
                                     {"response", QJsonObject{{"numFound", docs.size()}, {"docs", docs}}}})
        .toJson();
}

bool failsWithMissingData(const QByteArray &json)
{
    try {
        AdsActor::AdsResponse::decode(json);
    } catch (const SearchError &e) {
        return e.kind() == SearchError::Kind::MissingData;
    }
    return false;
}

} // namespace

TEST(AdsResponse, RecordedAnswers)
{
    struct Expectation {
        const char *file;
        int docs;          // documents in the answer
        int decodable;     // documents that decode on their own
    };
    // Most recordings asked for other fields than ours, so one of their documents
    // lacks a required key and the whole answer fails.
    const Expectation expected[] = {
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
    const QStringList onDisk = QDir(QStringLiteral(BRIVET_REALDATA_DIR "/ads")).entryList({"*.json"}, QDir::Files);
    ASSERT_EQ(onDisk.size(), int(std::size(expected))) << "a recording without an expectation";
    for (const auto &e : expected) {
        SCOPED_TRACE(e.file);
        const QByteArray json = realAnswer(e.file);
        const QJsonArray docs = QJsonDocument::fromJson(json)["response"]["docs"].toArray();
        ASSERT_EQ(docs.size(), e.docs);
        int decodable = 0;
        for (const QJsonValue &doc : docs) {
            try {
                AdsActor::AdsPaper::decode(doc.toObject());
                ++decodable;
            } catch (const SearchError &) {
            }
        }
        EXPECT_EQ(decodable, e.decodable);
        if (decodable == e.docs)
            EXPECT_EQ(AdsActor::AdsResponse::decode(json).response.docs.size(), e.docs);
        else
            EXPECT_TRUE(failsWithMissingData(json));
    }
}

TEST(AdsResponse, RecordedDocumentsMapToTheirFields)
{
    const auto report = AdsActor::AdsResponse::decode(realAnswer("export_service_data_4_publisher_fl_all_date_comment.json"));
    ASSERT_EQ(report.response.docs.size(), 1);
    const auto &p = report.response.docs.first();
    EXPECT_EQ(p.id, "2025romanrept..742B");
    EXPECT_EQ(p.title, "Quantifying the Science Performance of Multi-Accumulation (MA) Tables");
    EXPECT_EQ(p.authors, QStringList{"Brandt, Timothy"});
    EXPECT_EQ(p.published, QDateTime(QDate(2025, 1, 1), QTime(0, 0), Qt::UTC));
    EXPECT_FALSE(p.doi);
    EXPECT_FALSE(p.pdfURL);
    EXPECT_EQ(p.url, QUrl("https://ui.adsabs.harvard.edu/abs/2025romanrept..742B/abstract"));
    EXPECT_TRUE(p.comment && p.comment->startsWith("In publications, please refer to this document as: Brandt"));
    EXPECT_TRUE(p.summary.startsWith("The Nancy Grace Roman Space Telescope"));

    // The 2015 answer: the documents with an abstract decode on their own.
    const QJsonArray docs =
        QJsonDocument::fromJson(realAnswer("andycasey-ads_2015_first_author_sudilovsky_28docs.json"))["response"]["docs"].toArray();
    for (const QJsonValue &doc : docs) {
        if (doc["identifier"].toArray().contains("arXiv:1302.6362")) {
            const auto paper = AdsActor::AdsPaper::decode(doc.toObject());
            EXPECT_EQ(paper.id, "1302.6362");
            EXPECT_EQ(paper.pdfURL, QUrl("https://arxiv.org/pdf/1302.6362"));
            EXPECT_EQ(paper.url, QUrl("https://ui.adsabs.harvard.edu/abs/arXiv:1302.6362/abstract"));
            EXPECT_EQ(paper.doi, "10.1051/0004-6361/201321247");
            EXPECT_EQ(paper.title, "Clustering of galaxies around gamma-ray burst sight-lines");
            EXPECT_EQ(paper.authors.size(), 14);
            return;
        }
    }
    FAIL() << "document arXiv:1302.6362 not found";
}

TEST(AdsResponse, IdentifiersGiveIdPdfAndAbstractPage)
{
    struct Case {
        QJsonArray identifiers;
        QString id;
        std::optional<QUrl> pdf;
        QString page;
    };
    const Case cases[] = {
        {{"2020XYZ...1..1A", "arXiv:2001.00001", "arXiv:2001.00002"}, "2001.00001", QUrl("https://arxiv.org/pdf/2001.00001"),
         "https://ui.adsabs.harvard.edu/abs/arXiv:2001.00001/abstract"},
        {{"2020XYZ...1..1A", "10.1000/xyz"}, "2020XYZ...1..1A", std::nullopt,
         "https://ui.adsabs.harvard.edu/abs/2020XYZ...1..1A/abstract"},
        {{"2020XYZ...1..1A", "arxiv:2001.00001"}, "2020XYZ...1..1A", std::nullopt,
         "https://ui.adsabs.harvard.edu/abs/2020XYZ...1..1A/abstract"},
        {{"arXiv:astro-ph/9508159"}, "astro-ph/9508159", QUrl("https://arxiv.org/pdf/astro-ph/9508159"),
         "https://ui.adsabs.harvard.edu/abs/arXiv:astro-ph/9508159/abstract"},
        {{"2000A&A...358..553S"}, "2000A&A...358..553S", std::nullopt,
         "https://ui.adsabs.harvard.edu/abs/2000A&A...358..553S/abstract"},
        // A SICI DOI cannot stand in a URL as it is: its page name is escaped.
        {{"10.1130/0016-7606(1996)108<0195:GCGBPT>2.3.CO;2"}, "10.1130/0016-7606(1996)108<0195:GCGBPT>2.3.CO;2",
         std::nullopt, "https://ui.adsabs.harvard.edu/abs/10.1130/0016-7606(1996)108%3C0195:GCGBPT%3E2.3.CO;2/abstract"},
        // An arXiv id that forms no URL gives no PDF address, and that is no failure.
        {{"arXiv:bad id"}, "bad id", std::nullopt, "https://ui.adsabs.harvard.edu/abs/arXiv:bad%20id/abstract"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.id.toStdString());
        const auto paper = AdsActor::AdsPaper::decode(with(completeDocument(), "identifier", c.identifiers));
        EXPECT_EQ(paper.id, c.id);
        EXPECT_EQ(paper.pdfURL, c.pdf);
        EXPECT_EQ(QString::fromUtf8(paper.url.toEncoded()), c.page);
    }
}

TEST(AdsResponse, OptionalAndArrayFields)
{
    const auto decode = [](const QString &key, const QJsonValue &value) {
        return AdsActor::AdsPaper::decode(with(completeDocument(), key, value));
    };
    EXPECT_EQ(decode("title", QJsonArray{"First", "Second"}).title, "First");
    EXPECT_FALSE(decode("doi", QJsonArray{}).doi);
    EXPECT_FALSE(decode("doi", QJsonValue::Null).doi);
    EXPECT_EQ(decode("doi", QJsonArray{"10.1/a", "10.1/b"}).doi, "10.1/a");
    EXPECT_EQ(decode("comment", QJsonArray{"10 pages", "2 figures"}).comment, "10 pages, 2 figures");
    EXPECT_EQ(decode("comment", QJsonArray{}).comment, "");
    EXPECT_FALSE(decode("comment", QJsonValue::Null).comment);
    EXPECT_FALSE(AdsActor::AdsPaper::decode(completeDocument()).comment);
    EXPECT_TRUE(decode("author", QJsonArray{}).authors.isEmpty());
    EXPECT_EQ(decode("date", "2020-01-15T00:00:00+02:00").published, QDateTime(QDate(2020, 1, 14), QTime(22, 0), Qt::UTC));
    const auto record = AdsActor::AdsPaper::decode(completeDocument()).toRecord();
    EXPECT_EQ(record.authors, (QStringList{"Doe, J.", "Roe, R."}));
    EXPECT_TRUE(record.notes.isEmpty());
}

TEST(AdsResponse, OneBadDocumentFailsTheWholeAnswer)
{
    struct Case {
        const char *name;
        QString key;
        QJsonValue value; // Undefined removes the key
    };
    const Case cases[] = {
        {"no identifier", "identifier", QJsonValue::Undefined},
        {"empty identifier", "identifier", QJsonArray{}},
        {"identifier not an array", "identifier", "2020XYZ"},
        {"identifier with a number", "identifier", QJsonArray{"a", 1}},
        {"no title", "title", QJsonValue::Undefined},
        {"empty title", "title", QJsonArray{}},
        {"null abstract", "abstract", QJsonValue::Null},
        {"no abstract", "abstract", QJsonValue::Undefined},
        {"abstract an array", "abstract", QJsonArray{"a"}},
        {"no author", "author", QJsonValue::Undefined},
        {"no date", "date", QJsonValue::Undefined},
        {"date with fractional seconds", "date", "2020-01-15T00:00:00.5Z"},
        {"date without time", "date", "2020-01-15"},
        {"date without zone", "date", "2020-01-15T00:00:00"},
        {"doi a string", "doi", "10.1/x"},
        {"comment a string", "comment", "c"},
    };
    for (const Case &c : cases) {
        const QJsonArray docs{completeDocument(), with(completeDocument(), c.key, c.value), completeDocument()};
        EXPECT_TRUE(failsWithMissingData(answer(docs))) << c.name;
    }
    for (const QByteArray &json : {QByteArray("not json"), QByteArray("[]"), QByteArray("{}"),
                                   QByteArray("{\"response\":{}}"), QByteArray("{\"response\":{\"docs\":{}}}"),
                                   QByteArray("{\"response\":{\"docs\":[1]}}"), QByteArray()}) {
        EXPECT_TRUE(failsWithMissingData(json)) << json.toStdString();
    }
    EXPECT_TRUE(AdsActor::AdsResponse::decode(answer({})).response.docs.isEmpty());
    EXPECT_EQ(AdsActor::AdsResponse::decode(answer({completeDocument(), completeDocument()})).response.docs.size(), 2);
}
