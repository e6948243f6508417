#include "AdsActor.h"
#include "AwaitTask.h"
#include "Endpoints.h"
#include "LocalHttpServer.h"
#include "LogCapture.h"
#include "QtPrinters.h"
#include "SearchError.h"
#include "TestMain.h"
#include "TransportError.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

QByteArray realAnswer(const QString &name)
{
    QFile file(QStringLiteral(BRIVET_REALDATA_DIR "/ads/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

const QString token = QStringLiteral("Zt9Lm4Qa7Rw2Xc8Vb5Nk1Hj6Gf3Ds0Pe9Ou4Iy7T");
const QByteArray emptyAnswer = R"({"responseHeader":{"status":0},"response":{"numFound":0,"start":0,"docs":[]}})";

class AdsActorTest : public ::testing::Test {
protected:
    QCoreApplication &app = testApp(); // before the server: sockets need the application
    LocalHttpServer server;
    AdsActor actor{server.url("/v1/search/query").toString(), token, 5s};
    LogCapture log;

    QList<SearchRecord> search(const QString &text) { return awaitTask(actor.search(text, 100)); }

    SearchError::Kind failureKind(const QString &text)
    {
        try {
            search(text);
        } catch (const SearchError &e) {
            return e.kind();
        }
        throw std::runtime_error("no SearchError");
    }
};

} // namespace

TEST_F(AdsActorTest, SendsTheQueryItemsInOrderWithTheBearerToken)
{
    server.setResponse({.body = emptyAnswer});
    const QString text = QString::fromUtf8("author:\"Martínez, A\" year:2018-2020 +refereed&x=1#y");
    EXPECT_TRUE(search(text).isEmpty());
    ASSERT_EQ(server.requests().size(), 1);
    const auto &request = server.requests().first();
    EXPECT_EQ(request.path, "/v1/search/query");
    EXPECT_EQ(request.rawQuery, "q=author:%22Mart%C3%ADnez,%20A%22%20year:2018-2020%20+refereed%26x%3D1%23y"
                                "&rows=100&fl=abstract,author,comment,date,doi,identifier,title&sort=date%20desc");
    const QList<std::pair<QString, QString>> items = {
        {"q", text}, {"rows", "100"}, {"fl", "abstract,author,comment,date,doi,identifier,title"}, {"sort", "date desc"}};
    EXPECT_EQ(request.queryItems, items);
    EXPECT_EQ(request.header("Authorization"), "Bearer " + token.toUtf8());
    EXPECT_EQ(log.lines(), (QStringList{
                               "Brivet: ADS request URL: " + server.url("/v1/search/query").toString() + "?" +
                                   QString::fromLatin1(request.rawQuery),
                               QStringLiteral("Brivet: ADS response: %1 bytes, status: 200").arg(emptyAnswer.size()),
                               "Brivet: Parsed 0 papers from ADS JSON",
                           }));
}

TEST_F(AdsActorTest, TheTokenNeverReachesTheLog)
{
    server.setResponse({.status = 401, .body = R"({"error":"Unauthorized"})"});
    EXPECT_EQ(failureKind(token), SearchError::Kind::InvalidResponse);
    EXPECT_EQ(log.lines().last(), "Brivet: ADS HTTP error: 401");
    for (const QString &line : log.lines())
        EXPECT_FALSE(line.contains(token)) << line.toStdString();
    EXPECT_TRUE(log.lines().first().contains("<redacted>"));
}

TEST_F(AdsActorTest, ReturnsExactlyTheServedDocuments)
{
    const QByteArray body = realAnswer("export_service_data_4_publisher_fl_all_date_comment.json");
    server.setResponse({.body = body});
    const auto papers = search("bibcode:2025romanrept..742B");
    ASSERT_EQ(papers.size(), 1);
    EXPECT_EQ(papers.first().id, "2025romanrept..742B");
    EXPECT_EQ(papers.first().url, QUrl("https://ui.adsabs.harvard.edu/abs/2025romanrept..742B/abstract"));
    EXPECT_EQ(log.lines().last(), "Brivet: Parsed 1 papers from ADS JSON");
}

TEST_F(AdsActorTest, OneUndecodableDocumentFailsTheSearch)
{
    server.setResponse({.body = realAnswer("andycasey-ads_2015_first_author_sudilovsky_28docs.json")});
    EXPECT_EQ(failureKind("x"), SearchError::Kind::MissingData);
    EXPECT_TRUE(log.linesStartingWith("Brivet: Parsed").isEmpty());
    EXPECT_EQ(log.linesStartingWith("Brivet: ADS response:").size(), 1);
    server.setResponse({.body = "<html>maintenance</html>"});
    EXPECT_EQ(failureKind("x"), SearchError::Kind::MissingData);
}

TEST_F(AdsActorTest, StatusAndTransportFailures)
{
    server.setResponse({.status = 500, .body = emptyAnswer});
    EXPECT_EQ(failureKind("x"), SearchError::Kind::InvalidResponse);
    EXPECT_EQ(log.lines().last(), "Brivet: ADS HTTP error: 500");

    // The request's own 60 seconds do not lift the session's shorter limit.
    AdsActor impatient(server.url("/v1/search/query").toString(), token, 200ms);
    server.setResponse({.body = {}, .behaviour = LocalHttpServer::Response::Behaviour::Stall});
    try {
        awaitTask(impatient.search("x", 100));
        FAIL() << "no error";
    } catch (const TransportError &e) {
        EXPECT_EQ(e.kind(), TransportError::Kind::TimedOut);
    }

    AdsActor broken("::not a url::", token);
    try {
        awaitTask(broken.search("x", 100));
        FAIL() << "no error";
    } catch (const SearchError &e) {
        EXPECT_EQ(e.kind(), SearchError::Kind::InvalidURL);
    }
}

TEST(Endpoints, EnvironmentReplacesEndpointsAndToken)
{
    qunsetenv("BRIVET_ARXIV_API_URL");
    qunsetenv("BRIVET_ADS_API_URL");
    qunsetenv("BRIVET_ADS_TOKEN");
    EXPECT_EQ(Endpoints::arxivQueryURL(), "https://export.arxiv.org/api/query");
    EXPECT_EQ(Endpoints::adsQueryURL(), "https://api.adsabs.harvard.edu/v1/search/query");
    const QString builtIn = Endpoints::adsToken();
    EXPECT_EQ(builtIn.size(), 40);
    EXPECT_TRUE(std::all_of(builtIn.begin(), builtIn.end(), [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 128; }));

    qputenv("BRIVET_ARXIV_API_URL", "http://127.0.0.1:1/api/query");
    qputenv("BRIVET_ADS_API_URL", "http://127.0.0.1:2/v1/search/query");
    qputenv("BRIVET_ADS_TOKEN", "mine");
    EXPECT_EQ(Endpoints::arxivQueryURL(), "http://127.0.0.1:1/api/query");
    EXPECT_EQ(Endpoints::adsQueryURL(), "http://127.0.0.1:2/v1/search/query");
    EXPECT_EQ(Endpoints::adsToken(), "mine");

    qputenv("BRIVET_ADS_TOKEN", "");
    EXPECT_EQ(Endpoints::adsToken(), builtIn) << "an empty variable does not count as set";
    qunsetenv("BRIVET_ARXIV_API_URL");
    qunsetenv("BRIVET_ADS_API_URL");
    qunsetenv("BRIVET_ADS_TOKEN");
}
