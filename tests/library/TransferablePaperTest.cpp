#include "BrivetError.h"
#include "PaperList.h"
#include "TransferablePaper.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

QDateTime utc(int year, int month, int day, int ms = 0)
{
    return QDateTime(QDate(year, month, day), QTime(0, 0), QTimeZone::utc()).addMSecs(ms);
}

QJsonObject jsonOf(const TransferablePaper &paper)
{
    return QJsonDocument::fromJson(paper.toJson()).object();
}

QByteArray minimalJson(const QString &extra = {})
{
    return QStringLiteral(R"({"id":"2301.00001","title":"T","summary":"S","authors":["A","B"],)"
                          R"("published":86400.5,"url":"https://arxiv.org/abs/2301.00001","notes":"")")
               .append(extra)
               .append(QLatin1Char('}'))
               .toUtf8();
}

} // namespace

TEST(TransferablePaper, WritesTheTenFieldsAndLeavesOutNone)
{
    Paper paper(QStringLiteral("2301.00001"), QStringLiteral("Title"), QStringLiteral("Summary"),
                {QStringLiteral("A"), QStringLiteral("B")}, utc(2001, 1, 1), std::nullopt,
                QUrl(QStringLiteral("https://arxiv.org/abs/2301.00001")), std::nullopt, std::nullopt,
                QStringLiteral("my note"));
    const QJsonObject json = jsonOf(TransferablePaper(paper));
    EXPECT_EQ(json.keys(), (QStringList{"authors", "id", "notes", "published", "summary", "title", "url"}));
    EXPECT_EQ(json.value("published").toDouble(), 0.0);
    EXPECT_EQ(json.value("url").toString(), QStringLiteral("https://arxiv.org/abs/2301.00001"));
    EXPECT_EQ(json.value("notes").toString(), QStringLiteral("my note"));
    EXPECT_EQ(QByteArray(TransferablePaper::mimeType), QByteArrayLiteral("com.quendo.brivet.paper"));

    paper.setPublished(utc(2001, 1, 2));
    EXPECT_EQ(jsonOf(TransferablePaper(paper)).value("published").toDouble(), 86400.0);
    paper.setPublished(utc(2000, 12, 31, 500));
    EXPECT_EQ(jsonOf(TransferablePaper(paper)).value("published").toDouble(), -86399.5);

    paper.setDoi(QStringLiteral("10.1/x"));
    paper.setPdfURL(QUrl(QStringLiteral("https://arxiv.org/pdf/2301.00001")));
    paper.setComment(QStringLiteral("12 pages"));
    const QJsonObject full = jsonOf(TransferablePaper(paper));
    EXPECT_EQ(full.value("doi").toString(), QStringLiteral("10.1/x"));
    EXPECT_EQ(full.value("pdfURL").toString(), QStringLiteral("https://arxiv.org/pdf/2301.00001"));
    EXPECT_EQ(full.value("comment").toString(), QStringLiteral("12 pages"));
}

TEST(TransferablePaper, RoundTripMakesAFreshPaperWithNoLists)
{
    auto paper = std::make_shared<Paper>(
        QStringLiteral("astro-ph/0601001"), QStringLiteral("Ünïcode title"), QStringLiteral("long ").repeated(500),
        QStringList{QStringLiteral("Ä"), QStringLiteral("B")}, utc(1999, 3, 4, 123), QStringLiteral("10.1/y"),
        QUrl(QStringLiteral("http://arxiv.org/abs/astro-ph/0601001")),
        QUrl(QStringLiteral("http://arxiv.org/pdf/astro-ph/0601001v1")), QStringLiteral("comment"),
        QStringLiteral("# Note\n$x$"));
    PaperList one, two;
    paper->addToList(&one);
    paper->addToList(&two);

    const TransferablePaper value(*paper);
    const TransferablePaper decoded = TransferablePaper::fromJson(value.toJson());
    EXPECT_EQ(decoded, value);
    const PaperPtr made = decoded.toPaper();
    EXPECT_NE(made, paper);
    EXPECT_EQ(made->id(), paper->id());
    EXPECT_EQ(made->published(), paper->published());
    EXPECT_EQ(made->notes(), paper->notes());
    EXPECT_EQ(made->pdfURL(), paper->pdfURL());
    EXPECT_TRUE(made->inLists()->isEmpty());
    EXPECT_EQ(made->modelContext(), nullptr);
}

TEST(TransferablePaper, ReadsNullAsNoneAndIgnoresUnknownKeys)
{
    const TransferablePaper paper = TransferablePaper::fromJson(
        minimalJson(QStringLiteral(R"(,"doi":null,"pdfURL":null,"comment":null,"inLists":[1,2],"x":{"y":1})")));
    EXPECT_EQ(paper.doi, std::nullopt);
    EXPECT_EQ(paper.pdfURL, std::nullopt);
    EXPECT_EQ(paper.comment, std::nullopt);
    EXPECT_EQ(paper.published, utc(2001, 1, 2, 500));
    EXPECT_EQ(paper.authors, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
}

TEST(TransferablePaper, MalformedInputIsAnErrorWithAReadableDescription)
{
    const QList<QPair<QByteArray, QString>> cases{
        {"", QStringLiteral("not valid JSON")},
        {"{\"id\":", QStringLiteral("not valid JSON")},
        {"[1,2]", QStringLiteral("not a JSON object")},
        {R"({"title":"T","summary":"S","authors":[],"published":0,"url":"https://a.b","notes":""})",
         QStringLiteral("\"id\" is missing")},
        {minimalJson().replace("\"title\":\"T\"", "\"title\":null"), QStringLiteral("\"title\" is missing")},
        {minimalJson().replace("\"notes\":\"\"", "\"notes\":5"), QStringLiteral("\"notes\" is not text")},
        {minimalJson().replace("[\"A\",\"B\"]", "\"A, B\""), QStringLiteral("\"authors\" is not a list")},
        {minimalJson().replace("[\"A\",\"B\"]", "[\"A\",7]"), QStringLiteral("an author is not text")},
        {minimalJson().replace("86400.5", "\"2001-01-02\""), QStringLiteral("\"published\" is not a number")},
        {minimalJson().replace("86400.5", "1e300"), QStringLiteral("\"published\" is not a date")},
        {minimalJson().replace("https://arxiv.org/abs/2301.00001", ""), QStringLiteral("\"url\" is not a URL")},
        {minimalJson().replace("https://arxiv.org/abs/2301.00001", "http://[::1"), QStringLiteral("\"url\" is not a URL")},
        {minimalJson(QStringLiteral(R"(,"pdfURL":"http://exa mple.org/x.pdf")")), QStringLiteral("\"pdfURL\" is not a URL")},
        {minimalJson(QStringLiteral(R"(,"doi":12)")), QStringLiteral("\"doi\" is not text")},
    };
    for (const auto &[json, expected] : cases) {
        SCOPED_TRACE(json.toStdString());
        try {
            TransferablePaper::fromJson(json);
            ADD_FAILURE() << "decoded";
        } catch (const BrivetError &error) {
            EXPECT_TRUE(error.description().startsWith(QStringLiteral("The dropped paper could not be read: ")));
            EXPECT_TRUE(error.description().contains(expected)) << error.description().toStdString();
        }
    }
}
